// Folder drags between two real trees on real folders: the pop-up menu, the requests and what the trees show.
#include "browser/folder_drops.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>
#include <memory>

#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "browser_fixture.h"
#include "recording_operations.h"
#include "support/controls.h"

namespace tarvelin {
namespace {

using test::control;
using test::RecordingOperations;
using test::TempFolder;

class FolderDropsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeFolders(folder, {"left/src/inner", "left/other", "right/dst", "right/zzz"});
        auto* column = new QVBoxLayout(&host);
        for (auto* tree : {&one, &two}) {
            auto* model = new FolderTreeModel(true, test::placesIn(folder), &host);
            *tree = new ShellTreeView(tree == &one ? "ShellTreeView1" : "ShellTreeView2", *model, &host);
            column->addWidget(*tree);
        }
        one->setRoot(folder.file("left"));
        two->setRoot(folder.file("right"));
        host.resize(300, 600);
        host.show();
    }
    QModelIndex child(ShellTreeView* tree, const QModelIndex& parent, const QString& name) {
        test::waitForReading(tree->folders());
        for (int row = 0; row < tree->folders().rowCount(parent); ++row)
            if (tree->folders().index(row, 0, parent).data().toString() == name)
                return tree->folders().index(row, 0, parent);
        return {};
    }
    QStringList children(ShellTreeView* tree, const QModelIndex& parent) {
        if (tree->folders().canFetchMore(parent)) tree->folders().fetchMore(parent);
        test::waitForReading(tree->folders());
        QStringList names;
        for (int row = 0; row < tree->folders().rowCount(parent); ++row)
            names << tree->folders().index(row, 0, parent).data().toString();
        return names;
    }
    // Drags `name` (under the root of `from`) and drops it on `onto` (under the root of `to`).
    bool dragAndDrop(ShellTreeView* from, const QString& name, ShellTreeView* to, const QString& onto) {
        from->setCurrentIndex(child(from, from->folders().rootIndex(), name));
        drops.dragStarted(*from);
        const QModelIndex target =
            onto.isEmpty() ? to->folders().rootIndex() : child(to, to->folders().rootIndex(), onto);
        children(to, target);  // loaded now, so only a refresh can show what arrives
        const bool opened = drops.dropped(*to, to->visualRect(target).center(), true, QPoint(10, 10));
        drops.PopupMenu2->hide();
        return opened;
    }

    TempFolder folder;
    QWidget host;
    ShellTreeView* one = nullptr;
    ShellTreeView* two = nullptr;
    RecordingOperations operations{folder.file("Trash")};
    FolderDrops drops{operations, &host};
};

TEST_F(FolderDropsTest, MenuHoldsTheFiveEntriesInOrder) {
    QStringList entries;
    for (QAction* action : drops.PopupMenu2->actions())
        entries << action->objectName() + ":" + (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(entries, (QStringList{"N14:このフォルダににコピーする", "N15:このフォルダに移動する", "N16:-",
                                    "N17:この位置にコピーする", "N18:この位置に移動する"}));
}

TEST_F(FolderDropsTest, PositionsCountLoadedNodesInTreeOrder) {
    const QModelIndex root = one->folders().rootIndex();
    one->expand(child(one, root, "src"));
    test::waitForReading(one->folders());
    EXPECT_EQ(treePosition(one->folders(), root), 0);
    EXPECT_EQ(treePosition(one->folders(), child(one, root, "other")), 1);
    EXPECT_EQ(treePosition(one->folders(), child(one, root, "src")), 2);
    EXPECT_EQ(nodeAtPosition(one->folders(), 3).data().toString(), "inner");
    EXPECT_FALSE(nodeAtPosition(one->folders(), 99).isValid());
    EXPECT_EQ(treePosition(one->folders(), {}), -1);
}

TEST_F(FolderDropsTest, CopyIntoTheTargetThenRefreshIt) {
    ASSERT_TRUE(dragAndDrop(one, "src", two, "dst"));
    EXPECT_EQ(drops.targetPath(), folder.file("right/dst"));
    drops.N14->trigger();
    const FileOperationRequest copy{FileOperation::Copy, {folder.file("left/src")}, folder.file("right/dst")};
    EXPECT_EQ(operations.requests, std::vector<FileOperationRequest>{copy});
    EXPECT_EQ(children(two, child(two, two->folders().rootIndex(), "dst")), QStringList{"src"});
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("left/src/inner")));
}

TEST_F(FolderDropsTest, MoveRefreshesBothTreesAndBesideMeansTheTargetsFolder) {
    ASSERT_TRUE(dragAndDrop(one, "src", two, "dst"));
    drops.N15->trigger();
    EXPECT_EQ(children(one, one->folders().rootIndex()), QStringList{"other"});
    EXPECT_EQ(children(two, child(two, two->folders().rootIndex(), "dst")), QStringList{"src"});

    ASSERT_TRUE(dragAndDrop(one, "other", two, "zzz"));
    drops.N18->trigger();
    EXPECT_EQ(operations.requests.back(),
              (FileOperationRequest{FileOperation::Move, {folder.file("left/other")}, folder.file("right")}));
    EXPECT_EQ(children(two, two->folders().rootIndex()), (QStringList{"dst", "other", "zzz"}));
    EXPECT_EQ(children(one, one->folders().rootIndex()), QStringList{});
}

TEST_F(FolderDropsTest, TheOtherTreeShowingTheFoldersIsRefreshedToo) {
    const struct {
        const char* command;
        QStringList leftAfter;  // as the other tree shows them
    } cases[] = {{"N14", {"other", "src"}}, {"N15", {"other"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        test::makeFolders(folder, {"left/src/inner", "left/other"});
        std::filesystem::remove_all(folder.file("left/other/src"));
        one->setRoot(folder.file("left"));
        two->setRoot(folder.path());
        drops.setTrees(one, two);
        const auto leftInTwo = [&] { return child(two, two->folders().rootIndex(), "left"); };
        children(two, two->folders().rootIndex());
        children(two, leftInTwo());
        children(two, child(two, leftInTwo(), "other"));  // loaded while still empty
        ASSERT_TRUE(dragAndDrop(one, "src", one, "other"));
        control<QAction>(*drops.PopupMenu2, c.command)->trigger();
        EXPECT_EQ(children(two, leftInTwo()), c.leftAfter);
        EXPECT_EQ(children(two, child(two, leftInTwo(), "other")), QStringList{"src"});
    }
}

TEST_F(FolderDropsTest, OwnNodeIsRefusedAndEmptySpaceOrOtherSourcesOpenNothing) {
    ASSERT_TRUE(dragAndDrop(one, "src", one, "src"));
    drops.N14->trigger();
    EXPECT_EQ(operations.said,
              std::vector<std::string>{"フォルダ " + folder.file("left/src") +
                                       " をそのフォルダ自身の中へコピーすることはできません。"});
    EXPECT_EQ(children(one, child(one, one->folders().rootIndex(), "src")), QStringList{"inner"});

    EXPECT_FALSE(drops.dropped(*two, QPoint(5, two->viewport()->height() - 2), true, QPoint()));
    EXPECT_EQ(drops.targetPosition(), -1);
    const QModelIndex dst = child(two, two->folders().rootIndex(), "dst");
    EXPECT_FALSE(drops.dropped(*two, two->visualRect(dst).center(), false, QPoint()));
    EXPECT_EQ(drops.targetPath(), folder.file("right/dst"));  // recorded all the same
    EXPECT_FALSE(drops.PopupMenu2->isVisible());
}

}  // namespace
}  // namespace tarvelin
