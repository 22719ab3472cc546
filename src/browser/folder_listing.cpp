#include "browser/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "browser/name_case.h"

namespace tarvelin {

namespace {

struct Entry {
    std::string key;  // folded name
    std::string name;
};

// The entry's own type field answers for almost every file; stat only when the file system leaves it unknown
// or the entry is a link, whose target decides.
bool isPlainFile(int dirFd, const dirent& entry) {
    if (entry.d_type == DT_REG) return true;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
    struct stat st;
    if (::fstatat(dirFd, entry.d_name, &st, 0) != 0) return false;  // a dangling link is no file
    return S_ISREG(st.st_mode);
}

}  // namespace

FolderListing listFolderFiles(const std::string& folder, const FileMask& mask) {
    FolderListing listing;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        listing.error = errno;
        return listing;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        listing.error = errno;
        ::close(fd);
        return listing;
    }

    std::vector<Entry> entries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            listing.error = errno;
            break;
        }
        if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
        if (!isPlainFile(fd, *entry)) continue;
        std::string name(entry->d_name);
        std::string key = foldCase(name);
        const int count = mask.matchCount(key);
        for (int i = 1; i < count; ++i) entries.push_back({key, name});
        if (count > 0) entries.push_back({std::move(key), std::move(name)});
    }
    ::closedir(dir);

    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : a.name < b.name;
    });
    listing.names.reserve(entries.size());
    for (Entry& entry : entries) listing.names.push_back(std::move(entry.name));
    return listing;
}

}  // namespace tarvelin
