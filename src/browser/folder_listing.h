#pragma once

#include <string>
#include <vector>

#include "browser/file_mask.h"
#include "browser/folder_entries.h"

namespace tarvelin {

struct FolderListing {
    std::vector<std::string> names;  // raw bytes as on disk, sorted without regard to case
    int error = 0;  // errno of a folder that could not be read; names then holds what was read
};

// The plain files of `folder` that match `mask`: regular files and links to them, never folders or other
// kinds, and never hidden files (names starting with "."). A file matching two patterns appears twice. Names
// are sorted by their folded form, ties broken by their bytes so the order does not depend on the disk.
FolderListing listFolderFiles(const std::string& folder, const FileMask& mask);
// The same of a folder read already.
FolderListing listFolderFiles(const FolderEntries& read, const FileMask& mask);

}  // namespace tarvelin
