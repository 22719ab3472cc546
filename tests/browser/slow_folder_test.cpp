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

// The real file system behind a gate: the pass over `held` hangs after its first answer until the gate opens.
struct GatedScan {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::string held;
    std::atomic<int> askedOnTheWindowsThread = 0;
    std::atomic<int> answered = 0;
    const std::thread::id windowThread = std::this_thread::get_id();

    int scan(const std::string& folder, FolderScanSink& sink) {
        if (std::this_thread::get_id() == windowThread) ++askedOnTheWindowsThread;
        struct Gate final : FolderScanSink {
            GatedScan& disk;
            FolderScanSink& sink;
            bool held;
            int taken = 0;
            Gate(GatedScan& d, FolderScanSink& s, bool h) : disk(d), sink(s), held(h) {}
            bool take(FolderEntry&& entry) override { return ++taken, sink.take(std::move(entry)); }
            void beforeAsking() override {
                sink.beforeAsking();
                std::unique_lock lock(disk.mutex);
                if (held && taken > 0) disk.opened.wait(lock, [&] { return disk.open; });
            }
        } gate(*this, sink, folder == held);
        const int error = scanFolder(folder, gate);
        ++answered;
        return error;
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
    test::makeFiles(folder, {"root/hung/h1.txt", "root/hung/h2.txt", "root/next/n1.txt"});
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.files().rowCount() == 2; }));
    EXPECT_EQ(listed(), (QStringList{"h1.txt", "h2.txt"}));
    EXPECT_TRUE(pane.files().beingRead());
    EXPECT_EQ(pane.label()->text(), "読み込み中…");

    select(1);
    test::waitForReading(pane.files());
    EXPECT_EQ(listed(), (QStringList{"n1.txt"}));
    EXPECT_EQ(pane.label()->text(), "");

    disk->release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return disk->answered == 3; }));
    QTest::qWait(50);
    EXPECT_EQ(listed(), (QStringList{"n1.txt"}));
    EXPECT_EQ(pane.files().folder(), folder.file("root/next"));
    EXPECT_EQ(disk->askedOnTheWindowsThread, 0);
}

}  // namespace
}  // namespace tarvelin
