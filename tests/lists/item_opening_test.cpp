// A list window's items: a double click opens one, a click shows its folder in the left pane, N19 in the
// right one.
#include <QListWidget>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "browser/file_list_box.h"
#include "browser/file_list_model.h"
#include "browser/shell_tree_view.h"
#include "list_window_fixture.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"

namespace tarvelin {
namespace {

using test::Call;
using test::control;

class ItemOpeningTest : public test::ListWindowTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.file("photos"));
        std::filesystem::create_directories(dir.file("work"));
        dir.write("work/plan.xls", "x");
        dir.write("work/sub.kxd", "Sub\r\n\tEmpty\r\n\tFull\r\n\t\t" + dir.file("work/plan.xls") + "\r\n");
        dir.write("work/SUB.KXD", "Upper\r\n");
        const std::string list = writeList(
            "main.kxd", "Main\r\n\tBinder\r\n\t\tChild\r\n\t" + dir.file("work/sub.kxd") + "\r\n\t" +
                            dir.file("work/SUB.KXD") + "\r\n\t" + dir.file("photos") + "\r\n\t" +
                            dir.file("work/plan.xls") + "\r\n\t" + dir.file("gone.txt") + "\r\n");
        openThroughDialog(list);
        main = activeList();
        ASSERT_NE(main, nullptr);
        main->TreeView1->expandAll();
    }

    // The row of the first node under the root whose text ends with `tail`.
    QModelIndex row(const std::string& tail) const {
        const ListTree& tree = main->document().tree;
        for (NodeId node : tree.children(tree.first()))
            if (tree.text(node).ends_with(tail)) return main->model()->indexOf(node);
        ADD_FAILURE() << tail;
        return {};
    }
    QPoint centre(const std::string& tail) const { return main->TreeView1->visualRect(row(tail)).center(); }
    void click(const std::string& tail) {
        QTest::mouseClick(main->TreeView1->viewport(), Qt::LeftButton, {}, centre(tail));
    }
    void doubleClick(const std::string& tail) {
        click(tail);
        QTest::mouseDClick(main->TreeView1->viewport(), Qt::LeftButton, {}, centre(tail));
    }
    // The disk is asked off the window's thread: give the answer time to come back.
    static void settle() { QTest::qWait(100); }

    TList* main = nullptr;
};

TEST_F(ItemOpeningTest, ADoubleClickOpensNestedListsInWindowsOfTheirOwnAndHandsEverythingElseToTheDesktop) {
    const struct {
        std::string node;
        std::vector<Call> shell;
        size_t windows;  // list windows afterwards
    } cases[] = {
        {"/sub.kxd", {}, 2},
        {"/sub.kxd", {}, 3},  // the same list again: one more window, no check
        {"/SUB.KXD", {{"openPath", {QString::fromStdString(dir.file("work/SUB.KXD"))}}}, 3},
        {"/photos", {{"openPath", {QString::fromStdString(dir.file("photos"))}}}, 3},
        {"Binder", {}, 3},
        {"/gone.txt", {}, 3},
    };
    // Only the missing item says why nothing opened, in the status line and the log.
    const QString notFound = QString::fromStdString(dir.file("gone.txt")) + " が見つかりません";
    auto* log = control<QListWidget>(*window, "ListBox1");
    for (const auto& c : cases) {
        fakes.shell.calls.clear();
        window->lists().area()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(main->parentWidget()));
        doubleClick(c.node);
        settle();
        EXPECT_EQ(fakes.shell.calls, c.shell) << c.node;
        EXPECT_EQ(window->lists().listWindows().size(), c.windows) << c.node;
        EXPECT_EQ(window->statusLine() == notFound, c.node == "/gone.txt") << c.node;
        EXPECT_EQ(log->item(log->count() - 1)->text().endsWith(" : " + notFound), c.node == "/gone.txt")
            << c.node;
    }
    TList* nested = window->lists().listWindows().back();
    const ListTree& tree = nested->document().tree;
    EXPECT_EQ(nested->windowTitle(), QString::fromStdString(dir.file("work/sub.kxd")));
    EXPECT_EQ(nested->listFileName(), dir.file("work/sub.kxd"));
    const std::vector<NodeId>& binders = tree.children(tree.first());
    EXPECT_EQ((std::vector<int>{tree.icon(tree.first()), tree.icon(binders[0]), tree.icon(binders[1]),
                                tree.icon(tree.children(binders[1])[0])}),
              (std::vector<int>{0, 1, 1, 3}));
    EXPECT_FALSE(nested->TreeView1->isExpanded(nested->model()->indexOf(tree.first())));
    EXPECT_EQ(tabTexts().size(), 3);
    EXPECT_EQ(tabTexts().last(), "Temp");
    EXPECT_TRUE(fakes.dialogs.messages().isEmpty());
}

TEST_F(ItemOpeningTest, AClickShowsTheItemsFolderInTheLeftPaneCaptionedWithItsFullPath) {
    const struct {
        std::string node;
        std::string root;     // of the left tree
        QString caption;      // of its first node
        std::string listing;  // the left file list's folder
    } cases[] = {
        {"/plan.xls", dir.file("work"), QString::fromStdString(dir.file("work/")), dir.file("work")},
        {"/photos", dir.file("photos"), QString::fromStdString(dir.file("photos")), dir.file("photos")},
    };
    auto* tree = control<ShellTreeView>(*window, "ShellTreeView1");
    for (const auto& c : cases) {
        click(c.node);
        settle();
        EXPECT_EQ(tree->root(), c.root) << c.node;
        EXPECT_EQ(tree->model()->index(0, 0).data().toString(), c.caption) << c.node;
        EXPECT_EQ(control<FileListBox>(*window, "FileListBox1")->files().folder(), c.listing) << c.node;
    }
    const std::string before = tree->root();
    click("Binder");
    click("/gone.txt");
    settle();
    EXPECT_EQ(tree->root(), before);
}

TEST_F(ItemOpeningTest, ShowingInTheRightPaneEntersTheModeOnceAndKeepsTheWidthToComeBackTo) {
    auto* splitter = control<QSplitter>(*window, "Splitter1");
    splitter->setSizes({300, 500});
    const int userWidth = splitter->sizes().value(0);
    const struct {
        std::string node;
        std::string root;  // of the right tree, also the right list's folder
        QString caption;
    } cases[] = {
        {"/plan.xls", dir.file("work"), QString::fromStdString(dir.file("work/"))},
        {"/photos", dir.file("photos"), QString::fromStdString(dir.file("photos"))},  // the mode is on now
    };
    for (const auto& c : cases) {
        click(c.node);
        main->N19->trigger();
        settle();
        auto* tree = control<ShellTreeView>(*window, "ShellTreeView2");
        EXPECT_EQ(tree->root(), c.root) << c.node;
        EXPECT_EQ(tree->model()->index(0, 0).data().toString(), c.caption) << c.node;
        EXPECT_EQ(control<FileListBox>(*window, "FileListBox2")->files().folder(), c.root) << c.node;
        EXPECT_TRUE(control<QWidget>(*window, "Panel3")->isVisible()) << c.node;
        EXPECT_FALSE(control<QTabBar>(*window, "TabControl1")->isVisible()) << c.node;
        EXPECT_EQ(splitter->sizes().value(0), window->frameGeometry().width() / 2) << c.node;
        EXPECT_EQ(window->savedLeftPaneWidth(), userWidth) << c.node;
    }
    control<QToolButton>(*window, "ToolButton7")->click();
    EXPECT_EQ(splitter->sizes().value(0), userWidth);
    EXPECT_TRUE(control<QTabBar>(*window, "TabControl1")->isVisible());
}

}  // namespace
}  // namespace tarvelin
