#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "lists/icon_rules.h"
#include "lists/list_window_host.h"
#include "platform/colour_value.h"
#include "platform/services.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QTabBar;

namespace tarvelin {

class ActiveListMark;
class OperationLog;
class TabColumn;

// What sets one road of opening a list file apart from the others.
struct ListOpening {
    // The window's caption; an open window with the same caption refuses the opening when refuseSameName.
    QString caption;
    bool refuseSameName = false;
    // Written to the operation log before anything else when not empty.
    QString logLine;
    // The new tab gets the caption less its last four characters (".kxd"); otherwise it keeps "Temp".
    bool nameTab = false;
    IconAssignment icons = IconAssignment::OnOpening;

    // The open-list command and a list file handed to the program at start.
    static ListOpening openCommand(const std::string& path);
    // A list file opened from a file list, captioned with the name as listed.
    static ListOpening fromFileList(const std::string& path, const QString& listedName);
    // A list file that is an item of another list: captioned with its full path, no check, tab unnamed.
    static ListOpening nested(const std::string& path);
    // An entry of the auto-open list: the same file may open twice; the tabs are named afterwards.
    static ListOpening autoOpen(const std::string& path);
};

// The list windows in the main window's MDI area: creating and opening them, their tab column, tiling, and
// merging the active window's menus into the menu bar.
class ListWindows final : public QObject, public ListWindowHost {
    Q_OBJECT
public:
    struct Menus {
        QMenuBar* bar;
        QMenu* file;    // hidden while a list window's own "ファイル" stands in the bar
        QMenu* window;  // a list window's menus go before it
    };

    ListWindows(Services services, QMdiArea* area, QTabBar* tabBar, Menus menus, OperationLog& log,
                std::function<bool()> fileOperationMode, std::function<void()> leaveFileOperationMode,
                QObject* parent);

    QMdiArea* area() const { return m_area; }
    TabColumn& tabs() { return *m_tabs; }
    std::vector<TList*> listWindows() const;
    // The colour new list windows paint their body with.
    void setBodyColour(ColourValue colour) { m_bodyColour = colour; }

    // Every road that opens a list file comes here. Returns the new window, or nullptr when the opening was
    // refused; a file that cannot be read is reported and leaves its window open, captioned "List", its tab
    // "Temp" (loaded is then false).
    struct Opened {
        TList* window = nullptr;
        bool loaded = false;
    };
    Opened openListFile(const std::string& path, const ListOpening& how);
    TList* createListWindow();
    // Closes a window that never held its document, without the close questions.
    void discard(TList* window);

    void New1Click();  // new list
    void N2Click();    // open list
    void rwe1Click();  // tile

    void newList() override { New1Click(); }
    void openList() override { N2Click(); }
    void exitProgram() override { emit exitRequested(); }
    void renameTab(TList* window, const QString& text) override;
    void listWindowClosing(TList* window) override;
    bool fileOperationMode() const override { return m_fileOperationMode(); }
    void openNestedList(const std::string& path) override { openListFile(path, ListOpening::nested(path)); }
    void itemNotFound(const std::string& path) override;
    void showItemFolder(const std::string& folder, bool rightPane) override {
        emit itemFolderShown(folder, rightPane);
    }
    void leaveFileOperationMode() override { m_leaveFileOperationMode(); }

    // The main window calls this before it goes: the MDI area reports activations while it is taken down.
    void detach();

signals:
    void exitRequested();
    // A list window asks to show an item's folder in a file pane.
    void itemFolderShown(const std::string& folder, bool rightPane);
    void statusLineRequested(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void listWindowActivated(QMdiSubWindow* window);
    // The main window's title names the active list window: "Tarvelin2 - [caption]".
    void showActiveCaption();
    void keepFocusIn(TList* list);
    void mergeMenusOf(TList* list);

    Services m_services;
    QMdiArea* m_area;
    Menus m_menus;
    OperationLog& m_log;
    std::function<bool()> m_fileOperationMode;
    std::function<void()> m_leaveFileOperationMode;
    TabColumn* m_tabs;
    ActiveListMark* m_activeMark;
    ColourValue m_bodyColour = kButtonFace;
    QPointer<TList> m_mergedList;  // whose menus stand in the menu bar
};

}  // namespace tarvelin
