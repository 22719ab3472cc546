#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <filesystem>
#include <memory>

#include "app/list_windows.h"
#include "app/main_window.h"
#include "app/operation_log.h"
#include "lists/list_window.h"
#include "settings/settings_dialog.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::Call;
using test::control;
using test::FakeServices;
using test::TempFolder;

// What the main window shows once its first showing has opened the auto-open list.
struct Outcome {
    std::vector<std::string> entries;  // the settings dialog's list
    QStringList captions;              // list windows in the order they were made
    QStringList tabs;
    int selectedTab;
    QString front;  // caption of the active list window
    std::vector<Call> calls;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "entries " << o.entries.size() << " captions " << o.captions.join('|').toStdString() << " tabs "
        << o.tabs.join('|').toStdString() << " selected " << o.selectedTab << " front "
        << o.front.toStdString() << " calls";
    for (const Call& c : o.calls) test::PrintTo(c, os);
}

TEST(AutoOpen, OpensTheListedDocumentsAtTheFirstShowing) {
    TempFolder dir;
    dir.write("a.kxd", "A\r\n");
    dir.write("c.kxd", "C\r\n\tbinder\r\n");
    dir.write("bad.kxd", "R\r\n\t\tX\r\n");
    const std::string a = dir.file("a.kxd"), c = dir.file("c.kxd"), bad = dir.file("bad.kxd");
    const std::string gone = dir.file("gone.kxd"), gone2 = dir.file("gone2.kxd");
    const QString missingText = QStringLiteral(
        "起動時自動で開くファイルに設定されている以下のファイルが見つかりません。\r設定メニューを確認してくだ"
        "さい。\r\r");
    struct Case {
        const char* name;
        const char* files;  // [Open] Files
        std::string list;   // "oplst.lst"; "-" for none
        Outcome outcome;
    };
    const std::vector<Case> cases{
        {"no file", "1", "-", {{}, {}, {}, -1, "", {}}},
        {"switch off", "0", a + "\r\n" + gone + "\r\n", {{a, gone}, {}, {}, -1, "", {}}},
        {"empty file", "1", "", {{}, {}, {}, -1, "", {}}},
        {"second missing",
         "1",
         a + "\r\n" + gone + "\r\n" + c + "\n" + gone2,
         {{a, gone, c, gone2},
          {"a.kxd", "c.kxd"},
          {"a", "c"},
          0,
          "a.kxd",
          {{"message", {missingText + QString::fromStdString(gone + "\r" + gone2 + "\r")}}}}},
        {"same path twice",
         "1",
         c + "\r\n" + c + "\r\n",
         {{c, c}, {"c.kxd", "c.kxd"}, {"c", "c"}, 0, "c.kxd", {}}},
        {"bad entry then a good one",
         "1",
         bad + "\r\n" + a + "\r\n",
         {{bad, a},
          {"List", "a.kxd"},
          {"Temp", "a"},
          0,
          "List",
          {{"error", {"アイテム \"X\" の階層 (2) が不正です"}}}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        dir.write("KX2cfg.ini", std::string("[Open]\r\nFiles=") + k.files + "\r\n");
        if (k.list == "-")
            std::filesystem::remove(dir.file("oplst.lst"));
        else
            dir.write("oplst.lst", k.list);
        FakeServices fakes;
        TKX2 window(fakes.services(dir.path()));
        EXPECT_TRUE(window.lists().listWindows().empty());  // nothing opens before the first showing
        window.show();

        Outcome seen{window.settingsDialog().autoOpenEntries(), {}, {}, -1, "", fakes.dialogs.calls};
        for (TList* list : window.lists().listWindows()) seen.captions << list->windowTitle();
        const auto* tabBar = control<QTabBar>(window, "TabControl1");
        for (int i = 0; i < tabBar->count(); ++i) seen.tabs << tabBar->tabText(i);
        seen.selectedTab = tabBar->currentIndex();
        if (QMdiSubWindow* front = window.lists().area()->activeSubWindow())
            seen.front = front->widget()->windowTitle();
        EXPECT_EQ(seen, k.outcome);
        EXPECT_EQ(tabBar->isVisible(), !k.outcome.tabs.isEmpty());
        EXPECT_EQ(control<OperationLog>(window, "ListBox1")->count(), 1);  // the start-up line alone
    }
}

}  // namespace
}  // namespace tarvelin
