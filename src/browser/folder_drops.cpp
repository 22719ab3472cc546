#include "browser/folder_drops.h"

#include <QMenu>

#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "platform/file_job_texts.h"
#include "platform/file_operations.h"

namespace tarvelin {
namespace {

// Walks the loaded nodes in tree order; stops when `visit` returns true.
template <typename Visit>
bool walk(const QAbstractItemModel& model, const QModelIndex& parent, int& position, Visit&& visit) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex node = model.index(row, 0, parent);
        if (visit(node, position++)) return true;
        if (walk(model, node, position, visit)) return true;
    }
    return false;
}

}  // namespace

int treePosition(const QAbstractItemModel& model, const QModelIndex& node) {
    int position = 0, found = -1;
    walk(model, {}, position, [&](const QModelIndex& index, int at) {
        if (index != node) return false;
        found = at;
        return true;
    });
    return found;
}

QModelIndex nodeAtPosition(const QAbstractItemModel& model, int position) {
    int counter = 0;
    QModelIndex found;
    if (position < 0) return found;
    walk(model, {}, counter, [&](const QModelIndex& index, int at) {
        if (at != position) return false;
        found = index;
        return true;
    });
    return found;
}

QModelIndexList loadedNodesOf(const FolderTreeModel& model, const std::string& path) {
    // A root set from an item's folder may end in a separator.
    const auto trimmed = [](std::string_view p) {
        while (p.size() > 1 && p.back() == '/') p.remove_suffix(1);
        return p;
    };
    QModelIndexList found;
    int position = 0;
    walk(model, {}, position, [&](const QModelIndex& index, int) {
        if (trimmed(model.pathOf(index)) == trimmed(path)) found << index;
        return false;
    });
    return found;
}

FolderDrops::FolderDrops(FileOperations& operations, QWidget* window)
    : QObject(window), m_operations(operations) {
    PopupMenu2 = new QMenu(window);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    const auto item = [this](const char* name, const QString& text, void (FolderDrops::*handler)()) {
        QAction* action = PopupMenu2->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    N14 = item("N14", QStringLiteral("このフォルダににコピーする"), &FolderDrops::N14Click);
    N15 = item("N15", QStringLiteral("このフォルダに移動する"), &FolderDrops::N15Click);
    N16 = PopupMenu2->addSeparator();
    N16->setObjectName(QStringLiteral("N16"));
    N17 = item("N17", QStringLiteral("この位置にコピーする"), &FolderDrops::N17Click);
    N18 = item("N18", QStringLiteral("この位置に移動する"), &FolderDrops::N18Click);
}

void FolderDrops::setTrees(ShellTreeView* one, ShellTreeView* two) {
    m_trees[0] = one;
    m_trees[1] = two;
}

void FolderDrops::dragStarted(ShellTreeView& tree) {
    m_draggedPath = tree.selectedPath();
    m_draggedNode = tree.currentIndex();
    m_sourceTree = &tree;
}

bool FolderDrops::dropped(ShellTreeView& tree, const QPoint& pos, bool fromTree, const QPoint& globalPos) {
    m_targetNode = tree.indexAt(pos);
    m_targetPosition = treePosition(tree.folders(), m_targetNode);
    m_targetPath = tree.folders().pathOf(nodeAtPosition(tree.folders(), m_targetPosition));
    m_targetTree = &tree;
    // Empty tree space, or a drag from elsewhere: nothing more.
    if (!fromTree || !m_targetNode.isValid() || m_draggedPath.empty()) return false;
    PopupMenu2->popup(globalPos);
    return true;
}

void FolderDrops::refresh(ShellTreeView* tree, const QModelIndex& node) {
    if (tree && node.isValid()) tree->refreshNode(node);
}

void FolderDrops::refreshAt(ShellTreeView* tree, int position) {
    if (tree) refresh(tree, nodeAtPosition(tree->folders(), position));
}

void FolderDrops::refreshShowing(const std::string& path) {
    QList<ShellTreeView*> trees;
    for (ShellTreeView* tree :
         {m_trees[0].data(), m_trees[1].data(), m_sourceTree.data(), m_targetTree.data()})
        if (tree && !trees.contains(tree)) trees << tree;
    for (ShellTreeView* tree : trees) {
        // Persistent: a refresh may move the nodes after it.
        QList<QPersistentModelIndex> nodes;
        for (const QModelIndex& node : loadedNodesOf(tree->folders(), path)) nodes << node;
        for (const QPersistentModelIndex& node : nodes) refresh(tree, node);
    }
}

void FolderDrops::N14Click() {
    if (m_draggedPath.empty() || m_targetPath.empty()) return;
    m_operations.run({FileOperation::Copy, {m_draggedPath}, m_targetPath});
    refresh(m_targetTree, m_targetNode);
    refreshShowing(m_targetPath);
}

void FolderDrops::N15Click() {
    if (m_draggedPath.empty() || m_targetPath.empty()) return;
    m_operations.run({FileOperation::Move, {m_draggedPath}, m_targetPath});
    // Each of these may be gone by now (a node that moved, a tree without that many nodes): skipped then.
    const QPersistentModelIndex draggedParent = m_draggedNode.parent();
    refresh(m_targetTree, m_targetNode);
    refresh(m_sourceTree, draggedParent);
    refreshAt(m_targetTree, m_targetPosition);
    refreshAt(m_sourceTree, m_targetPosition);
    // Then whatever else shows the two folders, so no tree keeps a folder that has left.
    refreshShowing(m_targetPath);
    refreshShowing(parentFolder(m_draggedPath));
}

void FolderDrops::N17Click() {
    if (m_draggedPath.empty() || m_targetPath.empty()) return;
    m_operations.run({FileOperation::Copy, {m_draggedPath}, parentFolder(m_targetPath)});
    refresh(m_targetTree, m_targetNode.parent());
    refreshShowing(parentFolder(m_targetPath));
}

void FolderDrops::N18Click() {
    if (m_draggedPath.empty() || m_targetPath.empty()) return;
    const QPersistentModelIndex draggedParent = m_draggedNode.parent();
    m_operations.run({FileOperation::Move, {m_draggedPath}, parentFolder(m_targetPath)});
    refresh(m_targetTree, m_targetNode.parent());
    refresh(m_sourceTree, draggedParent);
    refreshShowing(parentFolder(m_targetPath));
    refreshShowing(parentFolder(m_draggedPath));
}

}  // namespace tarvelin
