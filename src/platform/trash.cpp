#include "platform/trash.h"
#include "platform/file_job.h"
#include "platform/file_job_texts.h"
#include "platform/item_path.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace tarvelin {
namespace {

constexpr int kMaxNumber = 100000;

bool makeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// A trash folder we may use: a real folder (never a link someone planted), owned by us.
bool ownFolder(const std::string& path, uid_t uid) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid;
}

std::string deletionDate(std::time_t now) {
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

TrashSettings TrashSettings::forCurrentUser() {
    TrashSettings settings;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/') {
        settings.homeTrash = std::string(dataHome) + "/Trash";
    } else {
        const char* home = std::getenv("HOME");
        settings.homeTrash = std::string(home ? home : "") + "/.local/share/Trash";
    }
    settings.uid = ::getuid();
    settings.now = [] { return std::time(nullptr); };
    return settings;
}

std::string percentEncodePath(std::string_view path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
            b == '.' || b == '_' || b == '~' || b == '/') {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

Trash::Trash(TrashSettings settings) : m_settings(std::move(settings)) {}

Trash::~Trash() {
    for (auto& [device, place] : m_places) {
        if (!place) continue;
        ::close(place->files);
        ::close(place->info);
    }
}

std::optional<Trash::Place> Trash::openPlace(const std::string& trashFolder, std::string topdir) {
    if (!makeFolder(trashFolder) || !ownFolder(trashFolder, m_settings.uid)) return std::nullopt;
    Place place;
    place.filesPath = trashFolder + "/files";
    const std::string info = trashFolder + "/info";
    if (!makeFolder(place.filesPath) || !makeFolder(info)) return std::nullopt;
    place.files = ::open(place.filesPath.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    place.info = ::open(info.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (place.files < 0 || place.info < 0) {
        if (place.files >= 0) ::close(place.files);
        if (place.info >= 0) ::close(place.info);
        return std::nullopt;
    }
    place.topdir = std::move(topdir);
    return place;
}

Trash::Place* Trash::placeFor(dev_t device, const std::string& canonicalParent) {
    if (auto it = m_places.find(device); it != m_places.end()) return it->second ? &*it->second : nullptr;

    if (!m_homeDevice && !m_settings.homeTrash.empty() && makeFolders(m_settings.homeTrash, 0700)) {
        struct stat st;
        if (::stat(m_settings.homeTrash.c_str(), &st) == 0) m_homeDevice = st.st_dev;
    }
    std::optional<Place> place;
    if (m_homeDevice == device) {
        place = openPlace(m_settings.homeTrash, {});
    } else {
        // The volume's top folder: climb while the parent is on the same device.
        std::string topdir = canonicalParent;
        while (topdir != "/") {
            const std::string up = parentFolder(topdir);
            struct stat st;
            if (::stat(up.c_str(), &st) != 0 || st.st_dev != device) break;
            topdir = up;
        }
        const std::string prefix = topdir == "/" ? std::string() : topdir;
        const std::string uid = std::to_string(m_settings.uid);
        struct stat admin;
        const std::string shared = prefix + "/.Trash";
        if (::lstat(shared.c_str(), &admin) == 0 && S_ISDIR(admin.st_mode) && (admin.st_mode & S_ISVTX))
            place = openPlace(shared + "/" + uid, topdir);
        if (!place) place = openPlace(prefix + "/.Trash-" + uid, topdir);
    }
    auto& slot = m_places[device];
    slot = std::move(place);
    return slot ? &*slot : nullptr;
}

int Trash::locate(const std::string& parent) {
    if (parent == m_lastParent && !m_lastCanonical.empty()) return 0;
    // A sibling of the last folder whose real path is known: one lstat shows it is a folder, not a link.
    const std::string up = parentFolder(parent);
    const std::string_view name = fileNamePart(parent);
    struct stat st;
    if (!m_upCanonical.empty() && up == m_up && !name.empty() && name != "." && name != ".." &&
        ::lstat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        m_lastCanonical = (m_upCanonical == "/" ? std::string() : m_upCanonical) + "/" + std::string(name);
    } else {
        char* real = ::realpath(parent.c_str(), nullptr);
        if (!real || ::stat(real, &st) != 0) {
            const int error = errno;
            std::free(real);
            return error;
        }
        m_lastCanonical = real;
        std::free(real);
        m_up.clear();
        m_upCanonical.clear();
        struct stat own;
        if (!name.empty() && name != "." && name != ".." && ::lstat(parent.c_str(), &own) == 0 &&
            S_ISDIR(own.st_mode)) {
            m_up = up;
            m_upCanonical = parentFolder(m_lastCanonical);
        }
    }
    m_lastParent = parent;
    m_lastDevice = st.st_dev;
    return 0;
}

TrashResult Trash::moveToTrash(const std::string& path) {
    TrashResult result;
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::string base(fileNamePart(trimmed));
    if (base.empty() || base == "." || base == ".." || trimmed == "/") {
        result.error = EINVAL;
        return result;
    }
    if (const int error = locate(parentFolder(trimmed))) {
        result.error = error;
        return result;
    }
    Place* place = placeFor(m_lastDevice, m_lastCanonical);
    if (!place) {
        result.status = TrashStatus::NoTrash;
        return result;
    }

    std::string origin = (m_lastCanonical == "/" ? std::string() : m_lastCanonical) + "/" + base;
    if (!place->topdir.empty() && place->topdir != "/")
        origin = origin.substr(place->topdir.size() + 1);
    else if (!place->topdir.empty())
        origin = origin.substr(1);
    const std::string info = "[Trash Info]\nPath=" + percentEncodePath(origin) +
                             "\nDeletionDate=" + deletionDate(m_settings.now()) + "\n";

    // ".trashinfo" must fit in one name.
    constexpr size_t kLimit = NAME_MAX - (sizeof ".trashinfo" - 1);
    const auto known = place->nextNumber.find(base);
    for (int n = known == place->nextNumber.end() ? 1 : known->second; n < kMaxNumber; ++n) {
        const std::string name =
            fittedName(base, false, {}, n == 1 ? std::string() : "." + std::to_string(n), kLimit);
        const std::string infoName = name + ".trashinfo";
        const int fd = ::openat(place->info, infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            result.error = errno;
            return result;
        }
        const bool written = writeAll(fd, info);
        if (::close(fd) != 0 || !written) {
            result.error = errno ? errno : EIO;
            ::unlinkat(place->info, infoName.c_str(), 0);
            return result;
        }
        if (::renameat2(AT_FDCWD, trimmed.c_str(), place->files, name.c_str(), RENAME_NOREPLACE) == 0) {
            // Only names met twice are remembered: most names in a job are met once.
            if (n > 1) place->nextNumber[base] = n + 1;
            result.status = TrashStatus::Trashed;
            result.trashedPath = place->filesPath + "/" + name;
            return result;
        }
        const int error = errno;
        ::unlinkat(place->info, infoName.c_str(), 0);
        if (error == EEXIST) continue;  // a stray entry under files/ without its info
        result.error = error;
        return result;
    }
    result.error = EEXIST;
    return result;
}

}  // namespace tarvelin
