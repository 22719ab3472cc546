#include "app/handed_lists.h"

#include <gtest/gtest.h>

#include <QWindow>
#include <filesystem>

#include "app/list_windows.h"
#include "app/main_window.h"
#include "app/tab_column.h"
#include "lists/list_window.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

TEST(HandedLists, OpenInOrderAsTheOpenCommandDoes) {
    test::TempFolder dir;
    std::filesystem::create_directories(dir.file("other"));
    dir.write("plan.kxd", "Plan\r\n\tDocs\r\n");
    dir.write("other/plan.kxd", "Other\r\n");
    dir.write("notes.kxd", "Notes\r\n");
    test::FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    window.show();
    window.setWindowState(Qt::WindowMinimized);

    openHandedLists(window, {dir.file("plan.kxd"), dir.file("other/plan.kxd"), dir.file("notes.kxd"),
                             dir.file("missing.kxd")});

    QStringList captions, tabs;
    for (TList* list : window.lists().listWindows()) captions << list->windowTitle();
    for (int i = 0; i < window.lists().tabs().count(); ++i) tabs << window.lists().tabs().text(i);
    // The file that cannot be read leaves no empty window behind.
    EXPECT_EQ(captions, (QStringList{"plan.kxd", "notes.kxd"}));
    EXPECT_EQ(tabs, (QStringList{"plan", "notes"}));
    EXPECT_EQ(
        fakes.dialogs.messages(),
        (QStringList{QStringLiteral("すでに開かれていると同じ名前のファイルは、同時に開くことができません"),
                     QStringLiteral("ファイル %1 は開けません")
                         .arg(QString::fromStdString(dir.file("missing.kxd")))}));
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized) << "brought back to the front";
}

}  // namespace
}  // namespace tarvelin
