// The browser's own readers when what lies at their path is a FIFO: each must answer within a second.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "browser/desktop_places.h"
#include "browser/information_strip.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::runInChild;
using test::TempFolder;

TEST(NonRegularFiles, TheBrowsersReadersRefuseAFifoAtOnce) {
    const TempFolder dir;
    std::filesystem::create_directories(dir.file("home/.config"));
    const std::string home = dir.file("home");
    const std::string userDirs = dir.file("home/.config/user-dirs.dirs");
    struct Case {
        const char* name;
        std::string file;
        std::function<bool()> answersAsForNothing;
    };
    const Case cases[] = {
        {"desktop folder from user-dirs.dirs", userDirs,
         [&] {
             ::setenv("HOME", home.c_str(), 1);
             ::setenv("XDG_CONFIG_HOME", dir.file("home/.config").c_str(), 1);
             return currentDesktopPlaces().desktop == home + "/Desktop";
         }},
        {"information strip", dir.file("pipe.txt"),
         [&] { return informationStripText(dir.file("pipe.txt")).empty(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A regular file in the same place is read: the FIFO's answer is no accident of a wrong path.
        dir.write(c.file.substr(dir.path().size()), "XDG_DESKTOP_DIR=\"/elsewhere\"\n");
        EXPECT_EQ(runInChild([&] { return c.answersAsForNothing() ? 1 : 0; }, 1), 0);
        ASSERT_EQ(::unlink(c.file.c_str()), 0);
        ASSERT_EQ(::mkfifo(c.file.c_str(), 0600), 0);
        EXPECT_EQ(runInChild([&] { return c.answersAsForNothing() ? 1 : 0; }, 1), 1);
    }
}

}  // namespace
}  // namespace tarvelin
