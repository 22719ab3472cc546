// The settings file, the auto-open list and list documents when what lies at their path is no ordinary file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "lists/list_document.h"
#include "platform/errors.h"
#include "settings/auto_open_list.h"
#include "settings/settings_file.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::runInChild;
using test::TempFolder;

// The error text `action` throws, or "" when it throws none.
std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const UserError& e) {
        return e.what();
    }
    return "";
}

TEST(NonRegularFiles, AFifoIsRefusedAtOnceByEveryReaderAndWriter) {
    const TempFolder dir;
    struct Case {
        const char* name;
        std::string file;
        std::function<std::string()> action;  // the error text it ends with
        std::string error;                    // with %s for the path
    };
    const SettingsFile settings(dir.path());
    const AutoOpenListFile autoOpen(dir.path());
    const Case cases[] = {
        {"settings read", "KX2cfg.ini",
         [&] { return settings.windowWidth() == 694 ? "" : "not the default"; }, ""},
        {"settings write", "KX2cfg.ini",
         [&] { return errorOf([&] { SettingsFile(dir.path()).setWindowState("Else"); }); },
         "%s に書き込めません"},
        {"auto-open list load", "oplst.lst", [&] { return errorOf([&] { autoOpen.load(); }); },
         "ファイル %s は開けません"},
        {"auto-open list save", "oplst.lst", [&] { return errorOf([&] { autoOpen.save({"/a.kxd"}); }); },
         "ファイル %s を作成できません"},
        {"list open", "a.kxd",
         [&] {
             ListDocument document;
             return errorOf([&] { readListDocument(document, dir.file("a.kxd")); });
         },
         "ファイル %s は開けません"},
        {"list save", "a.kxd",
         [&] {
             ListDocument document = newListDocument();
             return errorOf([&] { writeListDocument(document, dir.file("a.kxd")); });
         },
         "ファイル %s を作成できません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.file);
        ::unlink(path.c_str());
        ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
        const std::string wanted = formatMessage(c.error, path);
        // The child ends within a second or dies of its alarm.
        EXPECT_EQ(runInChild([&] { return c.action() == wanted ? 0 : 1; }, 1), 0);
        struct stat st;
        ASSERT_EQ(::lstat(path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode));
    }
}

TEST(NonRegularFiles, ASettingsFileTooLargeToReadIsNeverWritten) {
    const TempFolder dir;
    const std::string big = "[Window]\r\nWidth=800\r\n" + std::string(ProfileFile::kMaxFileBytes, ';');
    dir.write("KX2cfg.ini", big);
    SettingsFile settings(dir.path());
    EXPECT_TRUE(settings.tooLargeToRead());
    EXPECT_EQ(settings.windowWidth(), 694);
    EXPECT_EQ(errorOf([&] { settings.setWindowWidth(700); }),
              dir.file("KX2cfg.ini") + " は大きすぎて読めません");
    EXPECT_TRUE(dir.read("KX2cfg.ini") == big);

    dir.write("KX2cfg.ini", big.substr(0, ProfileFile::kMaxFileBytes));
    EXPECT_FALSE(settings.tooLargeToRead());
    EXPECT_EQ(settings.windowWidth(), 800);
}

}  // namespace
}  // namespace tarvelin
