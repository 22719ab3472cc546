#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelin {

enum class ReadStatus { Ok, Missing, Failed, TooLarge };

struct FileBytes {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;
};

// Reads a whole file; never more than maxBytes (a larger file is TooLarge and nothing is kept).
FileBytes readFileBytes(const std::string& path, size_t maxBytes);

// Replaces the file with `bytes` through a temporary file in the same folder and a rename, so readers see the
// old or the new file and never a part of one. A link is followed and its target replaced. Keeps the file's
// permission bits. Returns false (and leaves the old file untouched) on any failure.
bool replaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tarvelin
