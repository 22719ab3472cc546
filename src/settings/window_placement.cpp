#include "settings/window_placement.h"

#include <algorithm>

namespace tarvelin {
namespace {

// Wide enough to take hold of, tall enough to hold a title bar.
constexpr int64_t kGrabWidth = 64;
constexpr int64_t kTitleHeight = 32;

struct Box {
    int64_t left, top, right, bottom;
};

Box boxOf(const WindowBounds& b) {
    return {b.left, b.top, int64_t{b.left} + b.width, int64_t{b.top} + b.height};
}

int64_t overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
    return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

}  // namespace

WindowBounds boundsOnScreens(WindowBounds stored, const std::vector<WindowBounds>& screens) {
    if (screens.empty()) return stored;
    stored.width = std::max<int32_t>(stored.width, 1);
    stored.height = std::max<int32_t>(stored.height, 1);

    const Box window = boxOf(stored);
    const WindowBounds* home = &screens.front();
    int64_t bestArea = 0;
    for (const WindowBounds& screen : screens) {
        const Box s = boxOf(screen);
        const int64_t area = overlap(window.left, window.right, s.left, s.right) *
                             overlap(window.top, window.bottom, s.top, s.bottom);
        if (area > bestArea) {
            bestArea = area;
            home = &screen;
        }
    }
    stored.width = std::min(stored.width, std::max<int32_t>(home->width, 1));
    stored.height = std::min(stored.height, std::max<int32_t>(home->height, 1));

    const Box cut = boxOf(stored);
    const int64_t grab = std::min<int64_t>(kGrabWidth, stored.width);
    const bool reachable = std::any_of(screens.begin(), screens.end(), [&](const WindowBounds& screen) {
        const Box s = boxOf(screen);
        return overlap(cut.left, cut.right, s.left, s.right) >= grab &&
               overlap(cut.top, cut.top + std::min<int64_t>(kTitleHeight, stored.height), s.top, s.bottom) >
                   0;
    });
    if (!reachable) {
        const Box s = boxOf(*home);
        stored.left = static_cast<int32_t>(std::clamp<int64_t>(stored.left, s.left, s.right - stored.width));
        stored.top = static_cast<int32_t>(std::clamp<int64_t>(stored.top, s.top, s.bottom - stored.height));
    }
    return stored;
}

}  // namespace tarvelin
