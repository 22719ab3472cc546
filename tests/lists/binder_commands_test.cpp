#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "list_window_fixture.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"
#include "tree_outline.h"

namespace tarvelin {
namespace {

using test::ListWindowTest;
using test::outline;
using Lines = std::vector<std::string>;

class BinderCommands : public ListWindowTest {
protected:
    TList* openList(const std::string& bytes) {
        openThroughDialog(writeList("b.kxd", bytes));
        EXPECT_TRUE(test::iconsSettled(*activeList()));
        return activeList();
    }
    void select(TList* list, NodeId node) {
        list->TreeView1->setCurrentIndex(list->model()->indexOf(node));
        EXPECT_TRUE(test::iconsSettled(*list));
    }
    NodeId child(TList* list, NodeId parent, size_t i) { return list->document().tree.children(parent)[i]; }
};

TEST_F(BinderCommands, NewBinderGoesUnderTheSelectedNodeWithTheTargetIcon) {
    TList* list = openList("Root\r\n\tA\r\n");
    const ListTree& tree = list->document().tree;
    select(list, tree.first());
    fakes.dialogs.inputAnswers.push_back("New");
    list->N8->trigger();
    EXPECT_EQ(fakes.dialogs.calls.back(),
              (test::Call{"inputLine", {"新規バインダー", "バインダーの名前を記入してください"}}));
    EXPECT_EQ(outline(tree), (Lines{"0 Root", "1 A", "1 New"}));
    const NodeId added = child(list, tree.first(), 1);
    EXPECT_EQ(tree.icon(added), 6);
    EXPECT_EQ(tree.selectedIcon(added), 6);
    EXPECT_EQ(tree.icon(tree.first()), 0);
    EXPECT_TRUE(list->isModified());
    EXPECT_TRUE(list->TreeView1->isExpanded(list->model()->indexOf(tree.first())));

    // Under an empty binder: the parent keeps its icon and is expanded.
    const NodeId a = child(list, tree.first(), 0);
    select(list, a);
    fakes.dialogs.inputAnswers.push_back("");  // an empty name is taken as typed
    list->N8->trigger();
    EXPECT_EQ(outline(tree), (Lines{"0 Root", "1 A", "2 ", "1 New"}));
    EXPECT_EQ(tree.icon(a), 6);
    EXPECT_TRUE(list->TreeView1->isExpanded(list->model()->indexOf(a)));
}

TEST_F(BinderCommands, CancelledNameAddsNothing) {
    TList* list = openList("Root\r\n");
    select(list, list->document().tree.first());
    fakes.dialogs.inputAnswers.push_back(QString());
    list->N8->trigger();
    EXPECT_EQ(list->document().tree.size(), 1u);
    EXPECT_FALSE(list->isModified());
}

TEST_F(BinderCommands, SeveralBindersUntilNo) {
    TList* list = openList("Root\r\n");
    select(list, list->document().tree.first());
    fakes.dialogs.inputAnswers = {"1", "2", QString(), "3", "4"};
    fakes.dialogs.confirmAnswers = {true, true, true, true, false};
    list->N17->trigger();
    EXPECT_EQ(outline(list->document().tree), (Lines{"0 Root", "1 1", "1 2", "1 3", "1 4"}));
    int questions = 0;
    for (const auto& call : fakes.dialogs.calls)
        if (call.kind == "confirm") {
            EXPECT_EQ(call.args[0], "続けてバインダーを作成しますか？");
            ++questions;
        }
    EXPECT_EQ(questions, 5);
}

TEST_F(BinderCommands, DeleteTakesTheSubtreeButNeverTheRoot) {
    TList* list = openList("Root\r\n\tA\r\n\t\tA1\r\n\tB\r\n");
    const ListTree& tree = list->document().tree;
    select(list, tree.first());
    list->Delete1->trigger();
    EXPECT_EQ(tree.size(), 4u);
    EXPECT_FALSE(list->isModified());

    select(list, child(list, tree.first(), 0));
    QTest::keyClick(list->TreeView1, Qt::Key_Delete);
    EXPECT_EQ(outline(tree), (Lines{"0 Root", "1 B"}));
    EXPECT_TRUE(list->isModified());
    EXPECT_TRUE(fakes.dialogs.confirmAnswers.empty());
}

TEST_F(BinderCommands, OpenAndCloseAllLeaveTheListUnmodified) {
    TList* list = openList("Root\r\n\tA\r\n\t\tA1\r\n\t\t\tA11\r\nSecond\r\n\tS1\r\n");
    const ListTree& tree = list->document().tree;
    const auto expanded = [&](NodeId node) {
        return list->TreeView1->isExpanded(list->model()->indexOf(node));
    };
    const NodeId a = child(list, tree.first(), 0);
    const NodeId a1 = child(list, a, 0);
    const NodeId second = tree.topLevel()[1];
    list->N13->trigger();
    EXPECT_TRUE(expanded(tree.first()) && expanded(a) && expanded(a1));
    EXPECT_FALSE(expanded(second));
    list->N15->trigger();
    EXPECT_TRUE(expanded(tree.first()));
    EXPECT_FALSE(expanded(a) || expanded(a1));
    list->N13->trigger();
    EXPECT_TRUE(expanded(a) && expanded(a1));
    EXPECT_FALSE(list->isModified());
}

TEST_F(BinderCommands, RenameMarksModifiedAndTheRootTextIsSaved) {
    TList* list = openList("Root\r\n\tA\r\n");
    const ListTree& tree = list->document().tree;
    select(list, tree.first());
    list->model()->setData(list->model()->indexOf(tree.first()), QStringLiteral("Root"));
    EXPECT_TRUE(list->isModified()) << "accepted unchanged still counts";
    list->model()->setData(list->model()->indexOf(tree.first()), QStringLiteral("  Spaced"));
    const NodeId a = child(list, tree.first(), 0);
    select(list, a);
    fakes.dialogs.inputAnswers.push_back(QStringLiteral("\t  Typed"));
    list->N8->trigger();
    list->N4->trigger();
    // Leading blanks would read back as levels: "  Spaced" would be a bad level, "\t  Typed" three deeper.
    EXPECT_EQ(dir.read("b.kxd"), "Spaced\r\n\tA\r\n\t\tTyped\r\n");
    dir.write("c.kxd", dir.read("b.kxd"));  // read back through a copy: b.kxd is open
    openThroughDialog(dir.file("c.kxd"));
    EXPECT_EQ(outline(activeList()->document().tree), (Lines{"0 Spaced", "1 A", "2 Typed"}));
    EXPECT_TRUE(fakes.dialogs.messages().isEmpty());
}

TEST_F(BinderCommands, AClickOnOneOfSeveralSelectedNodesSelectsItAloneWithoutRenaming) {
    TList* list = openList("Root\r\n\tA\r\n\tB\r\n");
    list->resize(400, 300);
    const NodeId a = child(list, list->document().tree.first(), 0);
    const NodeId b = child(list, list->document().tree.first(), 1);
    QWidget* viewport = list->TreeView1->viewport();
    const auto centre = [&](NodeId node) {
        return list->TreeView1->visualRect(list->model()->indexOf(node)).center();
    };
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(a));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, centre(b));
    ASSERT_EQ(list->TreeView1->selectionModel()->selectedIndexes().size(), 2);

    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(b));
    QTest::qWait(QApplication::doubleClickInterval() + 100);  // where a rename would begin
    EXPECT_EQ(list->TreeView1->selectionModel()->selectedIndexes(),
              QModelIndexList{list->model()->indexOf(b)});
    EXPECT_EQ(list->TreeView1->findChild<QLineEdit*>(), nullptr) << "no label editor";

    // A click on the one selected node still renames it.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(b));
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_NE(list->TreeView1->findChild<QLineEdit*>(), nullptr);
}

TEST_F(BinderCommands, CommandsNeedACurrentNodeAfterARightPressOnEmptySpace) {
    TList* list = openList("Root\r\n\tA\r\n");
    select(list, list->document().tree.first());
    list->resize(400, 300);
    QTest::mousePress(list->TreeView1->viewport(), Qt::RightButton, {}, QPoint(200, 280));
    EXPECT_EQ(list->currentNode(), kNoNode);
    QTest::keyClick(list->TreeView1, Qt::Key_F2);
    EXPECT_EQ(list->TreeView1->findChild<QLineEdit*>(), nullptr) << "no label editor";
    list->N8->trigger();  // no question asked: there is no current node
    EXPECT_TRUE(fakes.dialogs.inputAnswers.empty());
    EXPECT_EQ(list->document().tree.size(), 2u);

    // A right press on a node selects it alone and makes it current.
    const QRect aRow =
        list->TreeView1->visualRect(list->model()->indexOf(child(list, list->document().tree.first(), 0)));
    QTest::mousePress(list->TreeView1->viewport(), Qt::RightButton, {}, aRow.center());
    EXPECT_EQ(list->currentNode(), child(list, list->document().tree.first(), 0));
    EXPECT_EQ(list->TreeView1->selectionModel()->selectedIndexes().size(), 1);
}

TEST_F(BinderCommands, SelectedImageFollowsTheRule) {
    dir.write("f.txt", "x");
    TList* list = openList("Root\r\n\t" + dir.file("f.txt") + "\r\n\tBinder\r\n\t\tX\r\n\tEmpty\r\n");
    const ListTree& tree = list->document().tree;
    const std::pair<size_t, int> cases[] = {{0, 4}, {1, 5}, {2, 6}};
    for (const auto& [index, image] : cases) {
        const NodeId node = child(list, tree.first(), index);
        select(list, node);
        EXPECT_EQ(list->model()->indexOf(node).data(ListTreeModel::SelectedIconRole), image) << index;
        EXPECT_EQ(list->currentNode(), node);
    }
}

TEST_F(BinderCommands, ACloseRequestAcceptsARenameBeingTypedThenAsks) {
    const std::pair<const char*, std::function<void(TList*)>> roads[] = {
        {"閉じる", [](TList* list) { list->Close1->trigger(); }},
        {"the window's close button", [](TList* list) { list->parentWidget()->close(); }},
        {"終了", [](TList* list) { list->Exit1->trigger(); }},
    };
    for (const auto& [road, request] : roads) {
        TList* list = openList("Root\r\n\tA\r\n");
        select(list, list->document().tree.first());
        QTest::keyClick(list->TreeView1, Qt::Key_F2);
        auto* editor = list->TreeView1->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << road;
        editor->setText(QStringLiteral("Typed"));
        fakes.dialogs.calls.clear();
        fakes.dialogs.confirmAnswers.push_back(true);
        request(list);
        EXPECT_EQ(fakes.dialogs.calls,
                  (std::vector<test::Call>{
                      {"confirm", {QString::fromStdString(dir.file("b.kxd")) + "を保存しますか?"}}}))
            << road;
        EXPECT_EQ(dir.read("b.kxd"), "Typed\r\n\tA\r\n") << road;
        if (std::string_view(road) == "終了")
            EXPECT_FALSE(window->isVisible());
        else
            EXPECT_TRUE(window->lists().listWindows().empty()) << road;
    }
}

}  // namespace
}  // namespace tarvelin
