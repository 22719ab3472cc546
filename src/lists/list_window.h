#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "lists/icon_rules.h"
#include "lists/list_document.h"
#include "lists/node_kinds.h"
#include "platform/colour_value.h"
#include "platform/services.h"
#include "widgets/close_query.h"

class QComboBox;
class QDropEvent;
class QLineEdit;
class QMenu;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace tarvelin {

class ListDrops;
class ListFileWatch;
class ListTreeModel;
class ListTreeView;
class ListWindowHost;
class MemoPad;
class UpDown;

// A list window: one list document in an MDI child, with its binder tree, toolbar and menus. Its "ファイル"
// and "ツール" menus are shown in the main window's menu bar while it is active.
class TList : public QWidget, public CloseQuery {
    Q_OBJECT
public:
    TList(Services services, ListWindowHost& host, ColourValue bodyColour, QWidget* parent = nullptr);
    ~TList() override;

    const ListDocument& document() const { return m_document; }
    const std::string& listFileName() const { return m_document.fileName; }
    void setListFileName(std::string name);
    bool isModified() const { return m_document.modified; }
    ColourValue bodyColour() const { return m_bodyColour; }
    ListTreeModel* model() const { return m_model; }

    // The node the tree's pop-up commands act on.
    NodeId currentNode() const { return m_currentNode; }
    // A right press: the node under the pointer, or kNoNode on empty space.
    void setCurrentNode(NodeId node);
    // The tree's selected node (the focused one when several are selected), or kNoNode.
    NodeId selectedNode() const;

    // Reads a list file into the tree (errors propagate, with what was read kept) and gives every node its
    // icon.
    void loadDocument(const std::string& path, IconAssignment icons = IconAssignment::OnOpening);
    // Shows the tree's expanded state in the view.
    void showExpansion();

    // File menu
    void N4Click();  // Save
    void N5Click();  // Save as
    // Save as; false when the dialog was cancelled.
    bool saveAs();
    void Close1Click();
    bool FormCloseQuery() override;
    MemoPad& memoPad() { return *m_memo; }

    // Binder commands of PopupMenu1
    void N8Click();   // new binder
    void N17Click();  // several binders
    void N13Click();  // open all binders
    void N15Click();  // close all binders
    void Delete1Click();
    void renameSelected();  // F2

    // Drops on the tree, and the move menu they show
    void TreeView1DragDrop(QDropEvent* event);
    ListDrops& drops() const { return *m_drops; }
    // Items (item_commands.cpp)
    void TreeView1DblClick();  // open the selected item
    void TreeView1Click();     // show its folder in the left pane
    void N19Click();           // show its folder in the right pane

    // Controls
    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    QToolButton* ToolButton6 = nullptr;
    ListTreeView* TreeView1 = nullptr;
    QWidget* Panel1 = nullptr;
    QTextEdit* RichEdit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;  // memo font
    QLineEdit* Edit2 = nullptr;      // memo font size, stepped by UpDown1
    UpDown* UpDown1 = nullptr;

    // Menus merged into the main window's bar
    QMenu* FileMenu = nullptr;  // "ファイル", group 2
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QAction* N6 = nullptr;
    QAction* N7 = nullptr;
    QAction* Close1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* ToolMenu = nullptr;  // "ツール", group 3
    QAction* N14 = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QAction* N8 = nullptr;
    QAction* N17 = nullptr;
    QAction* N16 = nullptr;
    QAction* N13 = nullptr;
    QAction* N15 = nullptr;
    QAction* N9 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* N18 = nullptr;
    QAction* N19 = nullptr;
    QAction* N20 = nullptr;
    QAction* N21 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void applyColours();
    void writeTo(const std::string& path);
    // Save to the list's own file; false, writing nothing, when another program changed the file since this
    // window read or wrote it and the user does not want it overwritten.
    bool saveToOwnFile();
    // The list's file changed on disk: a window without unsaved changes offers to read it again.
    void listFileChanged();
    void refreshCurrentNode();
    template <class Command>
    void guarded(Command command);
    // Runs `action` once the disk says the selected node is an item; a missing one is reported when asked to.
    void withSelectedItem(std::function<void(const std::string& path, PathKind kind)> action,
                          bool sayWhenMissing = false);

    Services m_services;
    ListWindowHost& m_host;
    ColourValue m_bodyColour;
    ListDocument m_document;
    ListTreeModel* m_model = nullptr;
    NodeId m_currentNode = kNoNode;
    bool m_noCurrentAfterRightPress = false;
    ListDrops* m_drops = nullptr;
    MemoPad* m_memo = nullptr;
    ListFileWatch* m_fileWatch = nullptr;
    bool m_askingToReread = false;
};

// The list display name of a list file: its name less the last four characters (".kxd"), empty for shorter
// names.
QString listDisplayName(const std::string& path);

}  // namespace tarvelin
