#include "app/auto_open.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "app/list_windows.h"
#include "app/tab_column.h"
#include "lists/list_window.h"
#include "platform/display_name.h"
#include "settings/auto_open_list.h"
#include "settings/settings_file.h"
#include "widgets/error_handler.h"

namespace tarvelin {
namespace {

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

}  // namespace

void runAutoOpen(const std::string& programFolder, ListWindows& lists, Dialogs& dialogs) {
    std::optional<std::vector<std::string>> entries;
    if (!runAction(dialogs, [&] { entries = AutoOpenListFile(programFolder).load(); }) || !entries) return;

    QString missing;
    std::vector<TList*> opened;
    if (SettingsFile(programFolder).openFiles(false)) {
        for (const std::string& entry : *entries) {
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
