#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/folder_entries.h"

namespace tarvelin {

// Reads the subfolders of the folder tree's nodes on worker threads, one thread per reading, so that a tree
// never waits on a volume that answers slowly or not at all. Every reading has a ticket of its own; the names
// come in sorted batches while the folder is read, the first as soon as the disk gives some.
class FolderTreeReader {
public:
    // A pass over a folder as scanFolder() makes it; called on the worker threads only.
    using Scan = std::function<int(const std::string&, FolderScanSink&)>;
    struct Batch {
        std::uint64_t ticket = 0;
        std::vector<std::string> names;  // subfolders read since the ticket's last batch, sorted without case
        bool last = false;               // the reading is over
        int error = 0;  // of the last batch: errno of a folder that could not be read, else 0
    };

    // By default a folder the start-up reading holds is taken from it (its wait then falls on the worker).
    explicit FolderTreeReader(bool includeHidden, Scan scan = {});
    // Returns at once, also while readings hang: their threads are left to end on their own.
    ~FolderTreeReader();
    FolderTreeReader(const FolderTreeReader&) = delete;
    FolderTreeReader& operator=(const FolderTreeReader&) = delete;

    // Called on a worker thread when batches start to wait after the last takeBatches(); it must not block (a
    // queued call to the window's thread). Never called once the reader is destroyed.
    void setNotify(std::function<void()> notify);

    // Starts reading the subfolders of `folder`; returns the ticket its batches carry.
    std::uint64_t read(std::string folder);
    // No reading started so far is answered any more.
    void cancelAll();
    std::vector<Batch> takeBatches();

    struct State;  // shared with the workers

private:
    std::shared_ptr<State> m_state;
};

}  // namespace tarvelin
