#include "platform/file_copy.h"
#include "platform/file_descriptor.h"
#include "platform/file_job_texts.h"
#include "platform/item_path.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fstream>
#include <random>
#include <vector>

namespace tarvelin {
namespace {

constexpr size_t kPiece = size_t{8} << 20;

std::string hiddenTemporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{std::random_device{}()};
    return std::string(folderPart(target)) + "." + std::string(fileNamePart(target).substr(0, 200)) +
           ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// Unnamed files need /proc to be linked into a folder; a system without it gets hidden temporary names.
bool unnamedFilesUsable() {
    static const bool usable = ::access("/proc/self/fd", F_OK) == 0;
    return usable;
}

// Writes the whole source into `out`; copy_file_range first, sendfile where it cannot cross file systems.
int pump(int in, int out, uint64_t expected, const CopyFileOptions& options, uint64_t& done,
         bool& cancelled) {
    bool plain = false;
    // Up to the size the source had when opened; a file that shrinks meanwhile fails the size check.
    while (done < expected) {
        const size_t piece = static_cast<size_t>(std::min<uint64_t>(kPiece, expected - done));
        ssize_t n;
        if (!plain) {
            n = ::copy_file_range(in, nullptr, out, nullptr, piece, 0);
            if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) &&
                done == 0) {
                plain = true;
                continue;
            }
        } else {
            n = ::sendfile(out, in, nullptr, piece);
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) break;
        done += static_cast<uint64_t>(n);
        if (options.progress && !options.progress(done)) {
            cancelled = true;
            return 0;
        }
    }
    return 0;
}

// The process's file-creation mask, read once without changing it (umask() cannot be read alone, and setting
// it would race with other threads creating files). Tarvelin2 never changes its mask.
mode_t creationMask() {
    static const mode_t mask = [] {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("Umask:"))
                return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
        return static_cast<mode_t>(07777);  // unknown: always set the mode afterwards
    }();
    return mask;
}

// Gives an unnamed file a name. AT_EMPTY_PATH needs a capability most users lack; /proc works for everyone.
int linkUnnamed(int fd, const std::string& name) {
    static std::atomic<bool> emptyPathWorks{true};
    if (emptyPathWorks) {
        if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
        if (errno != ENOENT && errno != EPERM) return errno;
        emptyPathWorks = false;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

}  // namespace

CopyFileResult copyRegularFile(const std::string& source, const std::string& target,
                               const CopyFileOptions& options) {
    CopyFileResult result;
    // Opening a device runs its driver (a tape rewinds, a terminal hangs up): look before opening, then
    // check that what was opened is what was looked at.
    struct stat seen;
    if (::lstat(source.c_str(), &seen) != 0) {
        result.error = errno;
        return result;
    }
    if (!S_ISREG(seen.st_mode)) {
        result.error = ENXIO;
        return result;
    }
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (in.get() < 0 || ::fstat(in.get(), &st) != 0) {
        result.error = errno == ELOOP ? ENXIO : errno;
        return result;
    }
    if (!S_ISREG(st.st_mode) || st.st_ino != seen.st_ino || st.st_dev != seen.st_dev) {
        result.error = ENXIO;
        return result;
    }
    const mode_t mode = st.st_mode & 07777;

    // The copy lives unnamed (or under a hidden name) until it is complete.
    std::string temporary;
    FileDescriptor out;
    if (unnamedFilesUsable()) {
        out.reset(::open(parentFolder(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode & 0777));
        if (out.get() < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            result.error = errno;
            result.atTarget = true;
            return result;
        }
    }
    if (out.get() < 0) {
        temporary = hiddenTemporaryName(target);
        out.reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (out.get() < 0) {
            result.error = errno;
            result.atTarget = true;
            return result;
        }
    }
    const auto fail = [&](int error, bool atTarget) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        result.error = error;
        result.atTarget = atTarget;
        return result;
    };

    const int error =
        pump(in.get(), out.get(), static_cast<uint64_t>(st.st_size), options, result.bytes, result.cancelled);
    if (result.cancelled) return fail(0, false);
    if (error) return fail(error, error == ENOSPC || error == EDQUOT || error == EFBIG || error == EROFS);
    if (result.bytes != static_cast<uint64_t>(st.st_size)) return fail(EMSGSIZE, false);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    // An unnamed copy was made with the mode already, unless the mask took bits away.
    const bool modeSet = temporary.empty() && (mode & ~0777) == 0 && (mode & creationMask()) == 0;
    if ((!modeSet && ::fchmod(out.get(), mode) != 0) || ::futimens(out.get(), times) != 0)
        return fail(errno, true);
    if (options.sync && ::fdatasync(out.get()) != 0) return fail(errno, true);

    if (temporary.empty()) {
        if (!options.replace) {
            if (const int error = linkUnnamed(out.get(), target)) return fail(error, true);
            return result;
        }
        // Replacing: a hidden name first, then one rename over the old file.
        temporary = hiddenTemporaryName(target);
        if (const int error = linkUnnamed(out.get(), temporary)) {
            temporary.clear();
            return fail(error, true);
        }
    }
    if (::close(out.release()) != 0) return fail(errno, true);
    if (options.replace) {
        if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno, true);
        return result;
    }
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return result;
    if (errno != EINVAL) return fail(errno, true);
    // A file system without RENAME_NOREPLACE.
    struct stat existing;
    if (::lstat(target.c_str(), &existing) == 0) return fail(EEXIST, true);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno, true);
    return result;
}

int copySymlink(const std::string& source, const std::string& target) {
    std::vector<char> buffer(4096);
    const ssize_t n = ::readlink(source.c_str(), buffer.data(), buffer.size() - 1);
    if (n < 0) return errno;
    buffer[static_cast<size_t>(n)] = '\0';
    return ::symlink(buffer.data(), target.c_str()) == 0 ? 0 : errno;
}

}  // namespace tarvelin
