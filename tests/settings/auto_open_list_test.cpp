#include "settings/auto_open_list.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "platform/errors.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;
using Lines = std::vector<std::string>;

TEST(AutoOpenList, SplitsAtEveryKindOfLineEnd) {
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\n\r", {"a", ""}},  // LF then a lone CR: two breaks
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(splitListLines(text), lines) << text;
}

TEST(AutoOpenList, MissingFileLeavesTheListAlone) {
    TempFolder dir;
    EXPECT_FALSE(AutoOpenListFile(dir.path()).load().has_value());
}

TEST(AutoOpenList, SaveWritesEveryEntryWithCrLf) {
    unsetenv("TARVELIN2_CODEPAGE");
    TempFolder dir;
    const AutoOpenListFile file(dir.path());
    file.save({"/home/u/a.kxd", "", "/home/u/資料.kxd"});
    EXPECT_EQ(dir.read("oplst.lst"), "/home/u/a.kxd\r\n\r\n/home/u/資料.kxd\r\n");
    EXPECT_EQ(file.load(), (Lines{"/home/u/a.kxd", "", "/home/u/資料.kxd"}));
    file.save({});
    EXPECT_TRUE(dir.exists("oplst.lst"));
    EXPECT_EQ(dir.read("oplst.lst"), "");
    EXPECT_EQ(file.load(), Lines{});
}

TEST(AutoOpenList, KeepsAWindowsFileInCp932) {
    unsetenv("TARVELIN2_CODEPAGE");
    TempFolder dir;
    dir.write("oplst.lst", "C:\\\x8E\x91\x97\xBF\\a.kxd\r\n");
    const AutoOpenListFile file(dir.path());
    const Lines lines = file.load().value();
    EXPECT_EQ(lines, Lines{"C:\\資料\\a.kxd"});
    file.save({lines[0], "/資料.kxd"});
    EXPECT_EQ(dir.read("oplst.lst"), "C:\\\x8E\x91\x97\xBF\\a.kxd\r\n/\x8E\x91\x97\xBF.kxd\r\n");
}

TEST(AutoOpenList, NewFilesTakeTheConfiguredCodePage) {
    setenv("TARVELIN2_CODEPAGE", "932", 1);
    TempFolder dir;
    AutoOpenListFile(dir.path()).save({"/資料.kxd"});
    EXPECT_EQ(dir.read("oplst.lst"), "/\x8E\x91\x97\xBF.kxd\r\n");
    unsetenv("TARVELIN2_CODEPAGE");
}

TEST(AutoOpenList, ErrorsNameTheFile) {
    TempFolder dir;
    const AutoOpenListFile missingFolder(dir.file("gone/"));
    try {
        missingFolder.save({"a"});
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + dir.file("gone/oplst.lst") + " を作成できません");
    }
    ASSERT_EQ(::mkdir(dir.file("oplst.lst").c_str(), 0700), 0);  // exists, cannot be read as a file
    try {
        AutoOpenListFile(dir.path()).load();
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + dir.file("oplst.lst") + " は開けません");
    }
}

}  // namespace
}  // namespace tarvelin
