#include <sys/stat.h>

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
        ASSERT_TRUE(test::iconsSettled(*first.window)) << c.road;
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

    // Nameless now: Save asks for a name, as for a new list, instead of failing on an empty one.
    fakes.dialogs.calls.clear();
    fakes.dialogs.fileAnswers.push_back(std::nullopt);
    opened.window->N4Click();
    ASSERT_EQ(fakes.dialogs.calls.size(), 1u);
    EXPECT_EQ(fakes.dialogs.calls[0].kind, "saveFile");
}

// Names made on Windows: CP932 bytes, not UTF-8, read folder by folder.
TEST_F(ListOpeningRoads, ListsNamedInCp932OpenSideBySideUnderTheirOwnNames) {
    const std::string shiryo = "\x8E\x91\x97\xBF", choubo = "\x92\xA0\x95\xEB";  // 資料, 帳簿
    openThroughDialog(writeList(shiryo + ".kxd", "A\r\n"));
    openThroughDialog(writeList(choubo + ".kxd", "B\r\n"));
    EXPECT_TRUE(fakes.dialogs.messages().isEmpty());
    EXPECT_EQ(captions(), (QStringList{"資料.kxd", "帳簿.kxd"}));
    EXPECT_EQ(tabTexts(), (QStringList{"資料", "帳簿"}));
    openThroughDialog(dir.file(shiryo + ".kxd"));
    EXPECT_EQ(fakes.dialogs.messages(),
              QStringList{"すでに開かれていると同じ名前のファイルは、同時に開くことができません"});

    // A CP932 folder holding a UTF-8 name, as an item of another list: its caption is the whole path.
    ::mkdir(dir.file(shiryo).c_str(), 0700);
    const std::string nested = writeList(shiryo + "/計画.kxd", "C\r\n");
    window->lists().openNestedList(nested);
    const QString shown = QString::fromStdString(dir.path()) + "資料/計画.kxd";
    EXPECT_EQ(captions().last(), shown);

    fakes.dialogs.calls.clear();
    fakes.dialogs.confirmAnswers.push_back(false);
    activeList()->model()->markModified();
    activeList()->Close1Click();
    EXPECT_EQ(fakes.dialogs.calls, (std::vector<test::Call>{{"confirm", {shown + "を保存しますか?"}}}));

    // An error names the path readably too.
    openThroughDialog(dir.file(shiryo + "/" + choubo + "2.kxd"));
    EXPECT_EQ(fakes.dialogs.messages().last(),
              "ファイル " + QString::fromStdString(dir.path()) + "資料/帳簿2.kxd は開けません");
}

}  // namespace
}  // namespace tarvelin
