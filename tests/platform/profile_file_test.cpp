#include "platform/profile_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/errors.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;

TEST(ProfileInteger, ReadsDecimalHexadecimalAndDollar) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"694", 694},
        {"-2147483643", -2147483643},
        {"+12", 12},
        {"0x2B6", 694},
        {"0X2b6", 694},
        {"$2B6", 694},
        {"-$10", -16},
        {"0x80000005", -2147483643},  // eight digits are a 32-bit pattern
        {"$FFFFFFFF", -1},
        {"0x100000000", std::nullopt},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483648", INT32_MIN},
        {"-2147483649", std::nullopt},
        {"0x", std::nullopt},  // too short to be hexadecimal, and not a number
        {"0", 0},
        {"00", 0},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"12 ", std::nullopt},
        {"1e3", std::nullopt},
        {"0x-5", std::nullopt},
        {"yes", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(parseProfileInteger(text), expected) << text;
}

// The settings file after a first start, one OK in the settings dialog and an exit from a normal window.
constexpr const char* kFirstOkFile =
    "[Folder]\r\nDlgDir=\r\nTreeDir=\r\n"
    "[Color]\r\nftBack=-2147483643\r\nftText=-2147483640\r\nflBack=-2147483643\r\nflText=-2147483640\r\n"
    "fiBack=-2147483625\r\nfiText=-2147483624\r\nvtBack=-2147483643\r\nvtText=-2147483640\r\n"
    "riBack=-2147483624\r\nriText=-2147483625\r\nAppBody=-2147483633\r\n"
    "[Actions]\r\nNodeCollapse=0\r\n"
    "[Open]\r\nFiles=0\r\n"
    "[Window]\r\nState=Normal\r\nWidth=694\r\nHeight=486\r\nLeft=0\r\nTop=0\r\n";

TEST(ProfileFile, WritesNewKeysAndSectionsInTheOrderOfFirstWrites) {
    TempFolder dir;
    ProfileFile ini(dir.file("KX2cfg.ini"));
    ini.writeString("Folder", "DlgDir", "");
    ini.writeString("Folder", "TreeDir", "");
    const std::pair<const char*, int32_t> colours[] = {
        {"ftBack", -2147483643}, {"ftText", -2147483640}, {"flBack", -2147483643}, {"flText", -2147483640},
        {"fiBack", -2147483625}, {"fiText", -2147483624}, {"vtBack", -2147483643}, {"vtText", -2147483640},
        {"riBack", -2147483624}, {"riText", -2147483625}, {"AppBody", -2147483633}};
    for (const auto& [key, value] : colours) ini.writeInteger("Color", key, value);
    ini.writeBool("Actions", "NodeCollapse", false);
    ini.writeBool("Open", "Files", false);
    ini.writeString("Window", "State", "Normal");
    ini.writeInteger("Window", "Width", 694);
    ini.writeInteger("Window", "Height", 486);
    ini.writeInteger("Window", "Left", 0);
    ini.writeInteger("Window", "Top", 0);
    EXPECT_EQ(dir.read("KX2cfg.ini"), kFirstOkFile);

    // Rewriting every key in other letter cases changes values in place and adds nothing.
    ini.writeString("FOLDER", "dlgdir", "/home/u/リスト");
    ini.writeInteger("window", "WIDTH", 800);
    std::string expected = kFirstOkFile;
    expected.replace(expected.find("DlgDir="), 7, "DlgDir=/home/u/リスト");
    expected.replace(expected.find("Width=694"), 9, "Width=800");
    EXPECT_EQ(dir.read("KX2cfg.ini"), expected);
}

TEST(ProfileFile, AppendsANewKeyAfterTheLastLineOfItsSection) {
    TempFolder dir;
    dir.write("a.ini", "; settings\n[Window]\nState=Else\n\n[Folder]\nTreeDir=/x\n");
    ProfileFile ini(dir.file("a.ini"));
    ini.writeInteger("Window", "Width", 694);
    ini.writeString("Open", "Files", "1");
    EXPECT_EQ(dir.read("a.ini"),
              "; settings\r\n[Window]\r\nState=Else\r\nWidth=694\r\n\r\n[Folder]\r\nTreeDir=/x\r\n"
              "[Open]\r\nFiles=1\r\n");
}

TEST(ProfileFile, ReadsHandEditedFilesAsTheWindowsFunctionsDo) {
    TempFolder dir;
    dir.write("a.ini",
              "State=Top-level keys belong to no section\r\n"
              "  [Window]  \r\n"
              "  Width  =  0x2B6  \r\n"
              "Height\t=\t$1E6\n"
              "Left=abc\r\n"
              "Top=\r\n"
              "State=normal\r\n"
              "State=Normal\r\n"  // only the first of two keys counts
              "; Width=1\r\n"
              "Comment line without equals\r\n"
              "[Folder]\r\n"
              "DlgDir=\"/home/u/with quotes\"\r\n"
              "TreeDir='/single'\r\n"
              "Quote=\"unbalanced\r\n"
              "Lone=\"\r\n"
              "NoValue\r\n"
              "[Window]\r\n"
              "Extra=in a second section of the same name\r\n"
              "[Color]\r\n"
              "ftBack=-2147483643\r\n"
              "flBack=0x80000005\r\n"
              "flText=255\r\n"
              "[Open]\r\nFiles=2\r\n[open]\r\nFiles=0\r\n");
    const ProfileFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.readInteger("Window", "Width", 1), 694);
    EXPECT_EQ(ini.readInteger("window", "HEIGHT", 1), 486);
    EXPECT_EQ(ini.readInteger("Window", "Left", 7), 7);
    EXPECT_EQ(ini.readInteger("Window", "Top", 7), 7);
    EXPECT_EQ(ini.readString("Window", "Top", "default"), "");  // empty, not the default
    EXPECT_EQ(ini.readString("Window", "State", "Normal"), "normal");
    EXPECT_EQ(ini.readString("Window", "Extra", "missing"), "missing");
    EXPECT_EQ(ini.readString("Window", "; Width", "missing"), "1");
    EXPECT_EQ(ini.readString("Window", "Comment line without equals", "missing"), "missing");
    EXPECT_EQ(ini.readString(" Folder ", " DlgDir ", ""), "/home/u/with quotes");
    EXPECT_EQ(ini.readString("Folder", "TreeDir", ""), "/single");
    EXPECT_EQ(ini.readString("Folder", "Quote", ""), "\"unbalanced");
    EXPECT_EQ(ini.readString("Folder", "Lone", ""), "\"");
    EXPECT_EQ(ini.readString("Folder", "NoValue", "default"), "default");
    EXPECT_EQ(ini.readInteger("Color", "ftBack", 0), -2147483643);
    EXPECT_EQ(ini.readInteger("Color", "flBack", 0), -2147483643);
    EXPECT_EQ(ini.readInteger("Color", "flText", 0), 255);
    EXPECT_TRUE(ini.readBool("Open", "Files", false));
    EXPECT_EQ(ini.readString("Nowhere", "Files", "d"), "d");
}

TEST(ProfileFile, ReadsBooleansAsIntegers) {
    TempFolder dir;
    const std::pair<const char*, bool> cases[] = {{"1", true},  {"2", true},    {"-1", true},
                                                  {"0", false}, {"0x0", false}, {"yes", false},
                                                  {"", false},  {"true", false}};
    for (const auto& [text, expected] : cases) {
        dir.write("a.ini", std::string("[Open]\r\nFiles=") + text + "\r\n");
        EXPECT_EQ(ProfileFile(dir.file("a.ini")).readBool("Open", "Files", false), expected) << text;
    }
    dir.write("a.ini", "[Open]\r\nFiles=yes\r\n");
    EXPECT_TRUE(ProfileFile(dir.file("a.ini")).readBool("Open", "Files", true));  // not a number: the default
}

TEST(ProfileFile, SeesAtMost2047CharactersOfAValue) {
    TempFolder dir;
    std::string longValue;
    for (int i = 0; i < 3000; ++i) longValue += "あ";
    ProfileFile ini(dir.file("a.ini"));
    ini.writeString("Folder", "DlgDir", longValue);
    EXPECT_EQ(dir.read("a.ini"), "[Folder]\r\nDlgDir=" + longValue + "\r\n");  // written whole
    const std::string read = ini.readString("Folder", "DlgDir", "");
    EXPECT_EQ(read, longValue.substr(0, 2047 * 3));
}

TEST(ProfileFile, MissingFileGivesDefaultsAndIsCreatedByTheFirstWrite) {
    TempFolder dir;
    ProfileFile ini(dir.file("KX2cfg.ini"));
    EXPECT_EQ(ini.readString("Window", "State", "Normal"), "Normal");
    EXPECT_EQ(ini.readInteger("Window", "Width", 694), 694);
    EXPECT_FALSE(dir.exists("KX2cfg.ini"));
    ini.writeString("Window", "State", "Else");
    EXPECT_EQ(dir.read("KX2cfg.ini"), "[Window]\r\nState=Else\r\n");
}

TEST(ProfileFile, KeepsTheEncodingTheFileWasFoundIn) {
    TempFolder dir;
    dir.write("sjis.ini", "[Folder]\r\nDlgDir=C:\\\x8E\x91\x97\xBF\r\n");
    ProfileFile sjis(dir.file("sjis.ini"));
    EXPECT_EQ(sjis.readString("Folder", "DlgDir", ""), "C:\\資料");
    sjis.writeString("Folder", "TreeDir", "資料");
    EXPECT_EQ(dir.read("sjis.ini"),
              "[Folder]\r\nDlgDir=C:\\\x8E\x91\x97\xBF\r\nTreeDir=\x8E\x91\x97\xBF\r\n");

    // A text CP932 cannot hold turns the file into UTF-8 rather than lose it.
    sjis.writeString("Folder", "TreeDir", "😀");
    EXPECT_EQ(dir.read("sjis.ini"), "[Folder]\r\nDlgDir=C:\\資料\r\nTreeDir=😀\r\n");
    EXPECT_EQ(sjis.readString("Folder", "TreeDir", ""), "😀");
}

TEST(ProfileFile, FailedWriteNamesTheFileAndKeepsEarlierWrites) {
    TempFolder dir;
    ProfileFile ini(dir.file("KX2cfg.ini"));
    ini.writeString("Window", "State", "Normal");
    // A read-only settings file is refused (root too); a writable one in a read-only folder is written in
    // place.
    ASSERT_EQ(::chmod(dir.file("KX2cfg.ini").c_str(), 0444), 0);
    try {
        ini.writeInteger("Window", "Width", 694);
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(std::string(e.what()), dir.file("KX2cfg.ini") + " に書き込めません");
    }
    EXPECT_EQ(dir.read("KX2cfg.ini"), "[Window]\r\nState=Normal\r\n");
}

TEST(ProfileFile, FailedWriteToAMissingFolderNamesTheFile) {
    TempFolder dir;
    const std::string path = dir.file("gone/KX2cfg.ini");
    ProfileFile ini(path);
    try {
        ini.writeString("Window", "State", "Else");
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(std::string(e.what()), path + " に書き込めません");
    }
}

TEST(ProfileFile, NeverReplacesAFileItCannotRead) {
    TempFolder dir;
    // A folder where the file should be stands in for any file that exists and cannot be read.
    ASSERT_EQ(::mkdir(dir.file("KX2cfg.ini").c_str(), 0700), 0);
    ProfileFile ini(dir.file("KX2cfg.ini"));
    EXPECT_EQ(ini.readInteger("Window", "Width", 694), 694);
    EXPECT_THROW(ini.writeString("Window", "State", "Else"), UserError);
    struct stat st;
    ASSERT_EQ(::stat(dir.file("KX2cfg.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(ProfileFile, CutsAValueAtALineBreakSoTheFileKeepsItsShape) {
    TempFolder dir;
    ProfileFile ini(dir.file("a.ini"));
    ini.writeString("Folder", "TreeDir", "/a\nState=Else");
    ini.writeString("Window", "State", "Normal");
    EXPECT_EQ(dir.read("a.ini"), "[Folder]\r\nTreeDir=/a\r\n[Window]\r\nState=Normal\r\n");
}

TEST(ProfileFile, WritersOfTwoCopiesKeepEachOthersKeys) {
    // Each thread stands for a running copy: its own file descriptions, its own keys.
    TempFolder dir;
    constexpr int kWriters = 4;
    constexpr int kKeys = 25;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&dir, w] {
            ProfileFile ini(dir.file("KX2cfg.ini"));
            for (int k = 0; k < kKeys; ++k)
                ini.writeInteger("Copy" + std::to_string(w), "Key" + std::to_string(k), k);
        });
    for (std::thread& t : writers) t.join();
    const ProfileFile ini(dir.file("KX2cfg.ini"));
    int lost = 0;
    for (int w = 0; w < kWriters; ++w)
        for (int k = 0; k < kKeys; ++k)
            lost += ini.readInteger("Copy" + std::to_string(w), "Key" + std::to_string(k), -1) != k;
    EXPECT_EQ(lost, 0);
}

TEST(ProfileFile, AWriteWaitsWhileAnotherCopyHoldsTheLock) {
    TempFolder dir;
    dir.write("KX2cfg.ini", "[Window]\r\nState=Normal\r\n");
    const int held = ::open(dir.file("KX2cfg.ini").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::atomic<bool> done = false;
    std::thread writer([&] {
        ProfileFile(dir.file("KX2cfg.ini")).writeString("Window", "Width", "694");
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(done);
    // The holder replaces the file as a writer does, then lets go: the waiting write must read the new file.
    dir.write("KX2cfg.ini.new", "[Window]\r\nState=Else\r\n");
    ASSERT_EQ(::rename(dir.file("KX2cfg.ini.new").c_str(), dir.file("KX2cfg.ini").c_str()), 0);
    ::close(held);
    writer.join();
    EXPECT_EQ(dir.read("KX2cfg.ini"), "[Window]\r\nState=Else\r\nWidth=694\r\n");
}

}  // namespace
}  // namespace tarvelin
