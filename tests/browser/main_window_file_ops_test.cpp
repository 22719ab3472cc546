// The file commands and the two-pane mode in the real main window, with scripted dialogs and a recording file
// job service.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QSplitter>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "app/main_window.h"
#include "browser/file_list_box.h"
#include "browser/file_list_menu.h"
#include "browser/file_list_model.h"
#include "browser/file_panes.h"
#include "browser_fixture.h"
#include "recording_operations.h"
#include "support/controls.h"
#include "support/fake_services.h"

namespace tarvelin {
namespace {

using test::control;
using test::TempFolder;

class MainWindowFileOpsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeFolders(data, {"left", "right"});
        test::makeFiles(data, {"left/a.txt", "left/b.txt", "left/c.txt"});
        program.write("KX2cfg.ini", "[Folder]\r\nTreeDir=" + data.file("left") + "\r\n");
        Services services = fakes.services(program.path());
        services.fileOperations = &operations;
        window = std::make_unique<TKX2>(services);
        window->resize(900, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    FileListBox* list(const char* name) { return control<FileListBox>(*window, name); }
    int leftWidth() { return control<QSplitter>(*window, "Splitter1")->sizes().value(0); }

    TempFolder home;
    test::HomeInTempFolder homeSet{home};
    TempFolder program;
    TempFolder data;
    test::FakeServices fakes;
    test::RecordingOperations operations{data.file("Trash")};
    std::unique_ptr<TKX2> window;
};

TEST_F(MainWindowFileOpsTest, ModeTakesHalfTheWindowAndGivesBackTheSplitterWidth) {
    control<QSplitter>(*window, "Splitter1")->setSizes({320, 580});
    const int userWidth = leftWidth();
    control<QToolButton>(*window, "ToolButton7")->click();
    EXPECT_TRUE(window->panes().fileOperationMode());
    EXPECT_TRUE(control<QWidget>(*window, "Panel3")->isVisible());
    EXPECT_TRUE(list("FileListBox2")->isVisible());  // made as the mode came on, and shown with it
    EXPECT_FALSE(control<QMdiArea>(*window, "MDIClient")->isVisible());
    EXPECT_FALSE(control<QTabBar>(*window, "TabControl1")->isVisible());
    EXPECT_EQ(leftWidth(), window->frameGeometry().width() / 2);
    EXPECT_EQ(window->savedLeftPaneWidth(), userWidth);

    // The tree reset asks which tree; the right list is the current one for a while.
    control<QToolButton>(*window, "ToolButton1")->click();
    auto* which = control<QMenu>(*window, "PopupMenu3");
    EXPECT_TRUE(which->isVisible());
    which->hide();
    emit list("FileListBox2")->madeCurrent();

    control<QAction>(*window, "N13")->trigger();
    EXPECT_FALSE(window->panes().fileOperationMode());
    EXPECT_EQ(window->panes().currentFileList(), nullptr);  // hidden now: no command acts on it
    EXPECT_FALSE(control<QWidget>(*window, "Panel3")->isVisible());
    EXPECT_TRUE(control<QMdiArea>(*window, "MDIClient")->isVisible());
    EXPECT_TRUE(control<QTabBar>(*window, "TabControl1")->isVisible());
    EXPECT_EQ(leftWidth(), userWidth);
}

TEST_F(MainWindowFileOpsTest, ExitWhileTheModeIsOnOnlyLeavesIt) {
    control<QAction>(*window, "New1")->trigger();
    auto* area = control<QMdiArea>(*window, "MDIClient");
    ASSERT_EQ(area->subWindowList().size(), 1);
    const QString title = window->windowTitle();  // names the list window, shown maximised
    control<QToolButton>(*window, "ToolButton7")->click();
    ASSERT_TRUE(window->panes().fileOperationMode());

    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->panes().fileOperationMode());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(area->activeSubWindow(), area->subWindowList().front());  // back as it was
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_TRUE(fakes.dialogs.calls.empty());  // no save question: the close went no further
}

TEST_F(MainWindowFileOpsTest, MenuCommandsActOnTheCurrentListAndDropsCopyAcross) {
    FileListBox* left = list("FileListBox1");
    auto& menu = window->panes().fileListMenu();
    menu.Delete1->trigger();  // no list has been current yet: nothing
    EXPECT_TRUE(operations.requests.empty());

    emit left->madeCurrent();
    test::waitForReading(*left->model());
    left->selectionModel()->select(left->model()->index(2, 0), QItemSelectionModel::Select);
    left->selectionModel()->select(left->model()->index(0, 0), QItemSelectionModel::Select);
    operations.confirms = {false};
    menu.Delete1->trigger();
    const FileOperationRequest trash{
        FileOperation::Delete, {data.file("left/a.txt"), data.file("left/c.txt")}, {}};
    ASSERT_EQ(operations.requests, std::vector<FileOperationRequest>{trash});
    test::waitForReading(*left->model());
    EXPECT_EQ(left->model()->rowCount(), 3);
    EXPECT_TRUE(left->selectedRowsInOrder().empty());  // re-read after the cancel

    menu.LZH1->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a.txt\r\nb.txt\r\nc.txt\r\n"));

    window->panes().right();
    FileListBox* right = list("FileListBox2");
    right->files().showFolder(data.file("right"));
    left->selectionModel()->select(left->model()->index(1, 0), QItemSelectionModel::Select);
    emit right->filesDropped(QStringLiteral("ShellTreeView1"));  // not from the other list: nothing
    emit right->filesDropped(QStringLiteral("FileListBox1"));
    QCoreApplication::processEvents();  // drops act after the drag is over
    const FileOperationRequest copy{FileOperation::Copy, {data.file("left/b.txt")}, data.file("right")};
    EXPECT_EQ(operations.requests.back(), copy);
    EXPECT_EQ(operations.requests.size(), 2u);
    test::waitForReading(*right->model());
    EXPECT_EQ(right->model()->rowCount(), 1);
}

}  // namespace
}  // namespace tarvelin
