#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <string>

class QAbstractItemModel;
class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace tarvelin {

class FileOperations;
class FolderTreeModel;
class ShellTreeView;

// Folder drags between and within the trees: the state kept from the drag to the command chosen after the
// drop, the pop-up menu `PopupMenu2` and its commands.
class FolderDrops final : public QObject {
    Q_OBJECT
public:
    FolderDrops(FileOperations& operations, QWidget* window);

    QMenu* PopupMenu2 = nullptr;
    QAction* N14 = nullptr;  // copy into the drop target
    QAction* N15 = nullptr;  // move into the drop target
    QAction* N16 = nullptr;  // separator
    QAction* N17 = nullptr;  // copy beside the drop target (into the folder holding it)
    QAction* N18 = nullptr;  // move beside the drop target

    // Both panes' trees: after a command, each node of either one that shows a changed folder is refreshed.
    void setTrees(ShellTreeView* one, ShellTreeView* two);

    // A drag started in `tree`: its selected folder is what moves.
    void dragStarted(ShellTreeView& tree);
    // A drop on `tree` at `pos` (viewport coordinates). Records the drop target; when the drag came from a
    // tree and a node lies under the pointer, PopupMenu2 opens at `globalPos`. Returns whether it opened.
    bool dropped(ShellTreeView& tree, const QPoint& pos, bool fromTree, const QPoint& globalPos);

    void N14Click();
    void N15Click();
    void N17Click();
    void N18Click();

    const std::string& draggedPath() const { return m_draggedPath; }
    const std::string& targetPath() const { return m_targetPath; }
    int targetPosition() const { return m_targetPosition; }

private:
    void refresh(ShellTreeView* tree, const QModelIndex& node);
    void refreshAt(ShellTreeView* tree, int position);
    // Every loaded node showing `path`, in every tree: a tree that is neither the drag's source nor its
    // target may show the folders too.
    void refreshShowing(const std::string& path);

    FileOperations& m_operations;
    std::string m_draggedPath;
    QPersistentModelIndex m_draggedNode;
    QPointer<ShellTreeView> m_sourceTree;
    QPersistentModelIndex m_targetNode;
    int m_targetPosition = -1;
    std::string m_targetPath;
    QPointer<ShellTreeView> m_targetTree;
    QPointer<ShellTreeView> m_trees[2];
};

// A node's place among all loaded nodes of its tree, counted from the top in tree order from 0; -1 for none.
int treePosition(const QAbstractItemModel& model, const QModelIndex& node);
// The node at that place, or an invalid index.
QModelIndex nodeAtPosition(const QAbstractItemModel& model, int position);
// The loaded nodes whose folder is `path`, in tree order.
QModelIndexList loadedNodesOf(const FolderTreeModel& model, const std::string& path);

}  // namespace tarvelin
