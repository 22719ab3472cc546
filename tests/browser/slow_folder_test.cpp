// A pane whose folder lies on a volume that stops answering: the window's thread never asks it, the pane says
// the folder is being read, and the user goes on to another folder, which a late answer does not overwrite.
#include <QLabel>
#include <QVBoxLayout>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "browser/file_list_box.h"
#include "browser/file_list_model.h"
#include "browser/file_pane.h"
#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "browser_fixture.h"

namespace tarvelin {
namespace {

// The real file system, but for `held`: it answers one name, then nothing until the gate opens, then one
// more.
struct GatedScan {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::string held;
    std::atomic<int> askedOnTheWindowsThread = 0;
    std::atomic<bool> lateAnswerGiven = false;
    const std::thread::id windowThread = std::this_thread::get_id();

    int scan(const std::string& folder, FolderScanSink& sink) {
        if (std::this_thread::get_id() == windowThread) ++askedOnTheWindowsThread;
        if (folder != held) return scanFolder(folder, sink);
        sink.take({"h1.txt", EntryKind::File});
        sink.beforeAsking();
        std::unique_lock lock(mutex);
        opened.wait(lock, [&] { return open; });
        sink.take({"late.txt", EntryKind::File});
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

}  // namespace
}  // namespace tarvelin
