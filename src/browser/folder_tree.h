#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "browser/desktop_places.h"

namespace tarvelin {

// The subfolders of `folder` (links to folders included), sorted without regard to case; hidden ones (leading
// ".") only when asked. `error` gets the errno of a folder that cannot be read, else 0.
std::vector<std::string> listSubfolders(const std::string& folder, bool includeHidden, int* error = nullptr);

// A node of a folder tree. Names and paths are the bytes on disk; the window converts them for display.
class FolderNode {
public:
    const std::string& name() const { return m_name; }
    // The folder the node stands for; the desktop node's is the desktop folder, whose files its list shows.
    const std::string& path() const { return m_path; }
    bool isDesktop() const { return m_desktop; }
    FolderNode* parent() const { return m_parent; }
    size_t row() const;  // index under the parent; 0 for the root. Constant time.

    // Children are read when the node is first expanded (FolderTree::readChildren).
    bool childrenRead() const { return m_childrenRead; }
    size_t childCount() const { return m_children.size(); }
    FolderNode& child(size_t row) const { return *m_children.at(row); }
    int readError() const { return m_readError; }  // errno of the last read of the children, else 0

private:
    friend class FolderTree;

    std::string m_name;
    std::string m_path;
    bool m_desktop = false;
    FolderNode* m_parent = nullptr;
    // The node's index under its parent, renumbered by every change of the siblings: a folder may hold
    // 100,000 subfolders and views ask for rows all the time.
    size_t m_row = 0;
    bool m_childrenRead = false;
    int m_readError = 0;
    std::vector<std::unique_ptr<FolderNode>> m_children;
};

// Told of every change in the order an item model must announce it (begin, change, end).
class FolderTreeObserver {
public:
    virtual ~FolderTreeObserver() = default;
    virtual void beginReset() {}
    virtual void endReset() {}
    virtual void beginInsert(const FolderNode& /*parent*/, size_t /*first*/, size_t /*last*/) {}
    virtual void endInsert() {}
    virtual void beginRemove(const FolderNode& /*parent*/, size_t /*first*/, size_t /*last*/) {}
    virtual void endRemove() {}
    // The parent's children change places among themselves; nodes and their children stay.
    virtual void beginReorder(const FolderNode& /*parent*/) {}
    virtual void endReorder(const FolderNode& /*parent*/) {}
};

// A folder tree with one root node, the desktop or a folder. It never watches the disk: it changes only when
// told to, by setRoot(), readChildren() and refresh().
class FolderTree {
public:
    static constexpr std::string_view kDesktop = "rfDesktop";
    static constexpr std::string_view kDesktopName = "デスクトップ";

    // When the desktop's first level is read: at once, or when readChildren() first asks for it (a tree that
    // is not shown yet need not touch the disk).
    enum class FirstRead { Now, WhenAsked };

    // Starts at the desktop. `showHidden` decides for hidden folders everywhere in this tree.
    FolderTree(bool showHidden, DesktopPlaces places, FirstRead firstRead = FirstRead::Now);

    void setObserver(FolderTreeObserver* observer) { m_observer = observer; }

    // "rfDesktop" or a folder path, as last set.
    const std::string& root() const { return m_root; }
    FolderNode& rootNode() const { return *m_rootNode; }

    // Rebuilds the tree at `root` ("rfDesktop", any letter case, or a folder path) with its first level read.
    // A root equal to the current one does nothing; folder paths are compared byte for byte, since on Linux
    // "Docs" and "docs" are two folders. A folder that does not exist gives a root node without children.
    // Returns whether the tree was rebuilt.
    bool setRoot(std::string_view root, FirstRead firstRead = FirstRead::Now);

    // Reads the node's children if they have not been read yet.
    void readChildren(FolderNode& node);

    // Reads the node's folder again, and below it every folder already read: vanished folders go, new ones
    // come in their sorted place, and nodes that remain are kept with their own children, so a view keeps
    // their expanded state and its selection.
    void refresh(FolderNode& node);

    // When the root is a folder that no longer exists, sets the root to the desktop. A tree at the desktop
    // keeps its nodes. Returns whether the tree was rebuilt.
    bool resetVanishedRoot();

    // A reading of a node's children made elsewhere (the item model reads on worker threads): the desktop's
    // places go in at once, then the subfolders as they are read, each batch sorted without case, then the
    // reading ends and the node counts as read.
    void startChildren(FolderNode& node);
    void addChildren(FolderNode& node, std::vector<std::string> sortedNames);
    void finishChildren(FolderNode& node, int error);
    // refresh() of the node alone, with its subfolders read elsewhere.
    void refreshWith(FolderNode& node, std::vector<std::string> sortedNames, int error);

private:
    struct ChildEntry {
        std::string name;
        std::string path;
    };

    using PathSet = std::unordered_set<std::string_view>;

    std::vector<ChildEntry> placeEntries() const;
    // The subfolders' entries without the folders `places` name already: only the desktop can name a folder
    // twice (a place that is also on the desktop); a folder's own entries are unique.
    std::vector<ChildEntry> folderEntries(const FolderNode& node, std::vector<std::string> names,
                                          const PathSet& places) const;
    std::unique_ptr<FolderNode> makeNode(FolderNode* parent, ChildEntry entry) const;
    // Each change is announced as one range: a run of neighbouring folders costs one view update.
    void insertChildren(FolderNode& parent, size_t row, std::vector<ChildEntry>::iterator first,
                        std::vector<ChildEntry>::iterator last);
    void removeChildren(FolderNode& parent, size_t first, size_t end);

    bool m_showHidden;
    DesktopPlaces m_places;
    FolderTreeObserver* m_observer = nullptr;
    std::string m_root;
    std::unique_ptr<FolderNode> m_rootNode;
    size_t m_placeCount = 0;  // of the desktop's children, the places at the top
};

}  // namespace tarvelin
