#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "browser/folder_entries.h"
#include "browser/folder_listing.h"

namespace tarvelin {

// The folder the left pane reads first, read on a helper thread at idle priority from the start of the
// program while the display connection is made, so that a desktop holding many files does not hold up the
// first frame. The pane takes what was read instead of asking the disk: the entries for the folder tree, the
// sorted names of all files for the file list, each once. The entries are answered as soon as they are read,
// the listing once sorted, or sorted by the asker from the entries when they are read but not yet sorted. An
// asker of entries still being read waits while the reading gets on; where it crawls (the idle thread starved
// of time), the pane reads the folder itself. One lives at a time, for the whole start.
class StartupFolderReading {
public:
    explicit StartupFolderReading(std::string folder);
    // Waits for a reading that has finished; one that has not is left to finish by itself.
    ~StartupFolderReading();
    StartupFolderReading(const StartupFolderReading&) = delete;
    StartupFolderReading& operator=(const StartupFolderReading&) = delete;

    bool finished() const;

    struct Reading;

private:
    std::shared_ptr<Reading> m_reading;
    std::thread m_thread;
};

// What the start-up reading holds of `folder`; null or nothing when no reading of that folder lives, it
// crawled before reading the folder, or the part was taken already. The listing is kept only for the mask of
// all files; it is answered only once the entries are read.
std::shared_ptr<const FolderEntries> takeStartupEntries(const std::string& folder);
std::optional<FolderListing> takeStartupListing(const std::string& folder, std::string_view mask);

}  // namespace tarvelin
