#include "browser/startup_folder.h"

#include <atomic>
#include <system_error>

#include "browser/file_list.h"
#include "browser/file_mask.h"
#include "platform/item_path.h"

namespace tarvelin {
namespace {

std::atomic<StartupFolderReading*> g_reading{nullptr};

}  // namespace

StartupFolderReading::StartupFolderReading(std::string folder) : m_folder(normaliseFolder(folder)) {
    if (m_folder.empty()) return;
    try {
        m_thread = std::thread([this] {
            auto entries = std::make_shared<const FolderEntries>(readFolderFromDisk(m_folder));
            FolderListing listing = listFolderFiles(*entries, FileMask(FileList::kAllFiles));
            const std::lock_guard lock(m_mutex);
            m_entries = std::move(entries);
            m_listing = std::move(listing);
            m_done = true;
            m_read.notify_all();
        });
    } catch (const std::system_error&) {
        return;  // no thread to spare: the pane reads the folder itself
    }
    g_reading = this;
}

StartupFolderReading::~StartupFolderReading() {
    StartupFolderReading* self = this;
    g_reading.compare_exchange_strong(self, nullptr);
    if (m_thread.joinable()) m_thread.join();
}

void StartupFolderReading::waitUntilRead(std::unique_lock<std::mutex>& lock) {
    m_read.wait(lock, [this] { return m_done; });
}

std::shared_ptr<const FolderEntries> takeStartupEntries(const std::string& folder) {
    StartupFolderReading* reading = g_reading;
    if (!reading || normaliseFolder(folder) != reading->m_folder) return nullptr;
    std::unique_lock lock(reading->m_mutex);
    reading->waitUntilRead(lock);
    return std::move(reading->m_entries);
}

std::optional<FolderListing> takeStartupListing(const std::string& folder, std::string_view mask) {
    StartupFolderReading* reading = g_reading;
    if (!reading || mask != FileList::kAllFiles || normaliseFolder(folder) != reading->m_folder) return {};
    std::unique_lock lock(reading->m_mutex);
    reading->waitUntilRead(lock);
    std::optional<FolderListing> listing = std::move(reading->m_listing);
    reading->m_listing.reset();
    return listing;
}

}  // namespace tarvelin
