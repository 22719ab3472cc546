#include "lists/list_tree_view.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "lists/list_drops.h"
#include "lists/list_tree_model.h"

namespace tarvelin {
namespace {

// Selected nodes show the selected-state image the model holds; painting asks nothing else.
class SelectedImageDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->state & QStyle::State_Selected)
            option->icon = index.data(ListTreeModel::SelectedDecorationRole).value<QIcon>();
    }
};

}  // namespace

ListTreeView::ListTreeView(ListTreeModel& model, QWidget* parent) : QTreeView(parent), m_model(model) {
    setObjectName(QStringLiteral("TreeView1"));
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(19);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setAutoExpandDelay(600);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setIconSize(QSize(16, 16));
    setItemDelegate(new SelectedImageDelegate(this));
    setModel(&model);
    connect(&model, &ListTreeModel::expansionChanged, this, &ListTreeView::followExpansion);
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { m_model.setExpanded(m_model.nodeOf(index), true, false); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { m_model.setExpanded(m_model.nodeOf(index), false, false); });
}

void ListTreeView::followExpansion(NodeId node, bool recursive) {
    const ListTree& tree = m_model.tree();
    if (recursive) {
        // A whole subtree in one layout: while one is pending, the view only notes each node's state.
        scheduleDelayedItemsLayout();
        // Every node with children below it, also those the view has expanded under a collapsed parent.
        std::vector<NodeId> pending(tree.children(node).begin(), tree.children(node).end());
        while (!pending.empty()) {
            const NodeId n = pending.back();
            pending.pop_back();
            if (!tree.hasChildren(n)) continue;
            setExpanded(m_model.indexOf(n), tree.isExpanded(n));
            pending.insert(pending.end(), tree.children(n).begin(), tree.children(n).end());
        }
    }
    setExpanded(m_model.indexOf(node), tree.isExpanded(node));
}

void ListTreeView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>& roles) {
    if (topLeft == bottomRight) {
        const ListTree& tree = m_model.tree();
        for (NodeId parent = tree.parent(m_model.nodeOf(topLeft)); parent != kNoNode;
             parent = tree.parent(parent))
            if (!tree.isExpanded(parent)) return;
    }
    const auto iconRole = [](int role) {
        return role == Qt::DecorationRole || role == ListTreeModel::SelectedDecorationRole ||
               role == ListTreeModel::IconRole || role == ListTreeModel::SelectedIconRole;
    };
    if (!roles.isEmpty() && std::all_of(roles.begin(), roles.end(), iconRole)) {
        // Icons settling by the thousand: the shown rows are painted again at once, coalesced.
        viewport()->update();
        return;
    }
    QTreeView::dataChanged(topLeft, bottomRight, roles);
}

void ListTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        // The pop-up acts on this node alone.
        if (index.isValid()) selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        emit rightPressed(m_model.nodeOf(index));
        event->accept();
        return;
    }
    m_pressedInMultiSelection = selectionModel()->selectedIndexes().size() > 1;
    QTreeView::mousePressEvent(event);
}

bool ListTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A click on one node of several selected ones selects it alone; only a click on the one selected node
    // renames it.
    if (trigger == SelectedClicked && m_pressedInMultiSelection) return false;
    return QTreeView::edit(index, trigger, event);
}

void ListTreeView::commitOpenEdit() {
    if (state() != QAbstractItemView::EditingState) return;
    // Editing always starts on the current node (F2 or a click on the selected one).
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void ListTreeView::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_F2) {
            emit renameRequested();
            return;
        }
        if (event->key() == Qt::Key_Delete) {
            emit deleteRequested();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void ListTreeView::dragEnterEvent(QDragEnterEvent* event) {
    QTreeView::dragEnterEvent(event);
    ListDrops::acceptDrag(*event);
    if (event->isAccepted()) setState(QAbstractItemView::DraggingState);
}

void ListTreeView::dragMoveEvent(QDragMoveEvent* event) {
    // The base view highlights the node under the pointer, scrolls and starts the timer that opens it.
    QTreeView::dragMoveEvent(event);
    ListDrops::acceptDrag(*event);
}

void ListTreeView::dropEvent(QDropEvent* event) {
    ListDrops::acceptDrag(*event);
    stopAutoScroll();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    if (event->isAccepted()) emit dropped(event);
}

}  // namespace tarvelin
