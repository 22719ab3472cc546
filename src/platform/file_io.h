#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct stat;

namespace tarvelin {

enum class ReadStatus { Ok, Missing, Failed, TooLarge };

// What tells one version of a file from another: a program that writes it changes its time or size, and one
// that replaces it (as editors and this program do) changes its inode.
struct FileStamp {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp fileStampOf(const struct ::stat& st);
// The stamp of the file at `path` (links followed); none when nothing is there or it cannot be asked.
std::optional<FileStamp> fileStamp(const std::string& path);

struct FileBytes {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;
    FileStamp stamp;  // of the file read, when Ok
};

// Opens a file for reading only when it is a regular file: a FIFO, socket or device is refused at once
// instead of waiting for a writer, and never becomes the program's controlling terminal. Returns the
// descriptor, which the caller closes, or -1 with errno: ENOENT or ENOTDIR when nothing is there, EISDIR for
// a folder, EINVAL for any other kind of file, else the system's reason.
int openRegularFile(const std::string& path);

// Reads a whole regular file; never more than maxBytes (a larger file is TooLarge and nothing is kept). A
// file that is not a regular file is Failed.
FileBytes readFileBytes(const std::string& path, size_t maxBytes);

// Replaces the content of the file at `path` with `bytes` so that a crash or a full disk at any moment leaves
// the old or the new content whole, and the file stays the file it was:
// - a file this user may not write, or that is not a regular file, is refused and left untouched (root is
//   refused a file without any write bit, as careful editors do);
// - a symbolic link is followed to its target, which is created when it does not exist yet;
// - the new content goes into a temporary file in the same folder that takes the owner, group, mode and
//   extended attributes (ACLs included) of the old file, is synced and renamed over it; the folder is synced;
// - where a rename would change any of those (another owner, a file with several hard links, attributes
//   that cannot be set) or the folder may not be written, the file is written in place, with a copy of the
//   old content kept beside it (or in the user's cache folder) until the new content is on disk.
// Temporary files are named ".<name>.tarvelin2-new.XXXXXX" and kept copies ".<name>.tarvelin2-old.XXXXXX";
// each is locked while its save runs, and those a killed save left are removed by the next save of the file.
// Returns false on any failure, the old content unchanged.
bool replaceFileSafely(const std::string& path, std::string_view bytes);

// The earlier name of replaceFileSafely, for callers written against it.
inline bool replaceFileAtomically(const std::string& path, std::string_view bytes) {
    return replaceFileSafely(path, bytes);
}

}  // namespace tarvelin
