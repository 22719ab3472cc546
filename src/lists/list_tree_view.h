#pragma once

#include <QTreeView>

namespace tarvelin {

class TList;

// The binder tree (`TreeView1`): several nodes selectable with Ctrl and Shift, a right press selects the node
// under the pointer alone and makes it the current node, F2 renames and Del deletes, no lines or buttons at
// the top level, selected nodes drawn with their selected-state image. Takes every drop; while a drag hovers
// it scrolls at the edges and opens a collapsed node after a short wait.
class ListTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit ListTreeView(TList& window, QWidget* parent = nullptr);
    using QTreeView::edit;
    // Accepts a label edit still open, as leaving the label would.
    void commitOpenEdit();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    TList& m_window;
    bool m_pressedInMultiSelection = false;
};

}  // namespace tarvelin
