#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <string>

namespace tarvelin {

struct CopyFileOptions {
    bool replace =
        false;          // an existing target is replaced (atomically); otherwise the copy fails with EEXIST
    bool sync = false;  // the data is on disk before the copy gets its name (a move removes the source next)
    // Called after each piece with the bytes written so far; false cancels the copy.
    std::function<bool(uint64_t)> progress;
};

struct CopyFileResult {
    int error = 0;          // errno, or EMSGSIZE when the copy's size differs from the source's
    bool atTarget = false;  // the error happened writing the target (else reading the source)
    bool cancelled = false;
    uint64_t bytes = 0;
    bool ok() const { return error == 0 && !cancelled; }
};

// Copies the regular file `source` to `target` with the source's permission bits and modification time. The
// copy is written as an unnamed file (or under a hidden temporary name where the file system has none) and
// gets its final name only when complete and its size checked, so the target is never a part of the file: not
// after a cancel, an error, or the process being killed. Anything that is not a regular file is refused
// (ENXIO) without being opened for reading, so a FIFO never blocks.
CopyFileResult copyRegularFile(const std::string& source, const std::string& target,
                               const CopyFileOptions& options);

// Copies a symbolic link as a link.
int copySymlink(const std::string& source, const std::string& target);

}  // namespace tarvelin
