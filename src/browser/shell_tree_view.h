#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>
#include <string>
#include <string_view>

class QMimeData;

namespace tarvelin {

class FolderTreeModel;

// A folder tree (`ShellTreeView1`, `ShellTreeView2`) on a model of its own. Setting the root expands the new
// root node one level and selects it. A drag carries the selected folder.
class ShellTreeView final : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kIndent = 19;

    // The view shows `model`, which its pane owns and which outlives it.
    ShellTreeView(const QString& name, FolderTreeModel& model, QWidget* parent = nullptr);

    FolderTreeModel& folders() const { return *m_model; }

    const std::string& root() const;
    // "rfDesktop" (any letter case) or a folder path; an equal root does nothing.
    void setRoot(std::string_view root);
    // The selected node's path; empty when no node is selected.
    std::string selectedPath() const;
    // What a drag from the tree carries: the selected folder and this tree's name. The caller owns it;
    // nullptr when no node is selected.
    QMimeData* dragData() const;

    // The refresh command: the node at the top of the view is read again, and a root folder that turns out
    // gone gives way to the desktop. Expanded folders, the selection and the top node stay where they are.
    void refreshFromTop();
    void refreshNode(const QModelIndex& index);

signals:
    void selectedFolderChanged();
    // A drag of the selected folder starts.
    void folderDragStarted();
    // A drag was dropped at `pos` (viewport coordinates); `fromTree` when it came from one of our trees.
    void dropped(const QPoint& pos, bool fromTree, const QPoint& globalPos);
    void focusLost();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void showNewRoot();
    void keepSelectionOfGoing(const QModelIndex& parent, int first, int last);

    FolderTreeModel* m_model;           // not owned
    QPersistentModelIndex m_keptTop;    // at the top of the view when a refresh was asked for
    QPersistentModelIndex m_refreshed;  // the node that refresh read
};

}  // namespace tarvelin
