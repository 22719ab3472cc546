#include "browser/folder_entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "browser/startup_folder.h"

namespace tarvelin {
namespace {

thread_local SharedFolderReading* t_shared = nullptr;

EntryKind kindOf(int dirFd, const dirent& entry) {
    if (entry.d_type == DT_REG) return EntryKind::File;
    if (entry.d_type == DT_DIR) return EntryKind::Folder;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return EntryKind::Other;
    struct stat st;
    if (::fstatat(dirFd, entry.d_name, &st, 0) != 0) return EntryKind::Other;
    return S_ISREG(st.st_mode) ? EntryKind::File : S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

}  // namespace

FolderEntries readFolderFromDisk(const std::string& folder, std::atomic<size_t>* progress) {
    FolderEntries read;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        read.error = errno;
        if (fd >= 0) ::close(fd);
        return read;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            read.error = errno;
            break;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        read.entries.push_back({std::string(name), kindOf(fd, *entry)});
        if (progress) progress->store(read.entries.size(), std::memory_order_relaxed);
    }
    ::closedir(dir);
    return read;
}

std::shared_ptr<const FolderEntries> readFolderEntries(const std::string& folder) {
    SharedFolderReading* shared = t_shared;
    if (shared && shared->m_entries && shared->m_folder == folder) return shared->m_entries;
    std::shared_ptr<const FolderEntries> read = takeStartupEntries(folder);
    if (!read) read = std::make_shared<const FolderEntries>(readFolderFromDisk(folder));
    if (shared) {
        shared->m_folder = folder;
        shared->m_entries = read;
    }
    return read;
}

SharedFolderReading::SharedFolderReading() : m_outer(t_shared) {
    t_shared = this;
}

SharedFolderReading::~SharedFolderReading() {
    t_shared = m_outer;
}

}  // namespace tarvelin
