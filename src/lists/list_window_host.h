#pragma once

#include <QString>

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
};

}  // namespace tarvelin
