#include <gtest/gtest.h>

#include "viewer/view_geometry.h"

namespace tarvelin {
namespace {

using Mode = PictureControl::Mode;

// The design window: outer 886 × 687; a client area of 876 × 663 (frame and title bar) with the 12 px bar.
ViewerFrame designFrame(PixelSize picture) {
    return {{886, 687}, {0, 12, 876, 651}, picture};
}

PictureControl fitted(const ViewerFrame& f) {
    return {Mode::Fit, f.fitArea, false};
}

TEST(ViewGeometry, RoundsHalvesToEven) {
    const struct {
        int64_t num, den, rounded;
    } cases[] = {{387, 2, 194}, {385, 2, 192}, {327, 2, 164}, {5, 10, 0}, {15, 10, 2}, {-5, 10, 0},
                 {-15, 10, -2}, {-7, 10, -1},  {7, 2, 4},     {9, 2, 4},  {0, 3, 0}};
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.num, c.den), c.rounded) << c.num << "/" << c.den;
}

TEST(ViewGeometry, FitsKeepingTheAspectRatio) {
    const struct {
        PixelSize picture, area;
        PixelRect fitted;
    } cases[] = {
        {{6000, 4000}, {886, 675}, {0, 42, 886, 590}},   // wide: width first, height truncated
        {{4000, 6000}, {886, 675}, {218, 0, 450, 675}},  // tall: height first
        {{900, 400}, {876, 651}, {0, 131, 876, 389}},
        {{1000, 100}, {100, 5}, {25, 0, 50, 5}},       // wide but height-bound
        {{300, 300}, {600, 200}, {200, 0, 200, 200}},  // square counts as not wider
        {{10, 1000}, {50, 20}, {25, 0, 0, 20}},        // truncated to nothing
        {{0, 10}, {50, 20}, {25, 10, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fitRect(c.picture, c.area), c.fitted) << c.picture.width << "x" << c.picture.height;
}

TEST(ViewGeometry, ChooseDisplayModeInTheDesignWindow) {
    const struct {
        PixelSize picture;
        Mode mode;
        PixelRect bounds;
    } cases[] = {
        {{900, 400}, Mode::Fit, {0, 12, 876, 651}},            // wider than the window
        {{870, 400}, Mode::ActualSize, {0, 12, 870, 400}},     // 870 > 886 - 30: not centred
        {{400, 640}, Mode::Fit, {0, 12, 876, 651}},            // 640 > 687 - 62
        {{400, 625}, Mode::ActualSize, {243, 31, 400, 625}},   // exactly 62 less: actual size, centred
        {{400, 300}, Mode::ActualSize, {243, 194, 400, 300}},  // centred, 193.5 → 194
        {{856, 657}, Mode::Fit, {0, 12, 876, 651}},            // 657 > 625
        {{856, 625}, Mode::ActualSize, {15, 31, 856, 625}},    // exactly 30 to spare: centred
        {{886, 100}, Mode::ActualSize, {0, 12, 886, 100}},    {{887, 100}, Mode::Fit, {0, 12, 876, 651}},
    };
    for (const auto& c : cases) {
        const ViewerFrame f = designFrame(c.picture);
        PictureControl control = fitted(f);
        chooseDisplayMode(control, f);
        EXPECT_EQ(control.mode, c.mode) << c.picture.width << "x" << c.picture.height;
        EXPECT_EQ(control.bounds, c.bounds) << c.picture.width << "x" << c.picture.height;
        EXPECT_EQ(control.freeMode, c.mode != Mode::Fit);
    }
}

TEST(ViewGeometry, SwitchKeepsTheLastPositionWhenTheNewSizeDoesNotFit) {
    const ViewerFrame f = designFrame({870, 400});
    PictureControl control{Mode::Zoomed, {-50, -40, 2000, 1500}, true};
    switchDisplayMode(control, f);  // free → fit
    EXPECT_EQ(control.mode, Mode::Fit);
    EXPECT_EQ(control.bounds, f.fitArea);
    EXPECT_FALSE(control.freeMode);
    control = {Mode::Zoomed, {-50, -40, 2000, 1500}, false};
    switchDisplayMode(control, f);  // fit → actual size keeps left and top
    EXPECT_EQ(control.bounds, (PixelRect{-50, -40, 870, 400}));
    EXPECT_TRUE(control.freeMode);
}

TEST(ViewGeometry, ZoomsInAndOutAboutTheCentreOrCentred) {
    const struct {
        PictureControl from;
        ZoomStep step;
        PixelRect to;
    } cases[] = {
        // 480 × 360 still fits: centred at round(163.5) = 164, round(203) = 203.
        {{Mode::ActualSize, {243, 194, 400, 300}, true}, kZoomIn, {203, 164, 480, 360}},
        // From fit mode the area below the bar grows about its centre: dx = round(87.6), dy = round(65.1).
        {{Mode::Fit, {0, 12, 876, 651}, false}, kZoomIn, {-88, -53, 1051, 781}},
        // 720 × 540 leaves 30 px to spare: centred at round(73.5) = 74.
        {{Mode::Zoomed, {0, 0, 600, 450}, true}, kZoomIn, {83, 74, 720, 540}},
        // Zoom out with no margin: 800 × 0.8 = 640 fits, centred.
        {{Mode::Zoomed, {-200, -100, 800, 600}, true}, kZoomOut, {123, 104, 640, 480}},
        // 2000 × 0.8 = 1600 > 886: shrinks about its centre, dx = 200, dy = round(150) = 150.
        {{Mode::Zoomed, {-500, -400, 2000, 1500}, true}, kZoomOut, {-300, -250, 1600, 1200}},
        // Halves go to even: 5 × 1.2 = 6, dx = round(0.5) = 0; 5 × 0.8 = 4.
        {{Mode::Zoomed, {1000, 1000, 5, 5}, true}, kZoomIn, {440, 340, 6, 6}},
        {{Mode::Zoomed, {10, 10, 2, 2}, true}, kZoomOut, {442, 343, 2, 2}},  // centred on 1.6, not 2
        {{Mode::Zoomed, {10, 10, 2, 2}, true}, kZoomIn, {442, 342, 2, 2}},
    };
    for (const auto& c : cases) {
        PictureControl control = c.from;
        zoom(control, designFrame({400, 300}), c.step);
        EXPECT_EQ(control.bounds, c.to) << c.from.bounds.width << " by " << c.step.num << "/" << c.step.den;
        EXPECT_EQ(control.mode, Mode::Zoomed);
        EXPECT_TRUE(control.freeMode);
    }
}

TEST(ViewGeometry, ZoomStopsBeforeTheCap) {
    PictureControl control{Mode::Zoomed, {0, 0, 90000, 100}, true};
    zoom(control, designFrame({400, 300}), kZoomIn);
    EXPECT_EQ(control.bounds, (PixelRect{0, 0, 90000, 100}));
}

TEST(ViewGeometry, RepositionsOnResizeAndKeysWithTheirMargins) {
    const struct {
        PixelRect bounds;
        int margin;
        PixelRect after;
    } cases[] = {
        {{0, 0, 886, 687}, 0, {0, 0, 886, 687}},  // exactly the window: centred at 0, 0
        {{5, 5, 887, 10}, 0, {5, 5, 887, 10}},    // wider: left where it is
        {{5, 5, 857, 10}, 30, {5, 5, 857, 10}},   // within the window but not 30 px to spare
        {{5, 5, 856, 657}, 30, {15, 15, 856, 657}},
        {{5, 5, 101, 101}, 30, {392, 293, 101, 101}},  // 392.5 → 392, 293
    };
    for (const auto& c : cases) {
        PictureControl control{Mode::Zoomed, c.bounds, true};
        centreIfWithin(control, designFrame({1, 1}), c.margin);
        EXPECT_EQ(control.bounds, c.after) << c.bounds.width << " margin " << c.margin;
    }
    // A fitted control follows its area and never moves.
    PictureControl fit{Mode::Fit, {0, 12, 10, 10}, false};
    windowResized(fit, designFrame({1, 1}));
    EXPECT_EQ(fit.bounds, (PixelRect{0, 12, 876, 651}));
}

TEST(ViewGeometry, DragsOnlyAZoomedPictureLargerThanTheWindow) {
    const ViewerFrame f = designFrame({400, 300});
    const struct {
        PictureControl control;
        bool moves;
    } cases[] = {
        {{Mode::Zoomed, {-100, -50, 1200, 900}, true}, true},
        {{Mode::Zoomed, {-100, -50, 1200, 600}, true}, true},   // wider only
        {{Mode::Zoomed, {10, 10, 800, 600}, true}, false},      // smaller both ways
        {{Mode::ActualSize, {0, 12, 1200, 900}, true}, false},  // not scaled
        {{Mode::Fit, {0, 12, 876, 651}, false}, false},
    };
    for (const auto& c : cases) {
        PictureControl control = c.control;
        const DragStart start = beginDrag(control, 500, 400);
        EXPECT_EQ(dragMoved(control, f, start, 530, 380), c.moves);
        const PixelRect expected = c.moves ? PixelRect{c.control.bounds.left + 30, c.control.bounds.top - 20,
                                                       c.control.bounds.width, c.control.bounds.height}
                                           : c.control.bounds;
        EXPECT_EQ(control.bounds, expected);
    }
}

TEST(ViewGeometry, FirstShowCoversTheMainWindowRightOfTheLeftPaneWithinTheScreen) {
    const struct {
        MainWindowPlacement main;
        PixelRect screen, expected;
    } cases[] = {
        {{{100, 50, 1000, 700}, 24, 26, 230}, {0, 0, 1280, 1024}, {335, 118, 765, 632}},
        // A main window taller than the screen: the viewer's bottom stays on it.
        {{{0, 0, 1280, 900}, 24, 26, 230}, {0, 0, 1280, 800}, {235, 68, 1045, 732}},
        // Wider and lower than the area a panel leaves: shrunk, and moved up to keep a third of its height.
        {{{-50, 500, 3000, 700}, 24, 26, 230}, {0, 30, 1024, 738}, {185, 522, 839, 246}},
    };
    for (const auto& c : cases) EXPECT_EQ(firstShowBounds(c.main, c.screen), c.expected);
}

TEST(ViewGeometry, ChoosesTheSmallestDctScaleNotBelowTheWantedSize) {
    const struct {
        PixelSize stored, wanted;
        int eighths;
    } cases[] = {
        {{6000, 4000}, {886, 590}, 2},  // 750 < 886 at 1/8
        {{6000, 4000}, {750, 500}, 1}, {{6000, 4000}, {751, 500}, 2},
        {{1001, 1001}, {126, 126}, 1},  // libjpeg rounds 125.125 up
        {{1000, 800}, {900, 720}, 8},  {{1000, 800}, {0, 0}, 8},
        {{100, 100}, {800, 800}, 8},
    };
    for (const auto& c : cases) EXPECT_EQ(dctScaleEighths(c.stored, c.wanted), c.eighths) << c.wanted.width;
}

}  // namespace
}  // namespace tarvelin
