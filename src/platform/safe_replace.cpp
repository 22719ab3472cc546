// Replacing a file's content safely: see replaceFileSafely in file_io.h.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_descriptor.h"
#include "platform/file_io.h"
#include "platform/item_path.h"

namespace tarvelin {
namespace {

constexpr size_t kRandomChars = 6;
constexpr std::string_view kNewKind = "new";
constexpr std::string_view kOldKind = "old";

struct Place {
    std::string folder;  // ends in "/"
    std::string name;
};

Place placeOf(const std::string& path) {
    const std::string_view folder = folderPart(path);
    return {folder.empty() ? std::string("./") : std::string(folder), std::string(fileNamePart(path))};
}

// The file a write to `path` must reach: links followed to their end, also to a target that does not exist
// yet. nullopt for a loop of links.
std::optional<std::string> resolveLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size()) return std::nullopt;
        target.resize(static_cast<size_t>(n));
        path = target.starts_with('/') ? target : placeOf(path).folder + target;
    }
    return std::nullopt;
}

bool retryable(ssize_t n) {
    return n < 0 && errno == EINTR;
}

bool writeAllAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (retryable(n)) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
    return true;
}

// Copies the whole content of `from` over the start of `to` and cuts `to` to that length.
bool copyContent(int from, int to) {
    char buffer[65536];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(from, buffer, sizeof buffer, offset);
        if (retryable(n)) continue;
        if (n < 0) return false;
        if (n == 0) break;
        if (!writeAllAt(to, std::string_view(buffer, static_cast<size_t>(n)), offset)) return false;
        offset += n;
    }
    return ::ftruncate(to, offset) == 0;
}

bool syncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return false;
    // Some file systems cannot sync a folder; their renames are as durable as they get.
    return ::fsync(fd.get()) == 0 || errno == EINVAL || errno == ENOTSUP;
}

// Leftover names: "<prefix><6 letters or digits>", the prefix cut so that the name fits NAME_MAX.
std::string leftoverPrefix(std::string_view stem, std::string_view kind) {
    const std::string suffix = ".tarvelin2-" + std::string(kind) + ".";
    const size_t room = NAME_MAX - suffix.size() - kRandomChars;
    return std::string(stem.substr(0, room)) + suffix;
}

bool isLeftoverName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kRandomChars || !name.starts_with(prefix)) return false;
    return std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

std::string randomChars() {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kRandomChars];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
        for (size_t i = 0; i < kRandomChars; ++i) bytes[i] = static_cast<unsigned char>(std::rand());
    std::string out;
    for (unsigned char b : bytes) out.push_back(kAlphabet[b % (sizeof kAlphabet - 1)]);
    return out;
}

// A file of our own in `folder`, locked from before it has a name until it is closed, so that another copy of
// the program tells a save in progress from a killed one's leftover. Where the file system allows, it has no
// name until named: a save killed before then leaves nothing at all.
class LockedTempFile {
public:
    bool open(const std::string& folder, mode_t mode) {
        m_folder = folder;
        if (procFdAvailable()) {
            m_fd.reset(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
            if (m_fd.valid()) return ::flock(m_fd.get(), LOCK_EX) == 0;
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
        }
        m_unnamed = false;
        return true;  // named when `name` is called
    }

    // Gives the file a name "<folder><prefix>XXXXXX". Without unnamed files it is created here, empty, and
    // the content goes in afterwards.
    bool name(const std::string& prefix) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string path = m_folder + prefix + randomChars();
            if (m_unnamed) {
                const std::string proc = "/proc/self/fd/" + std::to_string(m_fd.get());
                if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                    m_path = path;
                    return true;
                }
            } else {
                m_fd.reset(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
                if (m_fd.valid()) {
                    m_path = path;
                    return ::flock(m_fd.get(), LOCK_EX) == 0;
                }
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }

    bool unnamed() const { return m_unnamed; }
    int fd() const { return m_fd.get(); }
    const std::string& path() const { return m_path; }
    void forgetName() { m_path.clear(); }

    ~LockedTempFile() {
        if (!m_path.empty()) ::unlink(m_path.c_str());
    }

private:
    static bool procFdAvailable() {
        static const bool available = ::access("/proc/self/fd", X_OK) == 0;
        return available;
    }

    std::string m_folder;
    FileDescriptor m_fd;
    std::string m_path;
    bool m_unnamed = true;
};

// Removes the leftovers named with `prefix` (unless empty) in `folder` that no running save holds; returns
// the names of the leftovers with `keepPrefix` instead, for removal once the save succeeded.
std::vector<std::string> removeLeftovers(const std::string& folder, const std::string& prefix,
                                         const std::string& keepPrefix) {
    std::vector<std::string> kept;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return kept;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (isLeftoverName(name, keepPrefix)) kept.emplace_back(name);
        if (prefix.empty() || !isLeftoverName(name, prefix)) continue;
        FileDescriptor fd(
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat held, named;
        if (!fd.valid() || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;  // a running save holds it
        if (::fstatat(::dirfd(dir), entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
    return kept;
}

// The names of a file's extended attributes; `list(buffer, size)` is llistxattr or flistxattr bound to the
// file. nullopt when they cannot be read.
template <typename List>
std::optional<std::vector<std::string>> attributeNames(List list) {
    std::string buffer;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t size = list(nullptr, 0);
        if (size < 0 && errno == ENOTSUP) return std::vector<std::string>{};  // none on this file system
        if (size < 0) return std::nullopt;
        buffer.resize(static_cast<size_t>(size));
        const ssize_t got = list(buffer.data(), buffer.size());
        if (got < 0 && errno == ERANGE) continue;  // grew in between
        if (got < 0) return std::nullopt;
        std::vector<std::string> names;
        for (size_t at = 0; at < static_cast<size_t>(got);) {
            const size_t end = buffer.find('\0', at);
            names.emplace_back(buffer, at, end - at);
            at = end + 1;
        }
        return names;
    }
    return std::nullopt;
}

// Makes the extended attributes of `fd` those of the file at `path` (ACLs are attributes too).
bool copyAttributes(const std::string& path, int fd) {
    const auto wanted =
        attributeNames([&](char* buffer, size_t size) { return ::llistxattr(path.c_str(), buffer, size); });
    const auto present =
        attributeNames([&](char* buffer, size_t size) { return ::flistxattr(fd, buffer, size); });
    if (!wanted || !present) return false;
    for (const std::string& name : *present)  // inherited from the folder, which the old file did not have
        if (std::find(wanted->begin(), wanted->end(), name) == wanted->end() &&
            ::fremovexattr(fd, name.c_str()) != 0)
            return false;
    std::string value;
    for (const std::string& name : *wanted) {
        const ssize_t size = ::lgetxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (size < 0) return false;
        value.resize(static_cast<size_t>(size));
        const ssize_t got = ::lgetxattr(path.c_str(), name.c_str(), value.data(), value.size());
        if (got < 0 || ::fsetxattr(fd, name.c_str(), value.data(), static_cast<size_t>(got), 0) != 0)
            return false;
    }
    return true;
}

// Gives the temporary file everything of the old one that a rename would otherwise change. Owner and group
// first (a change of owner clears set-id bits), then the attributes, then the mode (which an ACL's mask
// follows).
bool takeIdentity(const std::string& target, const struct stat& old, int fd) {
    struct stat now;
    if (::fstat(fd, &now) != 0) return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    return copyAttributes(target, fd) && ::fchmod(fd, old.st_mode & 07777) == 0;
}

bool mayWrite(const std::string& target, const struct stat& st) {
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
    return ::geteuid() != 0 || (st.st_mode & 0222) != 0;
}

std::string cacheFolder() {
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/') return std::string(xdg) + "/";
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return std::string(home) + "/.cache/";
    return {};
}

// A folder where the old content may wait: beside the file, else (a folder this user may not write) the
// user's cache folder.
std::optional<Place> backupPlace(const Place& target, const struct stat& st) {
    if (::access(target.folder.c_str(), W_OK | X_OK) == 0) return Place{target.folder, "." + target.name};
    const std::string cache = cacheFolder();
    if (cache.empty()) return std::nullopt;
    const std::string folder = cache + "Tarvelin2/saving/";
    ::mkdir(cache.c_str(), 0700);
    ::mkdir((cache + "Tarvelin2").c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return std::nullopt;
    // In place keeps the file's identity, which names its copies here.
    return Place{folder, std::to_string(st.st_dev) + "-" + std::to_string(st.st_ino)};
}

void removeNamed(const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        FileDescriptor fd(::open((folder + name).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (fd.valid() && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) ::unlink((folder + name).c_str());
    }
}

// Overwrites the file where it is. The old content is copied aside and synced first; if the new content
// cannot be written whole, the old is put back, and if even that fails the copy stays for the user.
bool writeInPlace(const std::string& target, const Place& place, const struct stat& old,
                  std::string_view bytes) {
    FileDescriptor fd(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_dev != old.st_dev ||
        st.st_ino != old.st_ino)
        return false;
    const std::optional<Place> aside = backupPlace(place, st);
    if (!aside) return false;
    const std::string prefix = leftoverPrefix(aside->name, kOldKind);
    // Copies beside the file are the caller's to tidy; those in the cache folder are ours.
    const bool inCache = aside->folder != place.folder;
    const std::vector<std::string> stale =
        inCache ? removeLeftovers(aside->folder, {}, prefix) : std::vector<std::string>{};

    LockedTempFile backup;
    if (!backup.open(aside->folder, 0600)) return false;
    if (backup.unnamed()) {
        if (!copyContent(fd.get(), backup.fd()) || ::fsync(backup.fd()) != 0 || !backup.name(prefix))
            return false;
    } else if (!backup.name(prefix) || !copyContent(fd.get(), backup.fd()) || ::fsync(backup.fd()) != 0) {
        return false;
    }
    if (!syncFolder(aside->folder)) return false;

    if (writeAllAt(fd.get(), bytes, 0) && ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 &&
        ::fsync(fd.get()) == 0) {
        removeNamed(aside->folder, stale);
        return true;  // the copy goes with `backup`
    }
    if (!copyContent(backup.fd(), fd.get()) || ::fsync(fd.get()) != 0) backup.forgetName();
    return false;
}

enum class Renamed { Yes, Failed, NotPossible };

// The new content in a temporary file beside the old one, renamed over it. NotPossible when the result would
// not be the same file as before (or the folder takes no new file), so that it must be written in place.
Renamed writeAndRename(const std::string& target, const Place& place, const struct stat* old,
                       std::string_view bytes) {
    const std::string prefix = leftoverPrefix("." + place.name, kNewKind);
    LockedTempFile temp;
    if (!temp.open(place.folder, old ? 0600 : 0666)) return Renamed::NotPossible;
    if (!temp.unnamed() && !temp.name(prefix)) return Renamed::NotPossible;
    if (old) {
        if (!takeIdentity(target, *old, temp.fd())) return Renamed::NotPossible;
    } else if (!temp.unnamed()) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(temp.fd(), 0666 & ~mask) != 0) return Renamed::Failed;
    }
    if (!writeAllAt(temp.fd(), bytes, 0) || ::fsync(temp.fd()) != 0) return Renamed::Failed;
    if (temp.unnamed() && !temp.name(prefix)) return Renamed::Failed;
    if (::rename(temp.path().c_str(), target.c_str()) != 0) {
        // A sticky folder, a file someone else holds as a mount point, an immutable file: in place may work.
        return errno == EPERM || errno == EACCES || errno == EBUSY ? Renamed::NotPossible : Renamed::Failed;
    }
    temp.forgetName();
    return syncFolder(place.folder) ? Renamed::Yes : Renamed::Failed;
}

}  // namespace

bool replaceFileSafely(const std::string& path, std::string_view bytes) {
    const std::optional<std::string> resolved = resolveLinks(path);
    if (!resolved) return false;
    const std::string& target = *resolved;
    const Place place = placeOf(target);

    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists && (!S_ISREG(st.st_mode) || !mayWrite(target, st))) return false;

    const std::vector<std::string> staleCopies = removeLeftovers(
        place.folder, leftoverPrefix("." + place.name, kNewKind), leftoverPrefix("." + place.name, kOldKind));
    Renamed renamed = Renamed::NotPossible;
    if (!exists || st.st_nlink == 1) renamed = writeAndRename(target, place, exists ? &st : nullptr, bytes);
    if (renamed == Renamed::Failed) return false;
    if (renamed == Renamed::NotPossible && (!exists || !writeInPlace(target, place, st, bytes))) return false;
    removeNamed(place.folder, staleCopies);
    return true;
}

}  // namespace tarvelin
