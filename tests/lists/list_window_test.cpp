#include <sys/stat.h>

#include <QTest>
#include <QTreeView>

#include "list_window_fixture.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"

namespace tarvelin {
namespace {

using test::Call;
using test::control;
using test::ListWindowTest;

class ListWindowFlows : public ListWindowTest {};

TEST_F(ListWindowFlows, NewListIsUntitledWithItsRoot) {
    window->lists().New1Click();
    TList* list = activeList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), "Untitled");
    EXPECT_EQ(list->listFileName(), "Untitled");
    EXPECT_FALSE(list->isModified());
    EXPECT_EQ(tabTexts(), QStringList{"Untitled"});
    const ListTree& tree = list->document().tree;
    ASSERT_EQ(tree.size(), 1u);
    EXPECT_EQ(tree.text(tree.first()), "Untitled");
    EXPECT_EQ(tree.icon(tree.first()), 0);
    EXPECT_TRUE(window->lists().area()->activeSubWindow()->isMaximized());
    EXPECT_TRUE(window->lists().area()->activeSubWindow()->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(ListWindowFlows, OpenReadsTheFileAndAssignsIcons) {
    dir.write("KX2cfg.ini", "[Folder]\r\nDlgDir=/lists\r\n");
    ::mkdir(dir.file("folder").c_str(), 0700);
    dir.write("notes.txt", "x");
    const std::string path =
        writeList("plan.kxd", "Plan\r\n\tDocs\r\n\t\t" + dir.file("notes.txt") + "\r\n\t" +
                                  dir.file("folder") + "\r\n\t/gone/file.doc\r\n\tEmpty\r\n");
    openThroughDialog(path);
    EXPECT_EQ(fakes.dialogs.calls.front(),
              (Call{"openFile", {"", "/lists", "プロジェクトファイル(*.kxd)", "", ""}}));
    TList* list = activeList();
    ASSERT_TRUE(test::iconsSettled(*list));
    const ListTree& tree = list->document().tree;
    std::vector<int> icons;
    for (NodeId node : tree.treeOrder()) icons.push_back(tree.icon(node));
    EXPECT_EQ(icons, (std::vector<int>{0, 1, 19, 2, 22, 6}));
    EXPECT_EQ(list->listFileName(), path);
    EXPECT_FALSE(list->isModified());
    EXPECT_TRUE(list->TreeView1->isExpanded(list->model()->indexOf(tree.first())));
    EXPECT_FALSE(list->TreeView1->isExpanded(list->model()->indexOf(tree.children(tree.first())[0])));
}

TEST_F(ListWindowFlows, ASecondListOfTheSameNameIsRefused) {
    ::mkdir(dir.file("other").c_str(), 0700);
    openThroughDialog(writeList("plan.kxd", "A\r\n"));
    openThroughDialog(writeList("other/plan.kxd", "B\r\n"));
    EXPECT_EQ(fakes.dialogs.messages(),
              QStringList{"すでに開かれていると同じ名前のファイルは、同時に開くことができません"});
    EXPECT_EQ(captions(), QStringList{"plan.kxd"});
    openThroughDialog(writeList("PLAN.kxd", "C\r\n"));  // the comparison keeps letter case
    EXPECT_EQ(captions(), (QStringList{"plan.kxd", "PLAN.kxd"}));
    EXPECT_EQ(tabTexts(), (QStringList{"plan", "PLAN"}));
}

TEST_F(ListWindowFlows, AFailedReadLeavesTheWindowOpenWithWhatWasRead) {
    const std::string path = writeList("bad.kxd", "Root\r\n\tA\r\n\t\t\tToo deep\r\n");
    openThroughDialog(path);
    EXPECT_EQ(fakes.dialogs.messages(), QStringList{"アイテム \"Too deep\" の階層 (3) が不正です"});
    TList* list = activeList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), "List");
    EXPECT_EQ(list->listFileName(), "");
    EXPECT_EQ(tabTexts(), QStringList{"Temp"});
    EXPECT_EQ(list->document().tree.size(), 2u);

    openThroughDialog(dir.file("missing.kxd"));
    EXPECT_EQ(fakes.dialogs.messages().last(),
              QString::fromStdString("ファイル " + dir.file("missing.kxd") + " は開けません"));
    EXPECT_EQ(tabTexts(), (QStringList{"Temp", "Temp"}));
    EXPECT_EQ(activeList()->document().tree.size(), 1u);  // the window's first tree: "Untitled"
}

TEST_F(ListWindowFlows, SavingAnUntitledListThroughTheClosePrompt) {
    dir.write("KX2cfg.ini", "[Folder]\r\nTreeDir=/start\r\n");
    window->lists().New1Click();
    TList* list = activeList();
    list->TreeView1->setCurrentIndex(list->model()->indexOf(list->document().tree.first()));
    fakes.dialogs.inputAnswers.push_back("資料");
    list->N8Click();
    ASSERT_TRUE(list->isModified());

    fakes.dialogs.confirmAnswers.push_back(true);
    fakes.dialogs.fileAnswers.push_back(dir.file("proj.kxd"));
    EXPECT_TRUE(list->FormCloseQuery());
    EXPECT_EQ(fakes.beeper.beeps, 1);
    EXPECT_EQ(fakes.dialogs.calls[1], (Call{"confirm", {"Untitledを保存しますか?"}}));
    EXPECT_EQ(fakes.dialogs.calls[2],
              (Call{"saveFile", {"", "/start", "プロジェクトファイル(*.kxd)", "kxd", "Untitled.kxd"}}));
    EXPECT_EQ(dir.read("proj.kxd"), "Untitled\r\n\t資料\r\n");
    EXPECT_EQ(list->windowTitle(), "proj.kxd");
    EXPECT_EQ(tabTexts(), QStringList{"proj"});
    EXPECT_FALSE(list->isModified());
}

TEST_F(ListWindowFlows, CancellingTheNameAfterYesKeepsTheWindowAndItsChanges) {
    window->lists().New1Click();
    TList* list = activeList();
    touch(list);
    fakes.dialogs.confirmAnswers.push_back(true);
    fakes.dialogs.fileAnswers.push_back(std::nullopt);
    list->Close1Click();
    EXPECT_EQ(window->lists().listWindows().size(), 1u);
    EXPECT_TRUE(list->isModified());
    EXPECT_EQ(tabTexts(), QStringList{"Untitled"});

    fakes.dialogs.confirmAnswers.push_back(false);  // "いいえ": closes without saving
    list->Close1Click();
    EXPECT_TRUE(window->lists().listWindows().empty());
}

TEST_F(ListWindowFlows, AFailedWriteKeepsTheListModifiedAndOpen) {
    openThroughDialog(writeList("a.kxd", "A\r\n"));
    TList* list = activeList();
    list->setListFileName(dir.file("gone/a.kxd"));
    touch(list);
    list->N4->trigger();
    const QString error = QString::fromStdString("ファイル " + dir.file("gone/a.kxd") + " を作成できません");
    EXPECT_EQ(fakes.dialogs.messages(), QStringList{error});
    EXPECT_TRUE(list->isModified());
    EXPECT_EQ(list->windowTitle(), "a.kxd");

    fakes.dialogs.confirmAnswers.push_back(true);
    list->Close1Click();
    EXPECT_EQ(fakes.dialogs.messages(), (QStringList{error, error}));
    EXPECT_EQ(window->lists().listWindows().size(), 1u);
}

// Another program (a colleague on a shared folder, a text editor) wrote the list after this window read it.
TEST_F(ListWindowFlows, SavingOverAnotherProgramsVersionAsksFirstAndNoWritesNothing) {
    for (const bool overwrite : {false, true}) {
        const std::string path = writeList("shared.kxd", "Mine\r\n");
        openThroughDialog(path);
        TList* list = activeList();
        dir.write("shared.kxd", "Theirs, longer\r\n");
        touch(list);
        fakes.dialogs.calls.clear();
        fakes.dialogs.confirmAnswers.push_back(overwrite);
        list->N4Click();
        EXPECT_EQ(fakes.dialogs.calls,
                  (std::vector<Call>{{"confirm",
                                      {QString::fromStdString(path) +
                                       "は他のプログラムによって変更されています。上書きしますか?"}}}));
        EXPECT_EQ(dir.read("shared.kxd"), overwrite ? "Mine\r\n" : "Theirs, longer\r\n");
        EXPECT_EQ(list->isModified(), !overwrite);
        fakes.dialogs.calls.clear();
        if (!overwrite) fakes.dialogs.confirmAnswers.push_back(false);
        list->N4Click();  // after its own save the window knows the file again: no question
        EXPECT_EQ(fakes.dialogs.calls.size(), overwrite ? 0u : 1u);
        window->lists().discard(list);
    }
}

TEST_F(ListWindowFlows, AnUnchangedListOffersToReadAnotherProgramsVersion) {
    const std::string path = writeList("shared.kxd", "Mine\r\n");
    openThroughDialog(path);
    TList* list = activeList();
    fakes.dialogs.calls.clear();
    list->N4Click();  // its own write asks nothing, now or when the watch reports it
    QTest::qWait(200);
    EXPECT_TRUE(fakes.dialogs.calls.empty());

    fakes.dialogs.confirmAnswers.push_back(true);
    dir.write("shared.kxd", "Theirs\r\n\tNew\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fakes.dialogs.calls.empty(); }, 5000));
    EXPECT_EQ(fakes.dialogs.calls[0].args,
              QStringList{QString::fromStdString(path) +
                          "は他のプログラムによって変更されました。読み込み直しますか?"});
    const ListTree& tree = list->document().tree;
    EXPECT_EQ(tree.text(tree.first()), "Theirs");
    EXPECT_EQ(tree.children(tree.first()).size(), 1u);
    EXPECT_FALSE(list->isModified());
}

TEST_F(ListWindowFlows, ClosingAnUnchangedListAsksNothing) {
    openThroughDialog(writeList("a.kxd", "A\r\n"));
    activeList()->Close1Click();
    EXPECT_TRUE(window->lists().listWindows().empty());
    EXPECT_EQ(fakes.beeper.beeps, 0);
    EXPECT_EQ(fakes.dialogs.calls.size(), 1u);  // the open dialog only
}

TEST_F(ListWindowFlows, ProgramExitOffersEveryModifiedListInTurn) {
    openThroughDialog(writeList("a.kxd", "A\r\n"));
    touch(activeList());
    openThroughDialog(writeList("b.kxd", "B\r\n"));
    window->lists().New1Click();
    touch(activeList());
    fakes.dialogs.confirmAnswers = {true, false};
    window->Exit1Click();
    EXPECT_FALSE(window->isVisible());
    QStringList questions;
    for (const Call& call : fakes.dialogs.calls)
        if (call.kind == "confirm") questions << call.args[0];
    EXPECT_EQ(questions, (QStringList{QString::fromStdString(dir.file("a.kxd")) + "を保存しますか?",
                                      "Untitledを保存しますか?"}));
    EXPECT_EQ(fakes.beeper.beeps, 2);
}

TEST_F(ListWindowFlows, SaveAsProposesTheTopmostVisibleNodeAndRenamesTheTab) {
    openThroughDialog(writeList("a.kxd", "Renamed root\r\n\tB\r\n"));
    TList* list = activeList();
    fakes.dialogs.fileAnswers.push_back(dir.file("d.kxd"));
    list->N5->trigger();
    EXPECT_EQ(fakes.dialogs.calls.back().args[4], "Renamed root.kxd");
    EXPECT_EQ(dir.read("d.kxd"), "Renamed root\r\n\tB\r\n");
    EXPECT_EQ(list->windowTitle(), "d.kxd");
    EXPECT_EQ(tabTexts(), QStringList{"d"});

    fakes.dialogs.fileAnswers.push_back(std::nullopt);  // cancelled: nothing changes
    list->N5->trigger();
    EXPECT_EQ(list->listFileName(), dir.file("d.kxd"));
    EXPECT_EQ(tabTexts(), QStringList{"d"});
}

TEST_F(ListWindowFlows, SaveAsOfAScrolledListNeverProposesTheItemShownOnTop) {
    std::string bytes = "Root\r\n";
    for (int i = 0; i < 60; ++i) bytes += "\t" + dir.path() + "ファイル_" + std::to_string(i) + ".txt\r\n";
    openThroughDialog(writeList("a.kxd", bytes));
    TList* list = activeList();
    list->TreeView1->scrollToBottom();
    const QModelIndex top = list->TreeView1->indexAt(QPoint(1, 1));
    ASSERT_TRUE(top.isValid() && top.row() > 0) << "scrolled";
    fakes.dialogs.fileAnswers.push_back(std::nullopt);
    list->N5->trigger();
    EXPECT_EQ(fakes.dialogs.calls.back(), (Call{"saveFile",
                                                {"", "", "プロジェクトファイル(*.kxd)", "kxd",
                                                 QStringLiteral("ファイル_%1.txt.kxd").arg(top.row())}}));
}

}  // namespace
}  // namespace tarvelin
