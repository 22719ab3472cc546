#include "browser/file_list_box.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>

#include "browser/file_glyph.h"
#include "browser/file_list_delegate.h"
#include "browser/file_list_model.h"
#include "widgets/pane_drag.h"
#include "widgets/ui_font.h"

namespace tarvelin {

FileListBox::FileListBox(const QString& name, FileListModel& model, QWidget* parent)
    : QListView(parent), m_model(&model) {
    setObjectName(name);
    setFont(uiFont(15));
    setItemDelegate(new FileListDelegate(this));
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows all have one height, so one pass places 100,000 of them in a few milliseconds. Laid out in
    // batches, the view finds no row to paint until the last batch is done.
    setUniformItemSizes(true);
    setLayoutMode(QListView::SinglePass);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // Focus comes from the press handler: a right press on a list with several selected items must not take
    // it.
    setFocusPolicy(Qt::TabFocus);
    auto changed = [this] { m_userChanged = m_userChanged || m_userInput; };
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, changed);
}

template <typename Handle>
void FileListBox::asUserInput(Handle handle) {
    m_userInput = true;
    m_userChanged = false;
    handle();
    m_userInput = false;
    if (m_userChanged) emit userSelectionChanged();
}

int FileListBox::selectedCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

std::vector<int> FileListBox::selectedRowsInOrder() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::string FileListBox::filePath() const {
    const QModelIndex focused = currentIndex();
    return m_model->list().filePath(focused.isValid() ? focused.row() : -1,
                                    focused.isValid() && selectionModel()->isSelected(focused));
}

void FileListBox::rightButtonPress(const QPoint& pos) {
    if (selectedCount() > 1) return;  // the selection stays for the pop-up menu
    setFocus(Qt::MouseFocusReason);
    const QModelIndex index = indexAt(pos);
    if (index.isValid()) selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    emit madeCurrent();
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        rightButtonPress(pos);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const QModelIndex index = indexAt(pos);
    if (event->button() == Qt::LeftButton && index.isValid() && selectionModel()->isSelected(index) &&
        (!shift || ctrl)) {
        m_dragPending = true;
        m_pressPos = event->position();
        m_pressGlobalPos = event->globalPosition();
        m_pressModifiers = mods;
        return;
    }
    setDragEnabled(!shift && !ctrl);
    asUserInput([&] { QListView::mousePressEvent(event); });
}

void FileListBox::mouseMoveEvent(QMouseEvent* event) {
    // Only the left button selects or drags; the right one never reached the view's own press handling.
    if (event->buttons() != Qt::NoButton && !(event->buttons() & Qt::LeftButton)) return;
    if (m_dragPending) {
        if ((event->position() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragPending = false;
            startDrag(m_model->supportedDragActions());
        }
        return;
    }
    asUserInput([&] { QListView::mouseMoveEvent(event); });
}

void FileListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) return;  // the press already did all a right click does
    asUserInput([&] {
        if (m_dragPending) {
            // No drag after all: the press counts as an ordinary click on the item.
            m_dragPending = false;
            QMouseEvent press(QEvent::MouseButtonPress, m_pressPos, m_pressGlobalPos, Qt::LeftButton,
                              Qt::LeftButton, m_pressModifiers);
            QListView::mousePressEvent(&press);
        }
        QListView::mouseReleaseEvent(event);
    });
    setDragEnabled(true);
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        rightButtonPress(event->position().toPoint());
        return;
    }
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit DblClick();
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit DblClick();
        event->accept();
        return;
    }
    asUserInput([&] { QListView::keyPressEvent(event); });
}

void FileListBox::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
    emit madeCurrent();
}

void FileListBox::contextMenuEvent(QContextMenuEvent* event) {
    emit popupRequested(event->globalPos());
    event->accept();
}

QMimeData* FileListBox::dragData() const {
    const std::vector<int> rows = selectedRowsInOrder();
    if (rows.empty()) return nullptr;
    QModelIndexList indexes;
    for (int row : rows) indexes.push_back(m_model->index(row));
    QMimeData* data = m_model->mimeData(indexes);
    setPaneDragSource(*data, objectName());
    return data;
}

void FileListBox::startDrag(Qt::DropActions supportedActions) {
    QMimeData* data = dragData();
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QModelIndex first = m_model->index(selectedRowsInOrder().front());
    drag->setPixmap(fileGlyphPixmap(static_cast<FileGlyph>(first.data(FileListModel::GlyphRole).toInt())));
    drag->exec(supportedActions, Qt::CopyAction);
}

// Every drag is welcome over the list; what a drop does belongs to the file commands.
void FileListBox::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void FileListBox::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void FileListBox::dropEvent(QDropEvent* event) {
    const QString source = event->source() ? paneDragSource(*event->mimeData()) : QString();
    if (source.isEmpty()) {
        // Not accepted, so a program that offered a move keeps its files.
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(source);
}

}  // namespace tarvelin
