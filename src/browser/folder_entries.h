#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace tarvelin {

enum class EntryKind { File, Folder, Other };

struct FolderEntry {
    std::string name;  // raw bytes as on disk; never "." or ".."
    EntryKind kind;    // of a link: of its target; a dangling link is Other
};

struct FolderEntries {
    std::vector<FolderEntry> entries;  // in the order the disk gives them
    int error = 0;  // errno of a folder that could not be read; entries then holds what was read
};

// One pass over the folder; a stat only where the file system leaves the kind open or the entry is a link.
// Answered from memory where a sharing scope or the start-up reading holds the folder.
std::shared_ptr<const FolderEntries> readFolderEntries(const std::string& folder);
// The same pass, always from the disk; `progress`, where given, counts the entries read so far.
FolderEntries readFolderFromDisk(const std::string& folder, std::atomic<size_t>* progress = nullptr);

// While one lives on this thread, the folder last read is kept and a second reading of it is answered from
// memory: the folder tree and the file list that show one folder together ask the disk once.
class SharedFolderReading {
public:
    SharedFolderReading();
    ~SharedFolderReading();
    SharedFolderReading(const SharedFolderReading&) = delete;
    SharedFolderReading& operator=(const SharedFolderReading&) = delete;

private:
    friend std::shared_ptr<const FolderEntries> readFolderEntries(const std::string& folder);

    SharedFolderReading* m_outer;
    std::string m_folder;
    std::shared_ptr<const FolderEntries> m_entries;
};

}  // namespace tarvelin
