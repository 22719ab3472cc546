#include "platform/font_config_preload.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "support/temp_folder.h"
#include "widgets/ui_font.h"

namespace tarvelin {
namespace {

// Runs `body` in a fresh process whose font configuration is a pipe nobody writes, so that a reading never
// finishes; a wait for it ends at the alarm. The body exits 0 when it has what it expects.
template <typename Body>
void withEndlessFontConfig(Body body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempFolder dir;
    const std::string pipe = dir.file("fonts.conf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            ::alarm(10);
            ::setenv("FONTCONFIG_FILE", pipe.c_str(), 1);
            body();
        },
        ::testing::ExitedWithCode(0), "");
}

// An idle thread starved of time by a busy machine must not hold up the end of the program: a reading that
// has not finished is left to finish by itself.
TEST(FontConfigPreloadDeathTest, EndingDoesNotWaitForAReadingThatHasNotFinished) {
    withEndlessFontConfig([] {
        { const FontConfigPreload preload; }
        std::_Exit(0);
    });
}

// The window font waits for the reading only briefly before it gives up the lookup, which would read the
// configuration a second time, and here wait for ever.
TEST(FontConfigPreloadDeathTest, TheWindowFontWaitsForTheReadingOnlyBriefly) {
    withEndlessFontConfig([] {
        const FontConfigPreload preload;
        std::_Exit(uiFont(12).family() == QStringLiteral("ＭＳ Ｐゴシック") ? 0 : 1);
    });
}

TEST(FontConfigPreload, AWaitEndsWithTheReading) {
    const FontConfigPreload preload;
    EXPECT_TRUE(FontConfigPreload::finishedWithin(std::chrono::seconds(60)));
}

}  // namespace
}  // namespace tarvelin
