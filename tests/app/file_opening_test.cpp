// Opening the focused file of a file list: the desktop, the log line, and list documents in list windows.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>

#include "app/list_windows.h"
#include "app/main_window.h"
#include "app/operation_log.h"
#include "browser/browser_fixture.h"
#include "browser/file_list_box.h"
#include "browser/file_panes.h"
#include "lists/list_window.h"
#include "support/controls.h"
#include "support/fake_services.h"

namespace tarvelin {
namespace {

using test::Call;
using test::control;
using test::TempFolder;

int rowOf(FileListBox& list, const QString& name) {
    test::waitForReading(*list.model());
    for (int row = 0; row < list.model()->rowCount(); ++row)
        if (list.model()->index(row, 0).data().toString() == name) return row;
    ADD_FAILURE() << name.toStdString() << " is not listed";
    return 0;
}

class FileOpeningTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeFolders(data, {"docs", "other"});
        data.write("docs/note.txt", "x");
        data.write("docs/plan.kxd", "Plan\r\n\tBinder\r\n");
        data.write("docs/BIG.KXD", "Big\r\n");
        data.write("other/plan.kxd", "Other\r\n");
        fakes.clock.time = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
        QLocale::setDefault(QLocale("ja_JP"));
        window = std::make_unique<TKX2>(fakes.services(program.path()));
        QLocale::setDefault(QLocale::c());
        window->show();
        window->panes().showItemFolder(data.file("docs/"), false);
        window->panes().showItemFolder(data.file("other"), true);
    }

    FileListBox& list(const char* name) { return *control<FileListBox>(*window, name); }
    QStringList logTail() const {
        auto* log = control<OperationLog>(*window, "ListBox1");
        QStringList lines;
        for (int row = 1; row < log->count(); ++row) lines << log->item(row)->text();
        return lines;
    }
    // A double click on a listed name, as the user gives it.
    void doubleClick(FileListBox& box, const QString& name) {
        const QPoint at = test::rowCentre(box, rowOf(box, name));
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, at);
    }

    TempFolder home;
    test::HomeInTempFolder homeSet{home};
    TempFolder program;
    TempFolder data;
    test::FakeServices fakes;
    std::unique_ptr<TKX2> window;
};

TEST_F(FileOpeningTest, EveryFileGoesToTheDesktopAndTheLogListDocumentsOpenInAWindow) {
    const struct {
        const char* name;
        QStringList captions;  // of the list windows afterwards
        QStringList tabs;
    } cases[] = {
        {"note.txt", {}, {}},
        {"BIG.KXD", {}, {}},  // only exactly ".kxd" opens in a window
        {"plan.kxd", {"plan.kxd"}, {"plan"}},
    };
    for (const auto& c : cases) {
        fakes.shell.calls.clear();
        doubleClick(list("FileListBox1"), c.name);
        const std::string path = data.file("docs/" + std::string(c.name));
        EXPECT_EQ(fakes.shell.calls, (std::vector<Call>{{"openPath", {QString::fromStdString(path)}}}))
            << c.name;
        EXPECT_EQ(logTail().last(),
                  QString::fromStdString("2026/01/02 3:04:05 : " + path) + "を開きました。");
        QStringList captions;
        for (TList* open : window->lists().listWindows()) captions << open->windowTitle();
        EXPECT_EQ(captions, c.captions) << c.name;
    }
    auto* tabs = control<QTabBar>(*window, "TabControl1");
    ASSERT_EQ(tabs->count(), 1);
    EXPECT_EQ(tabs->tabText(0), "plan");
    EXPECT_EQ(tabs->currentIndex(), 0);
    const ListTree& tree = window->lists().listWindows().front()->document().tree;
    EXPECT_EQ(tree.icon(tree.first()), 0);
    EXPECT_EQ(logTail().size(), 3);
}

TEST_F(FileOpeningTest, EnterOpensTheRightListsFileAndASameNamedListIsRefusedAfterTheShellAndTheLog) {
    doubleClick(list("FileListBox1"), "plan.kxd");
    fakes.shell.calls.clear();

    FileListBox& right = list("FileListBox2");
    right.setFocus();
    right.setCurrentIndex(right.model()->index(rowOf(right, "plan.kxd"), 0));
    QTest::keyClick(&right, Qt::Key_Return);

    const std::string other = data.file("other/plan.kxd");
    EXPECT_EQ(fakes.shell.calls, (std::vector<Call>{{"openPath", {QString::fromStdString(other)}}}));
    EXPECT_EQ(logTail().last(), QString::fromStdString("2026/01/02 3:04:05 : " + other) + "を開きました。");
    EXPECT_EQ(fakes.dialogs.messages(),
              QStringList{"すでに開かれていると同じ名前のファイルは、同時に開くことができません"});
    EXPECT_EQ(window->lists().listWindows().size(), 1u);
}

TEST_F(FileOpeningTest, AFocusedItemThatIsNotSelectedGoesToTheDesktopAndLogsAnEmptyPath) {
    FileListBox& left = list("FileListBox1");
    left.setFocus();
    left.selectionModel()->setCurrentIndex(left.model()->index(rowOf(left, "plan.kxd"), 0),
                                           QItemSelectionModel::NoUpdate);
    QTest::keyClick(&left, Qt::Key_Enter);

    EXPECT_EQ(fakes.shell.calls,
              (std::vector<Call>{{"openPath", {QString::fromStdString(data.file("docs/plan.kxd"))}}}));
    EXPECT_EQ(logTail(), QStringList{"2026/01/02 3:04:05 : を開きました。"});
    EXPECT_TRUE(window->lists().listWindows().empty());
}

}  // namespace
}  // namespace tarvelin
