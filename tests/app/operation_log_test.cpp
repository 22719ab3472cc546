#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>

#include "app/main_window.h"
#include "app/operation_log.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::control;
using test::FakeClock;
using test::FakeServices;
using test::TempFolder;

TEST(OperationLog, FormatsTheLineWithTheUsersDateAndTime) {
    const QDateTime evening(QDate(2004, 3, 9), QTime(17, 5, 42));
    const QDateTime midnight(QDate(2004, 3, 9), QTime(0, 0, 0));
    const QDateTime midnightAndAHalf(QDate(2004, 3, 9), QTime(0, 0, 0, 500));
    const QDateTime oneSecondLater(QDate(2004, 3, 9), QTime(0, 0, 1));
    struct Case {
        const char* locale;
        QDateTime time;
        const char* line;
    };
    const Case cases[] = {
        {"ja_JP", evening, "2004/03/09 17:05:42 : Tarvelin を起動しました。"},
        {"ja_JP", midnight, "2004/03/09 : Tarvelin を起動しました。"},
        {"ja_JP", midnightAndAHalf, "2004/03/09 : Tarvelin を起動しました。"},
        {"ja_JP", oneSecondLater, "2004/03/09 0:00:01 : Tarvelin を起動しました。"},
        {"en_US", evening, "3/9/04 5:05:42 PM : Tarvelin を起動しました。"},
        {"de_DE", evening, "09.03.04 17:05:42 : Tarvelin を起動しました。"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatLogLine(c.time, QLocale(c.locale), QStringLiteral("Tarvelin を起動しました。")),
                  QString::fromUtf8(c.line))
            << c.locale;
    EXPECT_EQ(formatLogLine(evening, QLocale("ja_JP"), QString()), "2004/03/09 17:05:42 : ");
}

TEST(OperationLog, StartsWithTheStartupLine) {
    TempFolder dir;
    FakeServices fakes;
    fakes.clock.time = QDateTime(QDate(2026, 12, 7), QTime(9, 8, 7));
    QLocale::setDefault(QLocale("ja_JP"));
    TKX2 window(fakes.services(dir.path()));
    QLocale::setDefault(QLocale::c());
    ASSERT_EQ(control<OperationLog>(window, "ListBox1")->count(), 1);
    EXPECT_EQ(control<OperationLog>(window, "ListBox1")->item(0)->text(),
              "2026/12/07 9:08:07 : Tarvelin を起動しました。");
    EXPECT_EQ(window.statusLine(), "");
}

TEST(OperationLog, KeepsTheNewestLineInViewAndNoRowHighlighted) {
    FakeClock clock;
    OperationLog log(clock);
    log.setLocale(QLocale("ja_JP"));
    log.resize(300, 33);
    log.show();
    for (int i = 0; i < 50; ++i) log.appendLine(QStringLiteral("C:\\a&b%1.txtを開きました。").arg(i));
    log.item(10)->setSelected(true);  // the user highlights a row
    log.appendLine(QStringLiteral("last"));
    EXPECT_EQ(log.count(), 51);
    EXPECT_TRUE(log.selectedItems().isEmpty());
    const QRect lastRow = log.visualItemRect(log.item(50));
    EXPECT_TRUE(log.viewport()->rect().contains(lastRow)) << "newest line visible";
    EXPECT_EQ(lastRow.height(), OperationLog::kRowHeight);
    EXPECT_EQ(log.item(5)->text(), "2026/01/02 3:04:05 : C:\\a&b5.txtを開きました。");
}

TEST(StatusLine, ShowsAndKeepsTheLastText) {
    TempFolder dir;
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    window.setStatusLine(QStringLiteral("FileListDirectory : /home/u"));
    EXPECT_EQ(window.statusLine(), "FileListDirectory : /home/u");
    EXPECT_TRUE(control<QStatusBar>(window, "StatusBar1")->currentMessage().isEmpty())
        << "a permanent label, not a temporary message";
}

}  // namespace
}  // namespace tarvelin
