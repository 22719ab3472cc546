#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace tarvelin {
namespace {

TEST(ProgramFolder, ChoosesOverrideThenWritableExecutableFolderThenXdg) {
    test::TempFolder dir;
    const std::string exe = dir.file("tarvelin2");
    struct Case {
        const char* name;
        ProgramFolderInputs in;
        std::string expected;
        bool portable;
    };
    const Case cases[] = {
        {"override", {"/opt/t2", exe, "/x", "/home/u"}, "/opt/t2/", true},
        {"override with separator", {"/opt/t2/", exe, "", "/home/u"}, "/opt/t2/", true},
        {"override naming the XDG folder", {"/x/Tarvelin2", exe, "/x", "/home/u"}, "/x/Tarvelin2/", false},
        {"writable executable folder", {"", exe, "/x", "/home/u"}, dir.path(), true},
        {"unknown executable, XDG", {"", "", "/x/cfg", "/home/u"}, "/x/cfg/Tarvelin2/", false},
        {"missing executable folder",
         {"", "/no/such/folder/tarvelin2", "", "/home/u"},
         "/home/u/.config/Tarvelin2/",
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(programFolder(c.in), c.expected) << c.name;
        EXPECT_EQ(isPortableProgramFolder(c.in), c.portable) << c.name;
    }
}

TEST(ProgramFolder, InstalledCopyUsesXdgEvenWhenItsFolderIsWritable) {
    test::TempFolder prefix;
    for (const char* folder : {"bin", "share/tarvelin2", "portable/bin", "portable/share/other"})
        std::filesystem::create_directories(prefix.file(folder));
    prefix.write("bin/tarvelin2", "");
    prefix.write("share/tarvelin2/TARVELIN2.html", "");
    prefix.write("portable/bin/tarvelin2", "");
    prefix.write("portable/share/other/x", "");
    struct Case {
        const char* name;
        std::string executable;
        bool installed;
        std::string expected;
    };
    const Case cases[] = {
        {"installed", prefix.file("bin/tarvelin2"), true, "/x/Tarvelin2/"},
        {"bin without our data folder", prefix.file("portable/bin/tarvelin2"), false,
         prefix.file("portable/bin/")},
        {"data folder, executable not in bin", prefix.file("tarvelin2"), false, prefix.path()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isInstalledCopy(c.executable), c.installed) << c.name;
        EXPECT_EQ(programFolder({"", c.executable, "/x", "/home/u"}), c.expected) << c.name;
    }
    EXPECT_EQ(programFolder({"/o", prefix.file("bin/tarvelin2"), "/x", "/home/u"}), "/o/") << "override wins";
}

TEST(ProgramFolder, FolderOfKeepsTheLastSeparator) {
    EXPECT_EQ(folderOf("/usr/bin/tarvelin2"), "/usr/bin/");
    EXPECT_EQ(folderOf("/tarvelin2"), "/");
    EXPECT_EQ(folderOf("tarvelin2"), "/");
    EXPECT_EQ(withTrailingSeparator("/a"), "/a/");
    EXPECT_EQ(withTrailingSeparator("/a/"), "/a/");
}

TEST(ProgramFolder, ReadOnlyExecutableFolderFallsBackToXdg) {
    if (::geteuid() == 0) GTEST_SKIP() << "root can write to read-only folders";
    test::TempFolder dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
    EXPECT_EQ(programFolder({"", dir.file("tarvelin2"), "/x", "/home/u"}), "/x/Tarvelin2/");
}

}  // namespace
}  // namespace tarvelin
