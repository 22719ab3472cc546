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

EntryKind kindOf(mode_t mode) {
    return S_ISREG(mode) ? EntryKind::File : S_ISDIR(mode) ? EntryKind::Folder : EntryKind::Other;
}

}  // namespace

int scanFolder(const std::string& folder, FolderScanSink& sink) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    // A stat may take as long as the whole listing on a slow volume: the names known at once go first.
    std::vector<std::string> unknown;
    int error = 0;
    bool stopped = false;
    // The size the C library reads with; each read is one question to the disk.
    alignas(dirent64) char buffer[32768];
    while (!stopped) {
        sink.beforeAsking();
        const ssize_t size = ::getdents64(fd, buffer, sizeof buffer);
        if (size <= 0) {
            error = size < 0 ? errno : 0;
            break;
        }
        for (ssize_t at = 0; at < size && !stopped;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
                unknown.emplace_back(name);
                continue;
            }
            const EntryKind kind = entry->d_type == DT_REG   ? EntryKind::File
                                   : entry->d_type == DT_DIR ? EntryKind::Folder
                                                             : EntryKind::Other;
            stopped = !sink.take({std::string(name), kind});
        }
    }
    for (size_t i = 0; i < unknown.size() && !stopped; ++i) {
        sink.beforeAsking();
        struct stat st;
        // A dangling link is of no kind the panes show.
        const EntryKind kind =
            ::fstatat(fd, unknown[i].c_str(), &st, 0) == 0 ? kindOf(st.st_mode) : EntryKind::Other;
        stopped = !sink.take({std::move(unknown[i]), kind});
    }
    ::close(fd);
    return error;
}

FolderEntries readFolderFromDisk(const std::string& folder, std::atomic<size_t>* progress) {
    struct Whole final : FolderScanSink {
        FolderEntries read;
        std::atomic<size_t>* progress;
        bool take(FolderEntry&& entry) override {
            read.entries.push_back(std::move(entry));
            if (progress) progress->store(read.entries.size(), std::memory_order_relaxed);
            return true;
        }
    } whole;
    whole.progress = progress;
    whole.read.error = scanFolder(folder, whole);
    return std::move(whole.read);
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
