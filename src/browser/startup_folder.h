#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "browser/folder_entries.h"
#include "browser/folder_listing.h"

namespace tarvelin {

// The folder the left pane reads first, read on a thread of its own from the start of the program while the
// display connection is made, so that a desktop holding many files does not hold up the first frame. The pane
// takes what was read instead of asking the disk: the entries for the folder tree, the sorted names of all
// files for the file list, each once. One lives at a time, for the whole start.
class StartupFolderReading {
public:
    explicit StartupFolderReading(std::string folder);
    ~StartupFolderReading();
    StartupFolderReading(const StartupFolderReading&) = delete;
    StartupFolderReading& operator=(const StartupFolderReading&) = delete;

private:
    friend std::shared_ptr<const FolderEntries> takeStartupEntries(const std::string& folder);
    friend std::optional<FolderListing> takeStartupListing(const std::string& folder, std::string_view mask);
    void waitUntilRead(std::unique_lock<std::mutex>& lock);

    const std::string m_folder;
    std::mutex m_mutex;
    std::condition_variable m_read;
    bool m_done = false;
    std::shared_ptr<const FolderEntries> m_entries;
    std::optional<FolderListing> m_listing;
    std::thread m_thread;
};

// What the start-up reading holds of `folder`, waiting for it if need be; null or nothing when no reading of
// that folder lives, or it was taken already. The listing is kept only for the mask of all files.
std::shared_ptr<const FolderEntries> takeStartupEntries(const std::string& folder);
std::optional<FolderListing> takeStartupListing(const std::string& folder, std::string_view mask);

}  // namespace tarvelin
