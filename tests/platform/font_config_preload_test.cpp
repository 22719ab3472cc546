#include "platform/font_config_preload.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace tarvelin {
namespace {

// The program may end before it gives the fonts (a list handed to a running program), after, or while they
// are matched: each way the thread must be taken back, not waited on for ever.
TEST(FontConfigPreload, IsTakenBackWhetherOrNotItWasGivenFonts) {
    const auto finishes = [](auto&& use) {
        auto done = std::async(std::launch::async, [&use] {
            FontConfigPreload preload;
            use(preload);
        });
        return done.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    };
    const FontConfigPreload::Sample sample{
        {QStringLiteral("IPAPGothic")}, 12, QStringLiteral("起動 Desktop")};
    EXPECT_TRUE(finishes([](FontConfigPreload&) {})) << "never given fonts";
    EXPECT_TRUE(finishes([&](FontConfigPreload& p) { p.matchFonts({sample}); })) << "given, then gone";
    EXPECT_TRUE(finishes([&](FontConfigPreload& p) {
        p.matchFonts({sample});
        p.finish();
        p.matchFonts({sample});
        p.finish();
    })) << "given twice, finished twice";
}

}  // namespace
}  // namespace tarvelin
