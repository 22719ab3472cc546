#include "browser/shell_tree_view.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>

#include "browser/folder_tree_model.h"
#include "widgets/pane_drag.h"

namespace tarvelin {

ShellTreeView::ShellTreeView(const QString& name, FolderTreeModel& model, QWidget* parent)
    : QTreeView(parent), m_model(&model) {
    setObjectName(name);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(kIndent);
    setUniformRowHeights(true);
    // One column as wide as its deepest name, so that deep trees scroll sideways instead of cutting names.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    // The hidden header's own font would otherwise be measured for a floor under the column's width.
    header()->setMinimumSectionSize(0);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setModel(m_model);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ShellTreeView::showNewRoot);
    connect(m_model, &FolderTreeModel::nodesAboutToGo, this, &ShellTreeView::keepSelectionOfGoing);
    connect(m_model, &FolderTreeModel::refreshed, this, [this](const QModelIndex& node) {
        if (node == m_refreshed && m_keptTop.isValid()) scrollTo(m_keptTop, QAbstractItemView::PositionAtTop);
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ShellTreeView::selectedFolderChanged);
    showNewRoot();
}

const std::string& ShellTreeView::root() const {
    return m_model->root();
}

void ShellTreeView::setRoot(std::string_view root) {
    m_model->setRoot(root);
}

std::string ShellTreeView::selectedPath() const {
    return m_model->pathOf(currentIndex());
}

void ShellTreeView::showNewRoot() {
    const QModelIndex root = m_model->rootIndex();
    expand(root);
    setCurrentIndex(root);
}

void ShellTreeView::keepSelectionOfGoing(const QModelIndex& parent, int first, int last) {
    // A selected folder that goes hands the selection to its nearest parent that stays (the view would pick a
    // neighbour, or nothing).
    for (QModelIndex at = currentIndex(); at.isValid(); at = at.parent()) {
        if (at.parent() == parent && at.row() >= first && at.row() <= last) {
            setCurrentIndex(parent);
            return;
        }
    }
}

void ShellTreeView::refreshNode(const QModelIndex& index) {
    m_keptTop = indexAt(QPoint(0, 0));
    m_refreshed = index;
    m_model->refresh(index);
}

void ShellTreeView::refreshFromTop() {
    QModelIndex top = indexAt(QPoint(0, 0));
    if (!m_model->nodeAt(top)) top = m_model->rootIndex();
    m_keptTop = top;
    m_refreshed = top;
    m_model->refreshFromTop(top);
}

void ShellTreeView::focusOutEvent(QFocusEvent* event) {
    QTreeView::focusOutEvent(event);
    emit focusLost();
}

QMimeData* ShellTreeView::dragData() const {
    const QModelIndex selected = currentIndex();
    if (!selected.isValid()) return nullptr;
    QMimeData* data = m_model->mimeData({selected});
    setPaneDragSource(*data, objectName());
    return data;
}

void ShellTreeView::startDrag(Qt::DropActions supportedActions) {
    // The press selected the node, so the selected folder is the one dragged.
    QMimeData* data = dragData();
    if (data) emit folderDragStarted();
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(currentIndex().data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16));
    drag->exec(supportedActions, Qt::CopyAction);
}

// Every drag is welcome over the tree; what a drop does belongs to the file commands.
void ShellTreeView::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void ShellTreeView::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void ShellTreeView::dropEvent(QDropEvent* event) {
    const bool fromTree =
        event->source() && paneDragSource(*event->mimeData()).startsWith(QLatin1String("ShellTreeView"));
    // Only our own trees' drags are taken: a program that offered a move keeps its files.
    if (fromTree) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
    const QPoint at = event->position().toPoint();
    emit dropped(at, fromTree, viewport()->mapToGlobal(at));
}

}  // namespace tarvelin
