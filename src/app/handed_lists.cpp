#include "app/handed_lists.h"

#include "app/list_windows.h"
#include "app/main_window.h"

namespace tarvelin {

void openHandedLists(TKX2& mainWindow, const std::vector<std::string>& files) {
    for (const std::string& file : files)
        mainWindow.lists().openListFile(file, ListOpening::openCommand(file));
    mainWindow.setWindowState(mainWindow.windowState() & ~Qt::WindowMinimized);
    mainWindow.raise();
    mainWindow.activateWindow();
}

}  // namespace tarvelin
