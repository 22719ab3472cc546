#pragma once

#include <cstdint>
#include <vector>

namespace tarvelin {

struct WindowBounds {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const WindowBounds&) const = default;
};

// The main window's stored outer bounds made safe to show on the screens there are now (their available
// areas, the primary first). The size is cut to the screen the window lies most on (the primary when it lies
// on none), and kept at least 1 × 1; a settings file can ask for 100,000 pixels. The position is kept as long
// as a stretch of the window's top edge, where its title bar is, lies on some screen for the user to grab;
// otherwise (a screen that is gone, a hand-edited number) the window is moved onto that screen. Without any
// screen the bounds come back unchanged.
WindowBounds boundsOnScreens(WindowBounds stored, const std::vector<WindowBounds>& screens);

}  // namespace tarvelin
