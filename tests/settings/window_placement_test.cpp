#include "settings/window_placement.h"

#include <gtest/gtest.h>

namespace tarvelin {
namespace {

TEST(WindowPlacement, StoredBoundsAreBroughtWithinReach) {
    const WindowBounds full{0, 0, 1920, 1080};
    const WindowBounds right{1920, 0, 1280, 1024};   // a second screen to the right
    const WindowBounds panelled{0, 30, 1920, 1050};  // the available area under a top panel
    struct Case {
        const char* name;
        WindowBounds stored;
        std::vector<WindowBounds> screens;
        WindowBounds shown;
    };
    const Case cases[] = {
        {"the default stays", {0, 0, 694, 486}, {full}, {0, 0, 694, 486}},
        {"partly off the edge but its title reachable", {1800, -10, 694, 486}, {full}, {1800, -10, 694, 486}},
        {"a huge size is cut to the screen", {0, 0, 100000, 100000}, {full}, {0, 0, 1920, 1080}},
        {"cut to the screen it lies on", {2000, 0, 100000, 500}, {full, right}, {2000, 0, 1280, 500}},
        {"on a second screen that is still there",
         {2000, 100, 694, 486},
         {full, right},
         {2000, 100, 694, 486}},
        {"on a screen that is gone", {2000, 100, 694, 486}, {full}, {1226, 100, 694, 486}},
        {"far off to the top left", {-5000, -5000, 694, 486}, {full}, {0, 0, 694, 486}},
        {"title bar above the screen", {100, -400, 694, 486}, {full}, {100, 0, 694, 486}},
        {"title bar under a panel is still grabbable below it",
         {100, 20, 694, 486},
         {panelled},
         {100, 20, 694, 486}},
        {"only a sliver of the title on screen", {1900, 100, 694, 486}, {full}, {1226, 100, 694, 486}},
        {"no size", {10, 10, 0, -5}, {full}, {10, 10, 1, 1}},
        {"extreme numbers",
         {2147483647, -2147483647 - 1, 2147483647, 2147483647},
         {full},
         {0, 0, 1920, 1080}},
        {"no screens known", {5000, 5000, 100000, 100000}, {}, {5000, 5000, 100000, 100000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowBounds shown = boundsOnScreens(c.stored, c.screens);
        EXPECT_EQ(shown.left, c.shown.left);
        EXPECT_EQ(shown.top, c.shown.top);
        EXPECT_EQ(shown.width, c.shown.width);
        EXPECT_EQ(shown.height, c.shown.height);
    }
}

}  // namespace
}  // namespace tarvelin
