#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace tarvelin {

enum class EntryKind { File, Folder, Other };

struct FolderEntry {
    std::string name;  // raw bytes as on disk; never "." or ".."
    EntryKind kind;    // of a link: of its target; a dangling link is Other
};

struct FolderEntries {
    std::vector<FolderEntry> entries;  // in the order scanFolder() gives them
    int error = 0;  // errno of a folder that could not be read; entries then holds what was read
};

// Where a pass over a folder hands its entries.
class FolderScanSink {
public:
    virtual ~FolderScanSink() = default;
    // An entry whose kind is known; false stops the pass.
    virtual bool take(FolderEntry&& entry) = 0;
    // The pass is about to ask the disk again, which may answer late or never.
    virtual void beforeAsking() {}
};

// One pass over the folder handing each entry on as soon as its kind is known: those whose kind the
// directory gives, as the disk returns them; after the last, the links and those the file system leaves open,
// each after its stat. Returns the errno of a folder that could not be read (or read to its end), else 0.
int scanFolder(const std::string& folder, FolderScanSink& sink);

// A whole pass of scanFolder(); a stat only where the file system leaves the kind open or the entry is a
// link. Answered from memory where a sharing scope or the start-up reading holds the folder.
std::shared_ptr<const FolderEntries> readFolderEntries(const std::string& folder);
// The same pass, always from the disk; `progress`, where given, counts the entries read so far.
FolderEntries readFolderFromDisk(const std::string& folder, std::atomic<size_t>* progress = nullptr);

// While one lives on this thread, the folder last read is kept and a second reading of it is answered from
// memory: the folder tree and the file list that show one folder together ask the disk once.
class SharedFolderReading {
public:
    SharedFolderReading();
    ~SharedFolderReading();
    SharedFolderReading(const SharedFolderReading&) = delete;
    SharedFolderReading& operator=(const SharedFolderReading&) = delete;

private:
    friend std::shared_ptr<const FolderEntries> readFolderEntries(const std::string& folder);

    SharedFolderReading* m_outer;
    std::string m_folder;
    std::shared_ptr<const FolderEntries> m_entries;
};

}  // namespace tarvelin
