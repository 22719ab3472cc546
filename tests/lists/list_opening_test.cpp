#include <QListWidget>

#include "app/operation_log.h"
#include "list_window_fixture.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"

namespace tarvelin {
namespace {

using test::control;
using test::ListWindowTest;

class ListOpeningRoads : public ListWindowTest {};

// Each road opens the same file twice: the rules differ in the check, the caption, the tab, the icons and the
// log.
TEST_F(ListOpeningRoads, EveryRoadOpensThroughOneCallWithItsOwnRules) {
    struct Case {
        const char* road;
        ListOpening (*how)(const std::string& path);
        bool refusesTheSecond;
        bool captionIsFullPath;
        QString tab;
        int childIcon;
        bool rootExpanded;
        bool logs;
    };
    const Case cases[] = {
        {"open command", ListOpening::openCommand, true, false, "plan", 6, true, false},
        {"file list", [](const std::string& p) { return ListOpening::fromFileList(p, "plan.kxd"); }, true,
         false, "plan", 6, true, true},
        {"nested", ListOpening::nested, false, true, "Temp", 1, false, false},
        {"auto-open", ListOpening::autoOpen, false, false, "Temp", 6, true, false},
    };
    const std::string path = writeList("plan.kxd", "Plan\r\n\tEmpty\r\n");
    for (const Case& c : cases) {
        window = std::make_unique<TKX2>(fakes.services(dir.path()));
        fakes.dialogs.calls.clear();
        auto* log = control<OperationLog>(*window, "ListBox1");
        const ListWindows::Opened first = window->lists().openListFile(path, c.how(path));
        const ListWindows::Opened second = window->lists().openListFile(path, c.how(path));

        ASSERT_NE(first.window, nullptr) << c.road;
        EXPECT_TRUE(first.loaded) << c.road;
        EXPECT_EQ(second.window == nullptr, c.refusesTheSecond) << c.road;
        EXPECT_EQ(window->lists().listWindows().size(), c.refusesTheSecond ? 1u : 2u) << c.road;
        EXPECT_EQ(fakes.dialogs.messages(),
                  c.refusesTheSecond
                      ? QStringList{"すでに開かれていると同じ名前のファイルは、同時に開くことができません"}
                      : QStringList{})
            << c.road;
        EXPECT_EQ(first.window->windowTitle(),
                  c.captionIsFullPath ? QString::fromStdString(path) : "plan.kxd")
            << c.road;
        EXPECT_EQ(first.window->listFileName(), path) << c.road;
        EXPECT_EQ(tabTexts().front(), c.tab) << c.road;
        const ListTree& tree = first.window->document().tree;
        EXPECT_EQ(tree.icon(tree.first()), 0) << c.road;
        EXPECT_EQ(tree.icon(tree.children(tree.first())[0]), c.childIcon) << c.road;
        EXPECT_EQ(first.window->TreeView1->isExpanded(first.window->model()->indexOf(tree.first())),
                  c.rootExpanded)
            << c.road;
        // The log line comes first, also for the refused second opening.
        ASSERT_EQ(log->count(), c.logs ? 3 : 1) << c.road;
        if (c.logs) {
            EXPECT_TRUE(
                log->item(2)->text().endsWith(QString::fromStdString(" : " + path) + "を開きました。"))
                << log->item(2)->text().toStdString();
        }
    }
}

TEST_F(ListOpeningRoads, AFileThatCannotBeReadLeavesItsWindowCaptionedListWithATempTab) {
    const std::string path = dir.file("missing.kxd");
    const ListWindows::Opened opened = window->lists().openListFile(path, ListOpening::openCommand(path));
    ASSERT_NE(opened.window, nullptr);
    EXPECT_FALSE(opened.loaded);
    EXPECT_EQ(opened.window->windowTitle(), "List");
    EXPECT_EQ(tabTexts(), QStringList{"Temp"});
    EXPECT_EQ(fakes.dialogs.messages(),
              QStringList{QString::fromStdString("ファイル " + path + " は開けません")});
}

}  // namespace
}  // namespace tarvelin
