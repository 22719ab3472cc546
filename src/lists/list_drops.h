#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lists/list_tree.h"
#include "platform/path_kind.h"

class QAction;
class QDialog;
class QDropEvent;
class QMenu;
class QMimeData;
class QTimer;

namespace tarvelin {

class Dialogs;
class ListTreeModel;
class PathKindService;
class TList;
struct PaneDragEntry;

// Drops onto a list window's binder tree: folders and files from the main window's panes, nodes dragged
// within the same tree (with the move menu on binders), and file URLs from other programs.
//
// Whether a path from another program names a folder is asked on worker threads: such a drop is finished
// when every answer has come, onto its target if that node is still in the list. The window stays live
// meanwhile; a drop still waiting after promptDelayMs shows a small prompt that can cancel it.
class ListDrops : public QObject {
    Q_OBJECT
public:
    ListDrops(TList& window, Dialogs& dialogs, PathProbe probe);
    ~ListDrops() override;

    // Every drag is taken, as a copy or a link: a program offering a move would delete what it sent.
    static void acceptDrag(QDropEvent& event);
    // A drop at pos (viewport coordinates) of data that a drag from source (nullptr: another program)
    // carries.
    void drop(const QMimeData& data, QObject* source, QPoint pos);

    NodeId dropTarget() const { return m_dropTarget; }
    NodeId lastAdded() const { return m_lastAdded; }

    void N10Click();  // move the current node before the drop target
    void N11Click();  // put the selected node into the drop target

    QMenu* PopupMenu2 = nullptr;
    QAction* N10 = nullptr;
    QAction* N11 = nullptr;
    QAction* N12 = nullptr;

    // Shows the move menu and returns the chosen command, nullptr when none; tests answer it.
    std::function<QAction*(QMenu&)> showMoveMenu;
    // How long a drop waits for the disk before its prompt shows.
    int promptDelayMs = 2000;
    // A drop from another program still waits for the disk.
    bool waiting() const { return !m_waiting.empty(); }

private:
    // A drop from another program whose paths the disk has yet to answer for, in the order dropped.
    struct WaitingDrop {
        std::uint32_t serial = 0;
        QPersistentModelIndex target;
        std::vector<std::string> paths;
        std::vector<PathKind> kinds;
        std::vector<bool> answered;
        size_t unanswered = 0;
        QString message;  // shown once the items are added
    };

    void dropFolder(const std::vector<std::string>& paths);
    void addItems(NodeId target, std::vector<PaneDragEntry> entries);
    void dropFromOtherProgram(const QMimeData& data);
    void takeAnswers();
    void finishAnswered();
    void showWaitPrompt();
    void cancelWaiting();
    void stopWaiting();
    void rearrange();
    void reorderNextTo(NodeId node, NodeId target);

    TList& m_window;
    Dialogs& m_dialogs;
    ListTreeModel& m_model;
    PathProbe m_probe;
    NodeId m_dropTarget = kNoNode;
    NodeId m_lastAdded = kNoNode;
    std::unique_ptr<PathKindService> m_kinds;
    std::deque<WaitingDrop> m_waiting;
    std::uint32_t m_serial = 0;
    bool m_finishing = false;
    QTimer* m_promptTimer = nullptr;
    QDialog* m_waitPrompt = nullptr;
};

}  // namespace tarvelin
