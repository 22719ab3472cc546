// The file commands on real panes and real files; dialogs answer from a script and every file job request is
// recorded before it runs.
#include "browser/file_commands.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QVBoxLayout>
#include <deque>
#include <memory>

#include "browser/file_list_box.h"
#include "browser/file_list_model.h"
#include "browser/file_pane.h"
#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "browser_fixture.h"
#include "platform/file_operations.h"
#include "recording_operations.h"
#include "support/fake_services.h"

namespace tarvelin {
namespace {

using test::RecordingOperations;
using test::TempFolder;

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeFolders(folder, {"left", "right/old"});
        test::makeFiles(folder,
                        {"left/a.txt", "left/b.txt", "left/c.txt", "left/report.doc", "left/taken.doc"});
        auto* column = new QVBoxLayout(&host);
        left = makePane("1", column);
        right = makePane("2", column);
        left->tree()->setRoot(folder.file("left"));
        right->tree()->setRoot(folder.file("right"));
        left->showFolderInFileList();
        right->showFolderInFileList();
        host.show();
    }
    std::unique_ptr<FilePane> makePane(const char* n, QVBoxLayout* column) {
        const QString k = QString::fromLatin1(n);
        return std::make_unique<FilePane>(FilePane::Layout{"ShellTreeView" + k, "Splitter" + k,
                                                           "FileListBox" + k, "Label" + k, 160, 1, true},
                                          test::placesIn(folder), &host, column);
    }
    QStringList listed(FilePane& pane) {
        test::waitForReading(pane.files());
        QStringList names;
        for (const auto& name : pane.list()->files().list().items()) names << QString::fromStdString(name);
        return names;
    }
    void select(FilePane& pane, std::initializer_list<int> rows, int focused) {
        FileListBox& list = *pane.list();
        test::waitForReading(list.files());
        list.clearSelection();
        for (int row : rows)
            list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
        list.selectionModel()->setCurrentIndex(list.model()->index(focused, 0),
                                               QItemSelectionModel::NoUpdate);
    }
    FileCommands::Reread rereadOf(FilePane& pane) {
        return [&pane] { pane.reread(); };
    }

    TempFolder folder;
    QWidget host;
    std::unique_ptr<FilePane> left, right;
    test::FakeServices fakes;
    RecordingOperations operations{folder.file("Trash")};
    FileCommands commands{fakes.dialogs, operations};
};

TEST_F(FileCommandsTest, DeleteSendsTheSelectionInListOrderAndRereadsAfterACancel) {
    select(*left, {3, 0, 2}, 2);
    operations.confirms = {false};
    commands.deleteSelected(left->list(), rereadOf(*left));
    ASSERT_EQ(operations.requests.size(), 1u);
    EXPECT_EQ(operations.requests[0],
              (FileOperationRequest{
                  FileOperation::Delete,
                  {folder.file("left/a.txt"), folder.file("left/c.txt"), folder.file("left/report.doc")},
                  {}}));
    EXPECT_EQ(operations.said, std::vector<std::string>{"3 個の項目をごみ箱に移動しますか?"});
    EXPECT_EQ(listed(*left), (QStringList{"a.txt", "b.txt", "c.txt", "report.doc", "taken.doc"}));
    EXPECT_TRUE(left->list()->selectedRowsInOrder().empty());  // re-read

    select(*left, {1}, 1);
    operations.confirms = {true};
    commands.deleteSelected(left->list(), rereadOf(*left));
    EXPECT_EQ(listed(*left), (QStringList{"a.txt", "c.txt", "report.doc", "taken.doc"}));
    EXPECT_TRUE(folder.exists("Trash/files/b.txt"));

    commands.deleteSelected(nullptr, [] { FAIL() << "no list, nothing to re-read"; });
    EXPECT_EQ(operations.requests.size(), 2u);
}

TEST_F(FileCommandsTest, RenameKeepsTheExtensionAndRefusesTakenNamesAndSlashes) {
    struct Case {
        QString typed;      // null: the input box is cancelled
        QString renamedTo;  // empty: refused, nothing renamed
        std::string said;
    };
    const Case cases[] = {
        {"summary", "summary.doc", ""},
        {"summary.doc", "summary.doc.doc", ""},
        {"", ".doc", ""},
        {"taken", "", "{dir}taken.doc は既にあります。名前を変更できません。"},
        {"sub/x", "", "「sub/x.doc」はファイル名に使えません。"},
        {QString(), "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        test::makeFiles(folder, {"left/report.doc"});
        left->reread();
        select(*left, {}, 3);  // focused, not selected: the focused item is renamed
        fakes.dialogs.inputAnswers = {c.typed};
        fakes.dialogs.calls.clear();
        operations.said.clear();
        commands.renameFocused(left->list(), rereadOf(*left));
        EXPECT_EQ(
            fakes.dialogs.calls,
            (std::vector<test::Call>{
                {"inputLine", {"ファイル名変更", "変更後のファイル名を記入してください（拡張子不要）"}}}));
        std::string said = c.said;
        if (const auto at = said.find("{dir}"); at != std::string::npos)
            said.replace(at, 5, folder.file("left/"));
        EXPECT_EQ(operations.said,
                  said.empty() ? std::vector<std::string>{} : std::vector<std::string>{said});
        if (!c.renamedTo.isEmpty()) {
            EXPECT_EQ(folder.read("left/" + c.renamedTo.toStdString()), "x");
            EXPECT_EQ(listed(*left).contains(c.renamedTo), !c.renamedTo.startsWith('.'));  // ".doc" is hidden
            EXPECT_FALSE(listed(*left).contains("report.doc"));
            std::filesystem::remove(folder.file("left/" + c.renamedTo.toStdString()));
        } else {
            EXPECT_TRUE(folder.exists("left/report.doc"));
            EXPECT_EQ(folder.read("left/taken.doc"), "x");
        }
    }
}

TEST_F(FileCommandsTest, RenameKeepsItsNamesWhenTheListIsReadAgainDuringTheQuestion) {
    select(*left, {3}, 3);
    fakes.dialogs.inputAnswers = {"summary"};
    fakes.dialogs.onCall = [&](const test::Call& call) {
        if (call.kind == "inputLine") left->list()->files().showFolder(folder.file("right"));
    };
    commands.renameFocused(left->list(), [] {});
    EXPECT_EQ(folder.read("left/summary.doc"), "x");
    EXPECT_FALSE(folder.exists("left/report.doc"));
    EXPECT_TRUE(operations.said.empty());
}

TEST_F(FileCommandsTest, ClipboardGetsEveryNameWithCrLf) {
    select(*left, {1}, 1);
    FileCommands::copyNamesToClipboard(left->list());
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("a.txt\r\nb.txt\r\nc.txt\r\nreport.doc\r\ntaken.doc\r\n"));
}

TEST_F(FileCommandsTest, NewFolderCreatesNestedFoldersAndShowsThemInTheRefreshedNode) {
    ShellTreeView& tree = *right->tree();
    fakes.dialogs.inputAnswers = {"a/b"};
    commands.newFolder(tree);
    EXPECT_EQ(fakes.dialogs.calls,
              (std::vector<test::Call>{
                  {"inputLine",
                   {"新規フォルダ作成", QString::fromStdString(folder.file("right")) +
                                            "\rにフォルダを作成します。\rフォルダ名を記入してください"}}}));
    const FileOperationRequest make{FileOperation::MakeFolder, {}, folder.file("right/a/b")};
    EXPECT_EQ(operations.requests, std::vector<FileOperationRequest>{make});
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("right/a/b")));
    test::waitForReading(tree.folders());
    const QModelIndex node = tree.currentIndex();
    EXPECT_TRUE(tree.isExpanded(node));
    QStringList children;
    for (int row = 0; row < tree.folders().rowCount(node); ++row)
        children << tree.folders().index(row, 0, node).data().toString();
    EXPECT_EQ(children, (QStringList{"a", "old"}));

    fakes.dialogs.inputAnswers = {QString()};
    commands.newFolder(tree);
    test::waitForReading(tree.folders());
    EXPECT_EQ(tree.folders().rowCount(node), 2);
}

TEST_F(FileCommandsTest, DropsBetweenListsCopyAndNeverMove) {
    select(*left, {0, 4}, 0);
    commands.copyAcross(*left->list(), *right->list(), rereadOf(*right));
    const FileOperationRequest copy{FileOperation::Copy,
                                    {folder.file("left/a.txt"), folder.file("left/taken.doc")},
                                    folder.file("right")};
    EXPECT_EQ(operations.requests, std::vector<FileOperationRequest>{copy});
    EXPECT_EQ(listed(*right), (QStringList{"a.txt", "taken.doc"}));
    EXPECT_EQ(listed(*left).size(), 5);
}

}  // namespace
}  // namespace tarvelin
