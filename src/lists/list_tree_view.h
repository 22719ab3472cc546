#pragma once

#include <QTreeView>

#include "lists/list_tree.h"

namespace tarvelin {

class ListTreeModel;

// The binder tree (`TreeView1`): several nodes selectable with Ctrl and Shift, a right press selects the node
// under the pointer alone, F2 and Del are passed on as requests, no lines or buttons at the top level,
// selected nodes drawn with their selected-state image. Takes every drop; while a drag hovers it scrolls at
// the edges and opens a collapsed node after a short wait. The view shows the expansion the model holds and
// hands the user's expanding and collapsing to it.
class ListTreeView : public QTreeView {
    Q_OBJECT
public:
    ListTreeView(ListTreeModel& model, QWidget* parent = nullptr);
    using QTreeView::edit;
    // Accepts a label edit still open, as leaving the label would.
    void commitOpenEdit();

signals:
    // A right press: the node under the pointer, now selected alone, or kNoNode on empty space.
    void rightPressed(NodeId node);
    void renameRequested();  // F2
    void deleteRequested();  // Del
    // An accepted drop, its action already chosen; the window decides what it does.
    void dropped(QDropEvent* event);

protected:
    // A single row under a closed binder is not on the screen: nothing to repaint. A changed icon repaints
    // the shown rows: Qt would look for a single row among every row shown.
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void followExpansion(NodeId node, bool recursive);

    ListTreeModel& m_model;
    bool m_pressedInMultiSelection = false;
};

}  // namespace tarvelin
