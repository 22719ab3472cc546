#include "lists/list_tree_view.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "lists/list_drops.h"
#include "lists/list_tree_model.h"
#include "lists/list_window.h"
#include "widgets/image_list.h"

namespace tarvelin {
namespace {

class SelectedImageDelegate : public QStyledItemDelegate {
public:
    SelectedImageDelegate(TList& window, QObject* parent) : QStyledItemDelegate(parent), m_window(window) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->state & QStyle::State_Selected)
            option->icon = imageListIcon(m_window.selectedImageOf(static_cast<NodeId>(index.internalId())));
    }

private:
    TList& m_window;
};

}  // namespace

ListTreeView::ListTreeView(TList& window, QWidget* parent) : QTreeView(parent), m_window(window) {
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
    setItemDelegate(new SelectedImageDelegate(window, this));
}

void ListTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        m_window.setCurrentNode(index.isValid() ? static_cast<NodeId>(index.internalId()) : kNoNode);
        if (index.isValid()) {
            // The pop-up acts on this node alone.
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            m_window.setCurrentNode(static_cast<NodeId>(index.internalId()));
        }
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
            m_window.renameSelected();
            return;
        }
        if (event->key() == Qt::Key_Delete) {
            m_window.Delete1Click();
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
    if (event->isAccepted()) m_window.TreeView1DragDrop(event);
}

}  // namespace tarvelin
