#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTextDocument>
#include <string>

#include "lists/memo_file.h"
#include "platform/errors.h"
#include "rtf_outline.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::formatOutline;
using test::TempFolder;

TEST(MemoFile, NameFollowsTheListFile) {
    EXPECT_EQ(memoFileName("/work/plan.kxd"), "/work/plan.rtf");
    EXPECT_EQ(memoFileName("/work/資料.kxd"), "/work/資料.rtf");
    EXPECT_EQ(memoFileName("/work/plan.x"), "/work/pl.rtf");  // the last four characters, whatever they are
}

TEST(MemoFile, WritesAndReadsBack) {
    const TempFolder folder;
    QTextDocument written;
    written.setPlainText("資料\nabc");
    writeMemoFile(folder.file("plan.rtf"), written);
    EXPECT_TRUE(folder.read("plan.rtf").starts_with("{\\rtf1\\ansi\\ansicpg932"));

    QTextDocument read;
    EXPECT_TRUE(readMemoFile(folder.file("plan.rtf"), read));
    EXPECT_EQ(read.toPlainText(), "資料\nabc");
}

TEST(MemoFile, FailuresLeaveDocumentAndFileAlone) {
    const TempFolder folder;
    folder.write("plan.rtf", "{\\rtf1 kept}");
    ASSERT_EQ(::mkfifo(folder.file("fifo.rtf").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(folder.file("dir.rtf").c_str(), 0700), 0);
    folder.write("big.rtf", std::string(kMaxMemoFileBytes + 1, 'x'));

    struct ReadCase {
        std::string name;
        bool exists;
        std::string error;  // empty: no error
    };
    const ReadCase reads[] = {
        {"missing.rtf", false, ""},
        {"gone/plan.rtf", false, ""},
        {"fifo.rtf", true, "ファイル " + folder.file("fifo.rtf") + " は開けません"},
        {"dir.rtf", true, "ファイル " + folder.file("dir.rtf") + " は開けません"},
        {"big.rtf", true, "ファイル " + folder.file("big.rtf") + " は大きすぎて開けません"},
    };
    for (const ReadCase& c : reads) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        document.setPlainText("held");
        std::string error;
        bool exists = true;
        try {
            exists = readMemoFile(folder.file(c.name), document);
        } catch (const UserError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error);
        if (c.error.empty()) {
            EXPECT_EQ(exists, c.exists);
        }
        EXPECT_EQ(document.toPlainText(), "held");
    }

    QTextDocument document;
    document.setPlainText("new");
    for (const std::string name : {"gone/plan.rtf", "dir.rtf"}) {
        SCOPED_TRACE(name);
        try {
            writeMemoFile(folder.file(name), document);
            ADD_FAILURE() << "no error";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()), "ファイル " + folder.file(name) + " を作成できません");
        }
    }
    EXPECT_FALSE(folder.exists("gone"));
    EXPECT_EQ(folder.read("plan.rtf"), "{\\rtf1 kept}");
}

}  // namespace
}  // namespace tarvelin
