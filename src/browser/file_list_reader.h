#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/folder_entries.h"

namespace tarvelin {

// Reads the file lists' folders on worker threads, so that a window never waits on a volume that answers
// slowly or not at all (a hung network mount, an unplugged disk). Each reading has a thread of its own: a
// later reading supersedes an earlier one at once, and one that hangs holds up nothing asked after it. The
// listed names come in sorted batches while the folder is read.
class FileListReader {
public:
    // A pass over a folder as scanFolder() makes it; called on the worker threads only.
    using Scan = std::function<int(const std::string&, FolderScanSink&)>;
    struct Batch {
        std::vector<std::string> names;  // what listFolderFiles() gives of the entries read since the last
        bool last = false;               // the reading is over
        int error = 0;  // of the last batch: errno of a folder that could not be read, else 0
    };

    explicit FileListReader(Scan scan = scanFolder);
    // Returns at once, also while a reading hangs: its thread is left to end on its own.
    ~FileListReader();
    FileListReader(const FileListReader&) = delete;
    FileListReader& operator=(const FileListReader&) = delete;

    // Called on a worker thread when batches start to wait after the last takeBatches(); it must not block (a
    // queued call to the window's thread). Never called once the reader is destroyed.
    void setNotify(std::function<void()> notify);

    // Starts reading `folder` for the files that match `mask`; from now on only its batches are answered.
    void read(std::string folder, std::string mask);
    // No reading is answered any more.
    void cancel();
    std::vector<Batch> takeBatches();

    struct State;  // shared with the workers

private:
    std::shared_ptr<State> m_state;
};

}  // namespace tarvelin
