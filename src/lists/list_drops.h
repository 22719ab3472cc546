#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "lists/list_tree.h"

class QAction;
class QByteArray;
class QDropEvent;
class QMenu;
class QMimeData;

namespace tarvelin {

class Dialogs;
class ListTreeModel;
class TList;

// Drops onto a list window's binder tree: folders and files from the main window's panes, nodes dragged
// within the same tree (with the move menu on binders), and file URLs from other programs.
class ListDrops : public QObject {
    Q_OBJECT
public:
    ListDrops(TList& window, Dialogs& dialogs);

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

private:
    void dropFolder(const std::vector<std::string>& paths);
    void addFiles(std::vector<std::string> paths, bool foldersToo);
    void dropFromOtherProgram(const QMimeData& data);
    void rearrange();
    void reorderNextTo(NodeId node, NodeId target);

    TList& m_window;
    Dialogs& m_dialogs;
    ListTreeModel& m_model;
    NodeId m_dropTarget = kNoNode;
    NodeId m_lastAdded = kNoNode;
};

// The local paths a "text/uri-list" names, as bytes (percent-decoded, never through a text codec);
// `ignored` counts the entries that are not local file URLs.
struct UriListPaths {
    std::vector<std::string> paths;
    int ignored = 0;
};
UriListPaths localPathsOfUriList(const QByteArray& uriList);

}  // namespace tarvelin
