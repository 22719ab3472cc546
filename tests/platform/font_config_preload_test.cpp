#include "platform/font_config_preload.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace tarvelin {
namespace {

// An idle thread starved of time by a busy machine must not hold up the end of the program: a reading that
// has not finished is left to finish by itself.
TEST(FontConfigPreloadDeathTest, EndingDoesNotWaitForAReadingThatHasNotFinished) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempFolder dir;
    const std::string pipe = dir.file("fonts.conf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            ::alarm(10);                                   // a wait would end here
            ::setenv("FONTCONFIG_FILE", pipe.c_str(), 1);  // nobody writes: the reading never finishes
            { const FontConfigPreload preload; }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tarvelin
