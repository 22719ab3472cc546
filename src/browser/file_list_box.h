#pragma once

#include <QListView>
#include <string>
#include <vector>

class QMimeData;

namespace tarvelin {

class FileListModel;

// A file list (`FileListBox1`, `FileListBox2`): multiple selection with Shift and Ctrl, glyphs, rows of 16
// px, the focused item as the view's current index.
//
// Mouse rules of its own: a right-button press keeps a selection of several items for the pop-up menu and
// otherwise selects only the item under the pointer; a left press on a selected item without Shift (or with
// Shift and Ctrl) leaves the selection alone so that all selected files are dragged; other presses with Shift
// or Ctrl only select. Enter does what a double click does.
class FileListBox final : public QListView {
    Q_OBJECT
public:
    // The view shows `model`, which its pane owns and which outlives it.
    FileListBox(const QString& name, FileListModel& model, QWidget* parent = nullptr);

    FileListModel& files() const { return *m_model; }

    int selectedCount() const;
    std::vector<int> selectedRowsInOrder() const;
    // The focused item's path when it is selected, else empty.
    std::string filePath() const;
    // What a drag from the list carries: the selected items' paths in list order and this list's name. The
    // caller owns it; nullptr when nothing is selected.
    QMimeData* dragData() const;

signals:
    // A double click or the Enter key.
    void DblClick();
    // The list took the input focus, or a right-button press made it the list the commands act on.
    void madeCurrent();
    void popupRequested(const QPoint& globalPos);
    // The user's left button or keys changed the selection or the focused item; the right-button rule and the
    // program's own changes are not reported.
    void userSelectionChanged();
    // A drag was dropped on the list; `source` names the pane control it came from (empty for drags from
    // other programs or other windows).
    void filesDropped(const QString& source);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void rightButtonPress(const QPoint& pos);
    // Runs the view's own handling of a user's input, reporting what it changed.
    template <typename Handle>
    void asUserInput(Handle handle);

    FileListModel* m_model;  // not owned
    // A left press on a selected item waits: a move starts the drag, a release is an ordinary click.
    bool m_dragPending = false;
    QPointF m_pressPos;
    QPointF m_pressGlobalPos;
    Qt::KeyboardModifiers m_pressModifiers;
    bool m_userInput = false;
    bool m_userChanged = false;
};

}  // namespace tarvelin
