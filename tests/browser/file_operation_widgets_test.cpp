#include <gtest/gtest.h>

#include <QCheckBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>

#include "browser/conflict_dialog.h"
#include "browser/file_operation_dialogs.h"
#include "browser/file_operation_runner.h"
#include "browser/file_progress_dialog.h"
#include "platform/display_name.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;

class UtcTime : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("TZ", "UTC");
        ::tzset();
    }
};

FileConflict sampleConflict(bool canOverwrite) {
    FileConflict c;
    c.source = "/src/report.doc";
    c.target = "/dst/report.doc";
    c.sourceFacts = {false, 12345, 1767323045};  // 2026-01-02 03:04:05 UTC
    c.targetFacts = {true, 0, 0};
    c.renamedTarget = "/dst/report (2).doc";
    c.canOverwrite = canOverwrite;
    return c;
}

using ConflictDialogTest = UtcTime;

TEST_F(ConflictDialogTest, ShowsBothSidesAndAnswersWithTheButtonPressed) {
    struct Case {
        QPushButton* ConflictDialog::*button;
        bool applyToAll;
        ConflictChoice choice;
    };
    const Case cases[] = {
        {&ConflictDialog::overwrite, false, ConflictChoice::Overwrite},
        {&ConflictDialog::skip, true, ConflictChoice::Skip},
        {&ConflictDialog::rename, true, ConflictChoice::Rename},
        {&ConflictDialog::cancel, true, ConflictChoice::Cancel},
    };
    for (const auto& c : cases) {
        ConflictDialog dialog(sampleConflict(true));
        EXPECT_EQ(dialog.message->text(), QStringLiteral("/dst/report.doc は既にあります。"));
        EXPECT_EQ(dialog.sourceFacts->text(), QStringLiteral("12,345 バイト\n更新日時: 2026/01/02 03:04:05"));
        EXPECT_EQ(dialog.targetFacts->text(), QStringLiteral("フォルダ\n更新日時: 1970/01/01 00:00:00"));
        dialog.applyToAll->setChecked(c.applyToAll);
        QTimer::singleShot(0, &dialog, [&] { (dialog.*c.button)->click(); });
        dialog.exec();
        const ConflictAnswer answer = dialog.answer();
        EXPECT_EQ(answer.choice, c.choice);
        EXPECT_EQ(answer.applyToAll, c.choice != ConflictChoice::Cancel && c.applyToAll);
    }
    ConflictDialog mismatch(sampleConflict(false));
    EXPECT_FALSE(mismatch.overwrite->isEnabled());
    QTimer::singleShot(0, &mismatch, [&] { QTest::keyClick(&mismatch, Qt::Key_Escape); });
    mismatch.exec();
    EXPECT_EQ(mismatch.answer().choice, ConflictChoice::Cancel);
}

TEST(FileProgressDialog, CountsAndCancel) {
    EXPECT_EQ(byteCount(512), QStringLiteral("512 バイト"));
    EXPECT_EQ(byteCount(1536), QStringLiteral("1.5 KB"));
    EXPECT_EQ(byteCount(uint64_t{200} << 20), QStringLiteral("200.0 MB"));
    FileProgressDialog dialog(FileOperation::Copy);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("コピーしています"));
    dialog.setProgress({3, 10, uint64_t{3} << 19, uint64_t{200} << 20, "/src/資料.txt"});
    EXPECT_EQ(dialog.current->text(), QStringLiteral("/src/資料.txt"));
    EXPECT_EQ(dialog.counts->text(), QStringLiteral("3 / 10 項目  1.5 MB / 200.0 MB"));
    EXPECT_EQ(dialog.bar->value(), 7);
    QSignalSpy cancelled(&dialog, &FileProgressDialog::cancelRequested);
    dialog.show();
    dialog.cancel->click();
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_FALSE(dialog.cancel->isEnabled());
    EXPECT_TRUE(dialog.isVisible());  // until the job has stopped
}

// Answers from a script, on the GUI thread, and may run code while a question is open.
class ScriptedFileDialogs final : public FileOperationDialogs {
public:
    std::deque<ConflictAnswer> conflicts;
    std::function<void()> whileAsking;
    QStringList calls;
    bool onGuiThread = true;

    bool confirm(const QString& text) override {
        note("confirm " + text);
        return true;
    }
    void message(const QString& text) override { note("message " + text); }
    ConflictAnswer conflict(const FileConflict& c) override {
        note(QStringLiteral("conflict ") + displayName(c.target));
        if (whileAsking) std::exchange(whileAsking, nullptr)();
        if (conflicts.empty()) return {};
        const auto answer = conflicts.front();
        conflicts.pop_front();
        return answer;
    }
    ErrorChoice error(const QString& text) override {
        note("error " + text);
        return ErrorChoice::Cancel;
    }

private:
    void note(const QString& call) {
        calls << call;
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
    }
};

void waitMs(int ms) {
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec();
}

TEST(FileOperationRunner, QuestionsReachTheGuiThreadAndTheWindowStaysShut) {
    TempFolder dir;
    std::filesystem::create_directories(dir.file("dst"));
    dir.write("a.txt", "new a");
    dir.write("b.txt", "new b");
    dir.write("c.txt", "new c");
    dir.write("dst/a.txt", "old a");
    dir.write("dst/b.txt", "old b");
    QWidget window;
    auto* edit = new QLineEdit(&window);
    window.show();
    ScriptedFileDialogs dialogs;
    FileOperationRunner runner(dialogs, &window, {dir.file("Trash"), 0, [] { return std::time_t{0}; }});
    QSignalSpy shown(&runner, &FileOperationRunner::progressShown);
    bool closed = true;
    dialogs.conflicts = {{ConflictChoice::Overwrite, false}, {ConflictChoice::Skip, false}};
    dialogs.whileAsking = [&] {
        // The job waits for this answer; meanwhile the window paints but takes no keys and refuses to close.
        QTest::keyClicks(edit, "typed");
        closed = window.close();
        waitMs(FileOperationRunner::kProgressDelayMs + 150);
        EXPECT_EQ(runner.progressDialog(), nullptr);  // it would cover the question
    };
    const auto outcome = runner.run(
        {FileOperation::Copy, {dir.file("a.txt"), dir.file("b.txt"), dir.file("c.txt")}, dir.file("dst")});
    EXPECT_EQ(outcome.skipped, 1);
    EXPECT_EQ(dialogs.calls,
              (QStringList{QStringLiteral("conflict ") + QString::fromStdString(dir.file("dst/a.txt")),
                           QStringLiteral("conflict ") + QString::fromStdString(dir.file("dst/b.txt"))}));
    EXPECT_TRUE(dialogs.onGuiThread);
    EXPECT_EQ(dir.read("dst/a.txt"), "new a");
    EXPECT_EQ(dir.read("dst/b.txt"), "old b");
    EXPECT_EQ(dir.read("dst/c.txt"), "new c");
    EXPECT_EQ(edit->text(), QString());
    EXPECT_FALSE(closed);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(shown.count(), 1);                  // after the first answer, the job having run long enough
    EXPECT_EQ(runner.progressDialog(), nullptr);  // gone with the job
    EXPECT_FALSE(runner.running());
    QTest::keyClicks(edit, "ok");  // the window takes input again
    EXPECT_EQ(edit->text(), QStringLiteral("ok"));
}

TEST(FileOperationRunner, CancelInTheProgressDialogStopsBeforeTheNextFile) {
    TempFolder dir;
    std::filesystem::create_directories(dir.file("dst"));
    dir.write("a.txt", "new a");
    dir.write("b.txt", "new b");
    dir.write("c.txt", "new c");
    dir.write("dst/a.txt", "old a");
    dir.write("dst/b.txt", "old b");
    QWidget window;
    window.show();
    ScriptedFileDialogs dialogs;
    FileOperationRunner runner(dialogs, &window, {dir.file("Trash"), 0, [] { return std::time_t{0}; }});
    dialogs.conflicts = {{ConflictChoice::Skip, false}, {ConflictChoice::Skip, false}};
    dialogs.whileAsking = [&] {
        waitMs(FileOperationRunner::kProgressDelayMs + 150);
        dialogs.whileAsking = [&] {
            ASSERT_NE(runner.progressDialog(), nullptr);
            runner.progressDialog()->cancel->click();
        };
    };
    const auto outcome = runner.run(
        {FileOperation::Copy, {dir.file("a.txt"), dir.file("b.txt"), dir.file("c.txt")}, dir.file("dst")});
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dir.read("dst/a.txt"), "old a");
    EXPECT_EQ(dir.read("dst/b.txt"), "old b");
    EXPECT_FALSE(dir.exists("dst/c.txt"));
}

}  // namespace
}  // namespace tarvelin
