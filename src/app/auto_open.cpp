#include "app/auto_open.h"

#include <filesystem>

#include "app/list_windows.h"
#include "app/tab_column.h"
#include "lists/list_window.h"
#include "platform/display_name.h"
#include "settings/settings_dialog.h"
#include "widgets/error_handler.h"

namespace tarvelin {
namespace {

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

}  // namespace

void runAutoOpen(TProForm& settingsDialog, ListWindows& lists, Dialogs& dialogs) {
    bool listed = false;
    if (!runAction(dialogs, [&] { listed = settingsDialog.loadAutoOpenList(); }) || !listed) return;

    QString missing;
    std::vector<TList*> opened;
    if (settingsDialog.autoOpenSwitch()) {
        for (const std::string& entry : settingsDialog.autoOpenEntries()) {
            if (!isFile(entry)) {
                missing += displayName(entry) + QLatin1Char('\r');
                continue;
            }
            // The same file listed twice opens twice, and nothing goes to the operation log.
            const ListWindows::Opened result = lists.openListFile(entry, ListOpening::autoOpen(entry));
            if (result.loaded) opened.push_back(result.window);
        }
    }
    if (!missing.isEmpty())
        dialogs.message(
            QStringLiteral("起動時自動で開くファイルに設定されている以下のファイルが見つかりません。\r"
                           "設定メニューを確認してください。\r\r") +
            missing);

    TabColumn& tabs = lists.tabs();
    if (tabs.count() == 0) return;
    tabs.setColumnVisible(true);
    for (TList* window : opened) tabs.renameTab(window, listDisplayName(window->listFileName()));
    tabs.activateTab(0);
}

}  // namespace tarvelin
