#include "lists/list_drops.h"

#include <QCursor>
#include <QDragMoveEvent>
#include <QMenu>
#include <QMimeData>

#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"
#include "lists/list_window.h"
#include "lists/node_kinds.h"
#include "platform/dialogs.h"
#include "widgets/pane_drag.h"

namespace tarvelin {
namespace {

const QString kAimAtBinder = QStringLiteral("バインダーにドラッグしてください");
const QString kNoLevelUnderItem = QStringLiteral("ファイルまたはフォルダに下位の階層を作ることはできません");
const QString kNotLocal = QStringLiteral(
    "ローカルのファイルやフォルダではない項目はリストに追加できません（%1個を追加しませんでした）");

}  // namespace

UriListPaths localPathsOfUriList(const QByteArray& uriList) {
    UriListPaths result;
    for (QByteArray line : uriList.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        QByteArray rest;
        if (line.startsWith("file:///"))
            rest = line.mid(7);
        else if (line.startsWith("file://localhost/"))
            rest = line.mid(16);
        else if (line.startsWith("file:/") && !line.startsWith("file://"))
            rest = line.mid(5);
        if (rest.isEmpty()) {
            ++result.ignored;
            continue;
        }
        const QByteArray path = QByteArray::fromPercentEncoding(rest);
        // A NUL names nothing on disk and would end the path early.
        if (path.contains('\0')) {
            ++result.ignored;
            continue;
        }
        result.paths.push_back(path.toStdString());
    }
    return result;
}

ListDrops::ListDrops(TList& window, Dialogs& dialogs)
    : QObject(&window), m_window(window), m_dialogs(dialogs), m_model(*window.model()) {
    PopupMenu2 = new QMenu(&window);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    const auto add = [this](const char* name, const QString& caption) {
        QAction* action = PopupMenu2->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    N10 = add("N10", QStringLiteral("ここに移動"));
    N11 = add("N11", QStringLiteral("このバインダーに入れる"));
    N12 = add("N12", QStringLiteral("キャンセル"));
    showMoveMenu = [](QMenu& menu) { return menu.exec(QCursor::pos()); };
}

void ListDrops::acceptDrag(QDropEvent& event) {
    if (event.possibleActions() & Qt::CopyAction)
        event.setDropAction(Qt::CopyAction);
    else if (event.possibleActions() & Qt::LinkAction)
        event.setDropAction(Qt::LinkAction);
    else if (!event.source()) {
        event.ignore();
        return;
    }
    event.accept();
}

void ListDrops::drop(const QMimeData& data, QObject* source, QPoint pos) {
    const ListTree& tree = m_model.tree();
    m_dropTarget = m_model.nodeOf(m_window.TreeView1->indexAt(pos));
    if (m_dropTarget == kNoNode) {
        const NodeId selected = m_window.selectedNode();
        if (selected != kNoNode && isItem(tree, selected)) m_dialogs.message(kAimAtBinder);
        return;
    }
    if (!source) {
        dropFromOtherProgram(data);
        return;
    }
    const QString sourceName = source->objectName();
    if (sourceName == QLatin1String("ShellTreeView1")) {
        if (isItem(tree, m_dropTarget)) {
            m_dialogs.message(kNoLevelUnderItem);
            return;
        }
        dropFolder(paneDragPaths(data));
    } else if (sourceName == QLatin1String("FileListBox1")) {
        addFiles(paneDragPaths(data), false);
    } else if (source == m_window.TreeView1) {
        rearrange();
    }
    m_model.markModified();
}

void ListDrops::dropFolder(const std::vector<std::string>& paths) {
    // The drag carries the tree's selected folder; a drag without one adds nothing rather than a bare name.
    if (paths.empty() || paths.front().empty()) return;
    m_lastAdded = m_model.addChildren(m_dropTarget, {{paths.front(), icons::kFolder, icons::kSelectedItem}});
}

void ListDrops::addFiles(std::vector<std::string> paths, bool foldersToo) {
    // Each path is the file list's folder joined to a listed name, in list order.
    std::vector<ListTreeModel::NewNode> nodes;
    nodes.reserve(paths.size());
    for (std::string& path : paths) {
        const int icon =
            foldersToo && pathKind(path) == PathKind::Folder ? icons::kFolder : extensionIcon(path);
        nodes.push_back({std::move(path), icon, icons::kSelectedItem});
    }
    const NodeId last = m_model.addChildren(m_dropTarget, nodes);
    if (last == kNoNode) return;
    m_lastAdded = last;
    m_model.setExpanded(m_dropTarget, true, false);
}

void ListDrops::dropFromOtherProgram(const QMimeData& data) {
    UriListPaths found = localPathsOfUriList(data.data(QStringLiteral("text/uri-list")));
    if (!data.hasFormat(QStringLiteral("text/uri-list")) && data.hasText()) ++found.ignored;
    if (!found.paths.empty()) addFiles(std::move(found.paths), true);
    if (found.ignored > 0) m_dialogs.message(kNotLocal.arg(found.ignored));
}

void ListDrops::rearrange() {
    const ListTree& tree = m_model.tree();
    const QItemSelectionModel* selection = m_window.TreeView1->selectionModel();
    std::vector<NodeId> selected;
    for (const QModelIndex& index : selection->selectedIndexes()) selected.push_back(m_model.nodeOf(index));
    if (selected.size() > 1) {
        std::vector<NodeId> inOrder;
        inOrder.reserve(selected.size());
        std::sort(selected.begin(), selected.end());
        tree.visitTreeOrder([&](NodeId node, size_t) {
            if (std::binary_search(selected.begin(), selected.end(), node)) inOrder.push_back(node);
            return inOrder.size() < selected.size();
        });
        selected = std::move(inOrder);
    }
    const bool ontoItem = isItem(tree, m_dropTarget);
    for (NodeId node : selected) {
        if (ontoItem) {
            reorderNextTo(node, m_dropTarget);
            return;
        }
        QAction* chosen = showMoveMenu(*PopupMenu2);
        if (chosen == N10)
            N10Click();
        else if (chosen == N11)
            N11Click();
    }
}

void ListDrops::reorderNextTo(NodeId node, NodeId target) {
    const ListTree& tree = m_model.tree();
    const size_t a = tree.index(node);
    const size_t b = tree.index(target);
    const bool last = b + 1 == tree.children(tree.parent(target)).size();
    // The model opens the new parent with the move.
    if (a < b && !last)
        m_model.move(node, tree.next(target), MoveMode::InsertBefore);
    else if (a > b && !last)
        m_model.move(node, target, MoveMode::InsertBefore);
    else
        m_model.move(node, target, MoveMode::AddAsLastSibling);
}

void ListDrops::N10Click() {
    const NodeId current = m_window.currentNode();
    const NodeId target = m_dropTarget;
    const ListTree& tree = m_model.tree();
    if (current == kNoNode || !tree.isValid(target) || !tree.isValid(current)) return;
    m_model.markModified();
    // A node cannot go into its own subtree: then nothing moves and its binder keeps its icon.
    if (tree.isInSubtree(target, current)) return;
    const NodeId parent = tree.parent(current);
    if (parent != kNoNode && tree.children(parent).size() == 1)
        m_model.setIcons(parent, icons::kEmptyBinder, tree.selectedIcon(parent));
    m_model.move(current, target, MoveMode::InsertBefore);
}

void ListDrops::N11Click() {
    const NodeId node = m_window.selectedNode();
    const NodeId target = m_dropTarget;
    const ListTree& tree = m_model.tree();
    if (node == kNoNode || !tree.isValid(target)) return;
    m_model.markModified();
    const NodeId parent = tree.parent(node);
    if (!m_model.move(node, target, MoveMode::AddAsLastChild)) return;
    if (tree.icon(target) == icons::kEmptyBinder)
        m_model.setIcons(target, icons::kBinder, tree.selectedIcon(target));
    if (parent != kNoNode && !tree.hasChildren(parent))
        m_model.setIcons(parent, icons::kEmptyBinder, tree.selectedIcon(parent));
}

}  // namespace tarvelin
