#pragma once

#include <QString>
#include <string>

namespace tarvelin {

class TList;

// What a list window asks of the main window that holds it.
class ListWindowHost {
public:
    virtual ~ListWindowHost() = default;
    virtual void newList() = 0;      // "新規リスト作成"
    virtual void openList() = 0;     // "リストを開く"
    virtual void exitProgram() = 0;  // "終了": closes the main window
    virtual void renameTab(TList* window, const QString& text) = 0;
    // The window has agreed to close and is about to go: its tab goes, a neighbour comes to the front.
    virtual void listWindowClosing(TList* window) = 0;
    virtual bool fileOperationMode() const = 0;
    // A list document that is an item of a list opens in a window of its own.
    virtual void openNestedList(const std::string& path) = 0;
    // An item's folder shown in the left pane, or in the right one with the two-pane mode switched on.
    virtual void showItemFolder(const std::string& folder, bool rightPane) = 0;
    virtual void leaveFileOperationMode() = 0;
    // An item the user tried to open or show is not there: said in the status line and the operation log.
    virtual void itemNotFound(const std::string& path) = 0;
};

}  // namespace tarvelin
