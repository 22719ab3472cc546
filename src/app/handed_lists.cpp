#include "app/handed_lists.h"

#include "app/list_windows.h"
#include "app/main_window.h"

namespace tarvelin {

void openHandedLists(TKX2& mainWindow, const std::vector<std::string>& files) {
    // Unlike the open command, a start names files the user did not just pick: one that cannot be read is
    // reported and leaves no empty window to close by hand.
    for (const std::string& file : files) {
        const ListWindows::Opened opened =
            mainWindow.lists().openListFile(file, ListOpening::openCommand(file));
        if (opened.window && !opened.loaded) mainWindow.lists().discard(opened.window);
    }
    mainWindow.setWindowState(mainWindow.windowState() & ~Qt::WindowMinimized);
    mainWindow.raise();
    mainWindow.activateWindow();
}

}  // namespace tarvelin
