// One pane on its own: the tree drives the list, the strip follows the list, the mouse and key rules.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QVBoxLayout>
#include <atomic>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "browser/file_list_box.h"
#include "browser/file_list_model.h"
#include "browser/file_pane.h"
#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "browser_fixture.h"
#include "widgets/pane_drag.h"

namespace tarvelin {
namespace {

using test::TempFolder;

void setLocalFileTime(const std::string& path, int year, int month, int day, int hour, int minute,
                      int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class FilePaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeFolders(folder, {"root/a/deep", "root/b", "root/.hidden"});
        test::makeFiles(folder,
                        {"root/top.txt", "root/a/x1.txt", "root/a/x2.doc", "root/a/x3.xls", "root/a/x4.txt"});
        host.resize(300, 500);
        auto* column = new QVBoxLayout(&host);
        pane = std::make_unique<FilePane>(
            FilePane::Layout{"ShellTreeView1", "Splitter2", "FileListBox1", "Label1", 160, 1, true},
            test::placesIn(folder), &host, column);
        tree().setRoot(folder.file("root"));
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        test::waitForReading(folders());
        test::waitForReading(list().files());
    }

    ShellTreeView& tree() { return *pane->tree(); }
    FileListBox& list() { return *pane->list(); }
    FolderTreeModel& folders() { return tree().folders(); }
    QStringList listed() {
        test::waitForReading(list().files());
        QStringList names;
        for (int row = 0; row < list().model()->rowCount(); ++row)
            names << list().model()->index(row, 0).data().toString();
        return names;
    }
    std::vector<int> selected() { return list().selectedRowsInOrder(); }
    QString strip() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !pane->stripWaiting(); }));
        return pane->label()->text();
    }
    void selectFolder(const char* name) {
        const QModelIndex root = folders().rootIndex();
        for (int row = 0; row < folders().rowCount(root); ++row)
            if (folders().index(row, 0, root).data().toString() == name)
                tree().setCurrentIndex(folders().index(row, 0, root));
        test::waitForReading(list().files());
    }
    void selectRows(std::initializer_list<int> rows) {
        list().clearSelection();
        for (int row : rows)
            list().selectionModel()->select(list().model()->index(row, 0), QItemSelectionModel::Select);
    }

    TempFolder folder;
    QWidget host;
    std::unique_ptr<FilePane> pane;
};

TEST_F(FilePaneTest, ControlsHaveTheirNamesAndSizes) {
    EXPECT_EQ(tree().objectName(), "ShellTreeView1");
    EXPECT_EQ(list().objectName(), "FileListBox1");
    EXPECT_EQ(pane->label()->objectName(), "Label1");
    EXPECT_EQ(pane->splitter()->objectName(), "Splitter2");
    EXPECT_EQ(pane->splitter()->handleWidth(), 1);
    EXPECT_EQ(pane->label()->height(), 30);
    EXPECT_EQ(tree().height(), 160);
    EXPECT_EQ(tree().indentation(), 19);
    EXPECT_FALSE(tree().rootIsDecorated());
    EXPECT_EQ(list().font().pixelSize(), 15);
    EXPECT_EQ(list().font().family(), "IPAPGothic");
    EXPECT_EQ(list().selectionMode(), QAbstractItemView::ExtendedSelection);
    selectFolder("a");
    EXPECT_EQ(list().visualRect(list().model()->index(1, 0)).height(), 16);
    EXPECT_EQ(list().visualRect(list().model()->index(1, 0)).top(), 16);
}

// The first paint after a new listing finds its rows in place, however many there are.
TEST_F(FilePaneTest, AFolderOfThousandsHasItsRowsInPlaceAtOnce) {
    constexpr int kFiles = 2500;
    test::makeFolders(folder, {"big"});
    for (int i = 0; i < kFiles; ++i) folder.write("big/f" + std::to_string(10000 + i) + ".txt", "");
    tree().setRoot(folder.file("big"));
    test::waitForReading(list().files());
    ASSERT_EQ(list().model()->rowCount(), kFiles);
    EXPECT_EQ(list().indexAt(QPoint(5, 20 * 16 + 5)), list().model()->index(20, 0));
    const QModelIndex last = list().model()->index(kFiles - 1, 0);
    list().scrollTo(last);
    EXPECT_TRUE(list().viewport()->rect().contains(list().visualRect(last)));
    EXPECT_EQ(last.data().toString(), QString("f%1.txt").arg(10000 + kFiles - 1));
}

TEST_F(FilePaneTest, ANewRootIsExpandedSelectedAndListed) {
    const QModelIndex root = folders().rootIndex();
    EXPECT_EQ(tree().currentIndex(), root);
    EXPECT_TRUE(tree().isExpanded(root));
    EXPECT_EQ(tree().selectedPath(), folder.file("root"));
    EXPECT_EQ(listed(), (QStringList{"top.txt"}));
}

TEST_F(FilePaneTest, TheTreeDrivesTheListAndTheSameFolderIsNotReadAgain) {
    QSignalSpy resets(&list().files(), &QAbstractItemModel::modelReset);
    selectFolder("a");
    EXPECT_EQ(listed(), (QStringList{"x1.txt", "x2.doc", "x3.xls", "x4.txt"}));
    EXPECT_EQ(list().files().folder(), folder.file("root/a"));
    selectRows({1});

    selectFolder("b");
    selectFolder("a");
    EXPECT_EQ(resets.count(), 3);
    EXPECT_TRUE(selected().empty());  // a re-read clears the selection
    selectRows({2});

    // Selected again, or the tree losing the focus: no re-read, the selection stays.
    tree().setCurrentIndex(QModelIndex());
    selectFolder("a");
    pane->showFolderInFileList();
    tree().setFocus();
    list().setFocus();
    EXPECT_EQ(resets.count(), 3);
    EXPECT_EQ(selected(), (std::vector<int>{2}));
}

TEST_F(FilePaneTest, ARightClickOnAFolderSelectsItAndItsFilesAreListed) {
    const QModelIndex root = folders().rootIndex();
    const QModelIndex a = folders().index(1, 0, root);
    ASSERT_EQ(a.data().toString(), "a");
    QTest::mouseClick(tree().viewport(), Qt::RightButton, {}, tree().visualRect(a).center());
    EXPECT_EQ(tree().selectedPath(), folder.file("root/a"));
    EXPECT_EQ(list().files().folder(), folder.file("root/a"));
}

TEST_F(FilePaneTest, TheUsersMovesOfTheFocusedFileAreReportedAndReReadsAreNot) {
    selectFolder("a");
    QSignalSpy focused(pane.get(), &FilePane::focusedFileChanged);
    test::click(list(), 1);
    QTest::keyClick(&list(), Qt::Key_Down);
    selectFolder("b");  // the re-read drops the focused item silently
    pane->reread();
    std::vector<std::string> paths;
    for (const QList<QVariant>& args : focused) paths.push_back(args[0].value<std::string>());
    EXPECT_EQ(paths, (std::vector<std::string>{folder.file("root/a/x2.doc"), folder.file("root/a/x3.xls")}));
}

TEST_F(FilePaneTest, TheStripShowsTheFocusedFilesTimeWhileItemsAreSelected) {
    setLocalFileTime(folder.file("root/a/x2.doc"), 2004, 3, 9, 9, 5, 43);
    selectFolder("a");
    EXPECT_EQ(strip(), "");
    QSignalSpy shown(pane.get(), &FilePane::selectionShown);

    list().selectionModel()->setCurrentIndex(list().model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(strip(), "Last Update : 2004/03/09 09:05:42");
    ASSERT_GE(shown.count(), 1);
    EXPECT_EQ(shown.last().at(0).toString(), QString::fromStdString(folder.file("root/a")));

    // The focused item decides, also when it is not the selected one.
    list().selectionModel()->setCurrentIndex(list().model()->index(3, 0), QItemSelectionModel::NoUpdate);
    setLocalFileTime(folder.file("root/a/x4.txt"), 2010, 12, 31, 23, 59, 59);
    list().selectionModel()->select(list().model()->index(0, 0), QItemSelectionModel::Select);
    EXPECT_EQ(strip(), "Last Update : 2010/12/31 23:59:58");

    shown.clear();
    list().clearSelection();
    EXPECT_EQ(strip(), "");
    EXPECT_EQ(shown.count(), 0);
}

TEST_F(FilePaneTest, AFileGoneOrAFolderWithoutFilesLeavesTheStripEmpty) {
    selectFolder("a");
    list().selectionModel()->setCurrentIndex(list().model()->index(0, 0),
                                             QItemSelectionModel::ClearAndSelect);
    EXPECT_FALSE(strip().isEmpty());
    std::filesystem::remove(folder.file("root/a/x2.doc"));
    list().selectionModel()->setCurrentIndex(list().model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(strip(), "");

    selectFolder("b");
    EXPECT_EQ(list().model()->rowCount(), 0);
    EXPECT_EQ(strip(), "");
}

TEST_F(FilePaneTest, RightButtonSelectsOnlyTheItemUnderThePointerUnlessSeveralAreSelected) {
    selectFolder("a");
    constexpr int kBelowLastItem = -1;
    const struct {
        std::initializer_list<int> before;
        int pressed;
        std::vector<int> after;
        int focused;  // -1: unchanged
        bool madeCurrent;
    } cases[] = {
        {{}, 1, {1}, 1, true},
        {{0}, 2, {2}, 2, true},
        {{2}, 2, {2}, 2, true},
        {{0, 1, 2}, 3, {0, 1, 2}, -1, false},
        {{1}, kBelowLastItem, {1}, -1, true},
        {{1, 3}, kBelowLastItem, {1, 3}, -1, false},
    };
    for (const auto& c : cases) {
        tree().setFocus();
        selectRows(c.before);
        list().selectionModel()->setCurrentIndex(list().model()->index(0, 0), QItemSelectionModel::NoUpdate);
        QSignalSpy current(&list(), &FileListBox::madeCurrent);
        const QPoint at = c.pressed == kBelowLastItem ? QPoint(20, list().viewport()->height() - 5)
                                                      : test::rowCentre(list(), c.pressed);
        QTest::mouseClick(list().viewport(), Qt::RightButton, {}, at);
        const int index = static_cast<int>(&c - cases);
        EXPECT_EQ(selected(), c.after) << "case " << index;
        EXPECT_EQ(list().currentIndex().row(), c.focused == -1 ? 0 : c.focused) << "case " << index;
        EXPECT_EQ(current.count() > 0, c.madeCurrent) << "case " << index;
        EXPECT_EQ(list().hasFocus(), c.madeCurrent) << "case " << index;
    }
}

TEST_F(FilePaneTest, LeftClicksSelectAsUsualAndAPressOnTheSelectionKeepsItForTheDrag) {
    selectFolder("a");
    const struct {
        std::initializer_list<int> before;
        int clicked;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> afterPress;
        std::optional<std::vector<int>> afterRelease;  // nullopt: the toolkit's own Shift and Ctrl click
    } cases[] = {
        {{0, 1, 2}, 1, {}, {0, 1, 2}, std::vector{1}},
        {{0, 1, 2}, 1, Qt::ControlModifier, {0, 1, 2}, std::vector{0, 2}},
        {{0, 1, 2}, 1, Qt::ShiftModifier | Qt::ControlModifier, {0, 1, 2}, std::nullopt},
        {{0}, 2, Qt::ControlModifier, {0, 2}, std::vector{0, 2}},
        {{}, 3, {}, {3}, std::vector{3}},
    };
    for (const auto& c : cases) {
        const int index = static_cast<int>(&c - cases);
        selectRows(c.before);
        const QPoint at = test::rowCentre(list(), c.clicked);
        QTest::mousePress(list().viewport(), Qt::LeftButton, c.modifiers, at);
        EXPECT_EQ(selected(), c.afterPress) << "case " << index;
        QTest::mouseRelease(list().viewport(), Qt::LeftButton, c.modifiers, at);
        if (c.afterRelease) {
            EXPECT_EQ(selected(), *c.afterRelease) << "case " << index;
        }
        EXPECT_TRUE(list().hasFocus()) << "case " << index;
        QTest::qWait(QApplication::doubleClickInterval() + 10);  // the next press is no double click
    }
}

TEST_F(FilePaneTest, EnterAndDoubleClickAreOneCommand) {
    selectFolder("a");
    QSignalSpy opened(&list(), &FileListBox::DblClick);
    test::click(list(), 1);
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, test::rowCentre(list(), 1));
    EXPECT_EQ(opened.count(), 1);
    QTest::keyClick(&list(), Qt::Key_Return);
    QTest::keyClick(&list(), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(opened.count(), 3);
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(opened.count(), 3);
    EXPECT_EQ(list().currentIndex().row(), 2);
}

TEST_F(FilePaneTest, DragsCarryTheSelectionInListOrderAndTheSourceName) {
    selectFolder("a");
    EXPECT_EQ(list().dragData(), nullptr);
    selectRows({3, 0});
    std::unique_ptr<QMimeData> files(list().dragData());
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(paneDragSource(*files), "FileListBox1");
    EXPECT_EQ(paneDragPaths(*files),
              (std::vector<std::string>{folder.file("root/a/x1.txt"), folder.file("root/a/x4.txt")}));
    EXPECT_EQ(paneDragEntries(*files).back().kind, PathKind::File);

    std::unique_ptr<QMimeData> folderData(tree().dragData());
    ASSERT_NE(folderData, nullptr);
    EXPECT_EQ(paneDragSource(*folderData), "ShellTreeView1");
    EXPECT_EQ(paneDragPaths(*folderData), (std::vector<std::string>{folder.file("root/a")}));
    EXPECT_EQ(paneDragEntries(*folderData).front().kind, PathKind::Folder);
}

TEST_F(FilePaneTest, RefreshKeepsExpandedFoldersAndTheSelection) {
    const QModelIndex root = folders().rootIndex();
    selectFolder("a");
    const QPersistentModelIndex a = tree().currentIndex();
    tree().expand(a);
    test::waitForReading(folders());
    selectFolder("b");
    test::makeFolders(folder, {"root/a/new", "root/0-first"});

    tree().refreshFromTop();
    test::waitForReading(folders());
    EXPECT_EQ(tree().root(), folder.file("root"));
    QStringList names;
    for (int row = 0; row < folders().rowCount(root); ++row)
        names << folders().index(row, 0, root).data().toString();
    EXPECT_EQ(names, (QStringList{".hidden", "0-first", "a", "b"}));
    EXPECT_TRUE(tree().isExpanded(a));
    EXPECT_EQ(folders().rowCount(a), 2);
    EXPECT_EQ(tree().selectedPath(), folder.file("root/b"));

    // The same root again, in another spelling of the same path, rebuilds nothing.
    tree().setRoot(folder.file("root") + "/");
    EXPECT_TRUE(tree().isExpanded(a));
}

TEST_F(FilePaneTest, RefreshAfterTheSelectedFolderVanishedSelectsItsNearestRemainingParent) {
    struct Case {
        const char* selected;
        const char* removed;
        const char* expected;
    };
    const Case cases[] = {
        {"root/a/deep/er", "root/a/deep", "root/a"},
        {"root/a/deep/er", "root/a", "root"},
        {"root/b", "root/a", "root/b"},
    };
    for (const Case& c : cases) {
        test::makeFolders(folder, {"root/a/deep/er", "root/a/deeper", "root/b"});
        tree().setRoot("rfDesktop");  // a tree read afresh for each case
        tree().setRoot(folder.file("root"));
        QModelIndex node = folders().rootIndex();
        for (const QString& name : QString(c.selected).split('/').mid(1)) {
            tree().expand(node);
            test::waitForReading(folders());
            for (int row = 0; row < folders().rowCount(node); ++row)
                if (folders().index(row, 0, node).data().toString() == name) {
                    node = folders().index(row, 0, node);
                    break;
                }
        }
        tree().setCurrentIndex(node);
        ASSERT_EQ(tree().selectedPath(), folder.file(c.selected));
        std::filesystem::remove_all(folder.file(c.removed));
        tree().refreshFromTop();
        test::waitForReading(folders());
        EXPECT_EQ(tree().selectedPath(), folder.file(c.expected)) << c.removed;
        test::waitForReading(list().files());
        EXPECT_EQ(list().files().folder(), folder.file(c.expected)) << c.removed;
    }
}

TEST_F(FilePaneTest, ADeepTreeScrollsSideways) {
    std::string deep = "d";
    for (int level = 0; level < 12; ++level)
        deep += "/a folder with a rather long name " + std::to_string(level);
    std::filesystem::create_directories(folder.file(deep));
    tree().setRoot(folder.file("d"));
    for (QModelIndex node = folders().rootIndex(); node.isValid(); node = folders().index(0, 0, node)) {
        tree().expand(node);
        test::waitForReading(folders());
        tree().setCurrentIndex(node);
    }
    QApplication::processEvents();
    EXPECT_GT(tree().horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(tree().horizontalScrollBar()->isVisible());
}

TEST_F(FilePaneTest, ARootFolderThatVanishedGivesWayToTheDesktop) {
    test::makeFolders(folder, {"gone/sub"});
    tree().setRoot(folder.file("gone"));
    test::waitForReading(folders());
    std::filesystem::remove_all(folder.file("gone"));
    tree().refreshFromTop();
    test::waitForReading(folders());
    test::waitForReading(list().files());
    EXPECT_EQ(tree().root(), "rfDesktop");
    EXPECT_EQ(tree().selectedPath(), folder.file("Desktop"));
    EXPECT_EQ(list().files().folder(), folder.file("Desktop"));
}

TEST_F(FilePaneTest, ARootThatDoesNotExistLeavesAnEmptyPaneThatStillWorks) {
    tree().setRoot(folder.file("missing"));
    test::waitForReading(folders());
    test::waitForReading(list().files());
    EXPECT_EQ(folders().rowCount(folders().rootIndex()), 0);
    EXPECT_EQ(list().model()->rowCount(), 0);
    EXPECT_EQ(strip(), "");
    tree().setRoot(folder.file("root"));
    EXPECT_EQ(listed(), (QStringList{"top.txt"}));
}

// A folder on a volume that stops answering: the window's thread never asks it, the pane says the folder is
// being read, and the user goes on to another folder, which a late answer does not overwrite.
// The real file system, but for `held`: it answers one name, then nothing until the gate opens, then one
// more.
struct GatedScan {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::string held;
    EntryKind kind = EntryKind::File;  // of the names it answers
    std::atomic<int> askedOnTheWindowsThread = 0;
    std::atomic<bool> lateAnswerGiven = false;
    const std::thread::id windowThread = std::this_thread::get_id();

    int scan(const std::string& folder, FolderScanSink& sink) {
        if (std::this_thread::get_id() == windowThread) ++askedOnTheWindowsThread;
        if (folder != held) return scanFolder(folder, sink);
        sink.take({"h1.txt", kind});
        sink.beforeAsking();
        std::unique_lock lock(mutex);
        opened.wait(lock, [&] { return open; });
        sink.take({"late.txt", kind});
        lateAnswerGiven = true;
        return 0;
    }
    void release() {
        const std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};

TEST(SlowFolder, AHungFolderShowsWhatItAnsweredAndGivesWayToTheNextOne) {
    test::TempFolder folder;
    test::makeFolders(folder, {"root/hung", "root/next"});
    test::makeFiles(folder, {"root/next/n1.txt"});
    auto disk = std::make_shared<GatedScan>();
    disk->held = folder.file("root/hung");
    QWidget host;
    FilePane pane({"ShellTreeView1", "Splitter2", "FileListBox1", "Label1", 160, 1, true},
                  test::placesIn(folder), &host, new QVBoxLayout(&host),
                  [disk](const std::string& path, FolderScanSink& sink) { return disk->scan(path, sink); });
    pane.tree()->setRoot(folder.file("root"));
    test::waitForReading(pane.folders());
    test::waitForReading(pane.files());
    const auto select = [&](int row) {
        pane.tree()->setCurrentIndex(pane.folders().index(row, 0, pane.folders().rootIndex()));
    };
    const auto listed = [&] {
        QStringList names;
        for (int row = 0; row < pane.files().rowCount(); ++row)
            names << pane.files().index(row).data().toString();
        return names;
    };

    select(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.files().rowCount() == 1; }));
    EXPECT_EQ(listed(), (QStringList{"h1.txt"}));
    EXPECT_TRUE(pane.files().beingRead());
    EXPECT_EQ(pane.label()->text(), "読み込み中…");

    select(1);
    test::waitForReading(pane.files());
    EXPECT_EQ(listed(), (QStringList{"n1.txt"}));
    EXPECT_EQ(pane.label()->text(), "");

    disk->release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return disk->lateAnswerGiven.load(); }));
    QTest::qWait(100);
    EXPECT_EQ(listed(), (QStringList{"n1.txt"}));
    EXPECT_EQ(pane.files().folder(), folder.file("root/next"));
    EXPECT_EQ(disk->askedOnTheWindowsThread, 0);
}

// The tree's side: the held folder's node says it is being read while another node fills, and the late
// answer goes to the node only while it is still there.
TEST(SlowFolder, AHungTreeFolderSaysItIsBeingReadAndItsLateAnswerFindsOnlyItsOwnNode) {
    enum Meanwhile { Nothing, Removed, Rerooted };
    const struct {
        const char* name;
        Meanwhile meanwhile;
        QStringList rootAfter;  // the root's children once the late answer came
        QStringList heldAfter;  // the held node's, where it is still there
    } cases[] = {
        {"nothing", Nothing, {"hung", "next"}, {"h1.txt", "late.txt"}},
        {"the folder removed and its parent refreshed", Removed, {"next"}, {}},
        {"the root set to another folder", Rerooted, {"inner"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        test::makeFolders(folder, {"root/hung", "root/next/inner"});
        auto disk = std::make_shared<GatedScan>();
        disk->held = folder.file("root/hung");
        disk->kind = EntryKind::Folder;
        FolderTreeModel model(
            false, test::placesIn(folder), nullptr, FolderTree::FirstRead::WhenAsked,
            [disk](const std::string& path, FolderScanSink& sink) { return disk->scan(path, sink); });
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        const auto children = [&](const QModelIndex& parent) {
            QStringList names;
            for (int row = 0; row < model.rowCount(parent); ++row)
                names << model.index(row, 0, parent).data().toString();
            return names;
        };
        model.setRoot(folder.file("root"));
        // The tester fetches as it walks: the held folder may be asked already.
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return children(model.rootIndex()) == QStringList{"hung", "next"};
        }));
        const QPersistentModelIndex hung = model.index(0, 0, model.rootIndex());
        const QModelIndex next = model.index(1, 0, model.rootIndex());
        model.fetchMore(hung);
        model.fetchMore(next);
        EXPECT_TRUE(QTest::qWaitFor([&] { return children(next) == QStringList{"inner"}; }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return children(hung) == QStringList{"h1.txt", "読み込み中…"}; }));
        EXPECT_TRUE(model.beingRead());

        if (c.meanwhile == Removed) {
            std::filesystem::remove_all(folder.file("root/hung"));
            model.refresh(model.rootIndex());
            EXPECT_TRUE(QTest::qWaitFor([&] { return !hung.isValid(); }));
        } else if (c.meanwhile == Rerooted) {
            model.setRoot(folder.file("root/next"));
        }
        disk->release();
        ASSERT_TRUE(QTest::qWaitFor([&] { return disk->lateAnswerGiven.load(); }));
        QTest::qWait(100);
        test::waitForReading(model);
        EXPECT_EQ(children(model.rootIndex()), c.rootAfter);
        EXPECT_EQ(hung.isValid() ? children(hung) : QStringList(), c.heldAfter);
        EXPECT_EQ(disk->askedOnTheWindowsThread, 0);
    }
}

}  // namespace
}  // namespace tarvelin
