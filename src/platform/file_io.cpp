#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/file_descriptor.h"

namespace tarvelin {
namespace {

int notRegularError(mode_t mode) {
    return S_ISDIR(mode) ? EISDIR : EINVAL;
}

}  // namespace

int openRegularFile(const std::string& path) {
    // Looking first spares a device the side effects of being opened; the descriptor's own type is what
    // counts, since the path may change in between.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return -1;
    if (!S_ISREG(st.st_mode)) {
        errno = notRegularError(st.st_mode);
        return -1;
    }
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) return -1;
    if (::fstat(fd.get(), &st) != 0) return -1;
    if (!S_ISREG(st.st_mode)) {
        errno = notRegularError(st.st_mode);
        return -1;
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return fd.release();
}

FileStamp fileStampOf(const struct ::stat& st) {
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
            static_cast<uint64_t>(st.st_size),
            int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::optional<FileStamp> fileStamp(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return fileStampOf(st);
}

FileBytes readFileBytes(const std::string& path, size_t maxBytes) {
    FileBytes result;
    FileDescriptor fd(openRegularFile(path));
    if (!fd.valid()) {
        result.status = (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) return result;
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    // Straight into the string: lists may be hundreds of megabytes. Whether the file ended where its size
    // said is asked with a small buffer, so that the end of a large file costs no copy of it; a file that
    // grows meanwhile is read on.
    std::string bytes(static_cast<size_t>(st.st_size), '\0');
    size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            char more[16384];
            const size_t room = std::min(sizeof more, maxBytes - std::min(maxBytes, done) + 1);
            const ssize_t n = ::read(fd.get(), more, room);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return result;
            if (n == 0) break;
            if (done + static_cast<size_t>(n) > maxBytes) {
                result.status = ReadStatus::TooLarge;
                return result;
            }
            bytes.append(more, static_cast<size_t>(n));
            done = bytes.size();
            continue;
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return result;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    result.status = ReadStatus::Ok;
    result.stamp = fileStampOf(st);
    result.stamp.size = done;
    result.bytes = std::move(bytes);
    return result;
}

}  // namespace tarvelin
