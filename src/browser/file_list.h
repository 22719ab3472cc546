#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

// What a file list pane shows: a folder's plain files that match the mask, sorted without regard to case.
// Names are the bytes on disk; the window converts them only for display. Selection and the focused item
// belong to the view; this holds what is read.
class FileList {
public:
    static constexpr std::string_view kAllFiles = "*.*";

    // The folder (normalised: no trailing "/" except at the root). Empty until a folder is shown.
    const std::string& folder() const { return m_folder; }
    const std::string& mask() const { return m_mask; }
    const std::vector<std::string>& items() const { return m_items; }
    size_t size() const { return m_items.size(); }
    const std::string& name(size_t index) const { return m_items.at(index); }

    // errno of the last read when the folder could not be read (missing, not a folder, no permission), else
    // 0. The list is then empty or holds what was read before the failure; nothing is shown to the user.
    int readError() const { return m_readError; }

    // Shows `folder`, re-reading only when it differs from the current folder. Folders are compared byte for
    // byte: on Linux "Docs" and "docs" are two folders. Returns whether the list was re-read.
    bool showFolder(std::string_view folder);

    // Sets the mask; an equal mask (letter case included) re-reads nothing. Returns whether the list was
    // re-read.
    bool setMask(std::string_view mask);

    // Lists the folder again with the current mask.
    void reread();

    // A reading in steps, off the window's thread: startReading() empties the list for the folder and the
    // mask, sorted batches of names come in through insertionRuns() and insert() or merge(), finishReading()
    // ends it with the errno of the folder (0 when it was read).
    void startReading(std::string_view folder, std::string_view mask);
    bool beingRead() const { return m_beingRead; }
    void finishReading(int error);
    // Where a sorted batch goes: runs of it, each at its place in the list as it is before any of them.
    struct Run {
        size_t at;     // in the list
        size_t first;  // in the batch
        size_t count;
    };
    std::vector<Run> insertionRuns(const std::vector<std::string>& batch) const;
    // Inserting the runs from the last to the first keeps the places of the others right.
    void insert(const Run& run, std::vector<std::string>& batch);
    // The whole batch at once, in time linear in the two.
    void merge(std::vector<std::string>&& batch);

    // The folder joined with the item's name.
    std::string itemPath(size_t index) const;

    // The focused item's path when it is selected, else empty. `focused` may be out of range (no focus).
    std::string filePath(std::ptrdiff_t focused, bool focusedSelected) const;

private:
    std::string m_folder;
    std::string m_mask{kAllFiles};
    std::vector<std::string> m_items;
    int m_readError = 0;
    bool m_beingRead = false;
};

}  // namespace tarvelin
