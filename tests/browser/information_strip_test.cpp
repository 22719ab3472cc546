#include "browser/information_strip.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "support/temp_folder.h"

namespace tarvelin {
namespace {

std::tm localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

TEST(LastUpdateText, TwoSecondPrecisionRoundsDown) {
    const struct {
        std::tm time;
        const char* text;
    } cases[] = {
        {localTime(2004, 3, 9, 17, 5, 42), "Last Update : 2004/03/09 17:05:42"},
        {localTime(2004, 3, 9, 9, 5, 43), "Last Update : 2004/03/09 09:05:42"},
        {localTime(1999, 12, 31, 23, 59, 59), "Last Update : 1999/12/31 23:59:58"},
        {localTime(2026, 1, 1, 0, 0, 1), "Last Update : 2026/01/01 00:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(lastUpdateText(c.time), c.text);
}

TEST(InformationStripText, ShowsTheFilesOddSecondAsTheEvenOneBefore) {
    test::TempFolder folder;
    const std::string path = folder.file("\x8e\x91\x97\xbf.txt");  // a name that is not UTF-8
    folder.write("\x8e\x91\x97\xbf.txt", "x");
    std::tm written = localTime(2004, 3, 9, 9, 5, 43);
    const timespec times[2] = {{std::mktime(&written), 0}, {std::mktime(&written), 900000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(informationStripText(path), "Last Update : 2004/03/09 09:05:42");
}

TEST(InformationStripText, EmptyWhenTheTimeCannotBeRead) {
    test::TempFolder folder;
    EXPECT_EQ(informationStripText(folder.file("missing.txt")), "");
    EXPECT_EQ(informationStripText(folder.path()), "");  // a folder is no file
    folder.write("secret.txt", "x");
    ASSERT_EQ(::chmod(folder.file("secret.txt").c_str(), 0), 0);
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    EXPECT_EQ(informationStripText(folder.file("secret.txt")), "");
}

}  // namespace
}  // namespace tarvelin
