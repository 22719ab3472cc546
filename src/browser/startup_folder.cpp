#include "browser/startup_folder.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "browser/file_list.h"
#include "browser/file_mask.h"
#include "platform/idle_priority.h"
#include "platform/item_path.h"

namespace tarvelin {

struct StartupFolderReading::Reading {
    explicit Reading(std::string path) : folder(std::move(path)) {}
    const std::string folder;
    std::atomic<size_t> progress{0};  // entries read so far
    std::mutex mutex;
    std::condition_variable entriesRead;
    bool finished = false;
    // Each part is answered once: the entries as soon as they are read; the listing once sorted or, asked for
    // before that, sorted by the asker from the entries.
    std::shared_ptr<const FolderEntries> entries;
    bool entriesTaken = false;
    std::shared_ptr<const FolderEntries> unsorted;  // the entries, until the listing is answered
    std::optional<FolderListing> listing;
    bool listingTaken = false;
};

namespace {

// How long an asker waits before it looks at how far the helper got, and how far counts as getting on. An
// unloaded helper reads tens of thousands of entries in that time; one that busier threads starve of time,
// a few hundred, and the asker is quicker reading the folder itself.
constexpr std::chrono::milliseconds kProgressCheck{20};
constexpr size_t kSteadyEntries = 2000;

std::mutex g_liveMutex;
std::shared_ptr<StartupFolderReading::Reading> g_live;

// Once both parts are taken, folders are no longer compared against the reading: every later reading of any
// folder passes through here.
void releaseIfTaken(const std::shared_ptr<StartupFolderReading::Reading>& reading) {
    if (!reading->entriesTaken || !reading->listingTaken) return;
    const std::lock_guard live(g_liveMutex);
    if (g_live == reading) g_live.reset();
}

// The live reading of `folder`, locked; null when there is none.
std::shared_ptr<StartupFolderReading::Reading> liveReadingOf(const std::string& folder,
                                                             std::unique_lock<std::mutex>& lock) {
    std::shared_ptr<StartupFolderReading::Reading> reading;
    {
        const std::lock_guard live(g_liveMutex);
        reading = g_live;
    }
    if (!reading || normaliseFolder(folder) != reading->folder) return nullptr;
    lock = std::unique_lock(reading->mutex);
    return reading;
}

}  // namespace

StartupFolderReading::StartupFolderReading(std::string folder)
    : m_reading(std::make_shared<Reading>(normaliseFolder(folder))) {
    if (m_reading->folder.empty()) return;
    try {
        m_thread = std::thread([reading = m_reading] {
            runThisThreadAtIdlePriority();
            auto entries = std::make_shared<const FolderEntries>(
                readFolderFromDisk(reading->folder, &reading->progress));
            {
                const std::lock_guard lock(reading->mutex);
                reading->entries = entries;
                reading->unsorted = entries;
            }
            reading->entriesRead.notify_all();
            FolderListing listing = listFolderFiles(*entries, FileMask(FileList::kAllFiles));
            const std::lock_guard lock(reading->mutex);
            if (!reading->listingTaken) reading->listing = std::move(listing);
            reading->unsorted.reset();
            reading->finished = true;
        });
    } catch (const std::system_error&) {
        return;  // no thread to spare: the pane reads the folder itself
    }
    const std::lock_guard live(g_liveMutex);
    g_live = m_reading;
}

StartupFolderReading::~StartupFolderReading() {
    {
        const std::lock_guard live(g_liveMutex);
        if (g_live == m_reading) g_live.reset();
    }
    if (!m_thread.joinable()) return;
    // Starved of time by a busy machine, an idle thread could hold up the end of the program.
    if (finished())
        m_thread.join();
    else
        m_thread.detach();
}

bool StartupFolderReading::finished() const {
    const std::lock_guard lock(m_reading->mutex);
    return m_reading->finished;
}

std::shared_ptr<const FolderEntries> takeStartupEntries(const std::string& folder) {
    std::unique_lock<std::mutex> lock;
    const auto reading = liveReadingOf(folder, lock);
    if (!reading) return nullptr;
    // Reading the folder again here would compete with the helper for the disk and the processor, and start
    // from nothing: wait while the helper gets on.
    size_t seen = reading->progress.load();
    while (!reading->entriesRead.wait_for(lock, kProgressCheck,
                                          [&] { return reading->entries || reading->entriesTaken; })) {
        const size_t now = reading->progress.load();
        if (now - seen < kSteadyEntries) return nullptr;
        seen = now;
    }
    if (!reading->entries) return nullptr;
    std::shared_ptr<const FolderEntries> entries = std::move(reading->entries);
    reading->entriesTaken = true;
    releaseIfTaken(reading);
    return entries;
}

std::optional<FolderListing> takeStartupListing(const std::string& folder, std::string_view mask) {
    if (mask != FileList::kAllFiles) return {};
    std::unique_lock<std::mutex> lock;
    const auto reading = liveReadingOf(folder, lock);
    if (!reading || reading->listingTaken || (!reading->listing && !reading->unsorted)) return {};
    std::optional<FolderListing> listing = std::move(reading->listing);
    const std::shared_ptr<const FolderEntries> unsorted = std::move(reading->unsorted);
    reading->listing.reset();
    reading->listingTaken = true;
    releaseIfTaken(reading);
    lock.unlock();
    // Read but not sorted yet: sorting here costs less than reading the folder again.
    if (!listing) listing = listFolderFiles(*unsorted, FileMask(FileList::kAllFiles));
    return listing;
}

}  // namespace tarvelin
