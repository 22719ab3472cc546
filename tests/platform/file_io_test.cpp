#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;

TEST(FileIo, ReadReportsMissingTooLargeAndFolders) {
    TempFolder dir;
    dir.write("a", "12345");
    EXPECT_EQ(readFileBytes(dir.file("a"), 5).status, ReadStatus::Ok);
    EXPECT_EQ(readFileBytes(dir.file("a"), 5).bytes, "12345");
    EXPECT_EQ(readFileBytes(dir.file("a"), 4).status, ReadStatus::TooLarge);
    EXPECT_EQ(readFileBytes(dir.file("b"), 5).status, ReadStatus::Missing);
    EXPECT_EQ(readFileBytes(dir.file("b/c"), 5).status, ReadStatus::Missing);
    EXPECT_EQ(readFileBytes(dir.path(), 5).status, ReadStatus::Failed);
}

TEST(FileIo, AFileLongerThanItsSizeSaysIsReadToItsEndAndWithinTheLimit) {
    // The kernel's files report size 0 and hold more.
    std::ifstream stream("/proc/self/cmdline", std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(stream), {}};
    ASSERT_FALSE(whole.empty());
    const FileBytes read = readFileBytes("/proc/self/cmdline", whole.size());
    EXPECT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.bytes, whole);
    EXPECT_EQ(readFileBytes("/proc/self/cmdline", whole.size() - 1).status, ReadStatus::TooLarge);
}

TEST(FileIo, ReplaceLeavesNoTemporaryFileAndKeepsPermissions) {
    TempFolder dir;
    dir.write("a", "old");
    ASSERT_EQ(::chmod(dir.file("a").c_str(), 0640), 0);
    ASSERT_TRUE(replaceFileAtomically(dir.file("a"), "new"));
    EXPECT_EQ(dir.read("a"), "new");
    struct stat st;
    ASSERT_EQ(::stat(dir.file("a").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(FileIo, ReplaceWritesThroughALink) {
    TempFolder dir;
    dir.write("target.ini", "old");
    ASSERT_EQ(::symlink(dir.file("target.ini").c_str(), dir.file("link.ini").c_str()), 0);
    ASSERT_TRUE(replaceFileAtomically(dir.file("link.ini"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(dir.read("target.ini"), "new");
}

TEST(FileIo, FailedReplaceLeavesNothingBehind) {
    TempFolder dir;
    EXPECT_FALSE(replaceFileAtomically(dir.file("missing/a"), "x"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace tarvelin
