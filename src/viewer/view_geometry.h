#pragma once

#include <cstdint>

namespace tarvelin {

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// num / den to the nearest integer, a half going to the even neighbour. den > 0.
int64_t roundHalfEven(int64_t num, int64_t den);

// The largest size of `picture`'s aspect ratio inside `area`, each side truncated.
PixelSize fitSize(PixelSize picture, PixelSize area);
// That size centred in `area` (offsets by integer division), relative to the area.
PixelRect fitRect(PixelSize picture, PixelSize area);

// The picture control `Image1`: fitted to the area below the bar, at the picture's own size, or zoomed to a
// size of its own. Bounds are in the window's client area, whose top includes the bar.
struct PictureControl {
    enum class Mode { Fit, ActualSize, Zoomed };
    Mode mode = Mode::Fit;
    PixelRect bounds;  // in fit mode: the area below the bar
    bool freeMode = false;
};

// What the rules read from the window: its outer size (frame included; the screen in full screen), the client
// area below the bar, and the picture's upright pixel size (0 × 0 without one).
struct ViewerFrame {
    PixelSize outer;
    PixelRect fitArea;
    PixelSize picture;
};

// top := round((VH - H) / 2), left := round((VW - W) / 2). A fitted control fills its area and never moves.
void centrePicture(PictureControl& control, const ViewerFrame& frame);
// Centres unless W > VW - margin or H > VH - margin.
void centreIfWithin(PictureControl& control, const ViewerFrame& frame, int margin);

// The display-mode switch: free → fit; fit → actual size, centred when it leaves 30 px to spare.
void switchDisplayMode(PictureControl& control, const ViewerFrame& frame);
// For a newly shown picture: actual size when it fits the window (62 px less high), else fit.
void chooseDisplayMode(PictureControl& control, const ViewerFrame& frame);

// A zoom step k = num / den with its margin: in 6/5 with 30, out 4/5 with 0. Ends in free mode.
struct ZoomStep {
    int num;
    int den;
    int margin;
};
inline constexpr ZoomStep kZoomIn{6, 5, 30};
inline constexpr ZoomStep kZoomOut{4, 5, 0};
// Sides past this are not zoomed to; the picture keeps its size (nothing the screen could use lies beyond).
inline constexpr int kMaxZoomedSide = 100000;
void zoom(PictureControl& control, const ViewerFrame& frame, ZoomStep step);

// Syncs a fitted control with a new area, then centres when W ≤ VW and H ≤ VH (after every resize).
void windowResized(PictureControl& control, const ViewerFrame& frame);
// Puts an actual-size control at the new picture's size, keeping its left and top.
void pictureReplaced(PictureControl& control, const ViewerFrame& frame);

// Panning a zoomed picture: what a drag records when it begins and where the control goes as it moves.
struct DragStart {
    int top = 0;
    int left = 0;
    int pointerX = 0;
    int pointerY = 0;
};
DragStart beginDrag(const PictureControl& control, int pointerX, int pointerY);
// True when the control moved.
bool dragMoved(PictureControl& control, const ViewerFrame& frame, const DragStart& start, int pointerX,
               int pointerY);

// The first-show bounds: right of the left pane and below the toolbars, to the main window's right and
// bottom.
struct MainWindowPlacement {
    PixelRect outer;
    int panel3Top = 0;
    int toolBar2Height = 0;
    int leftPaneWidth = 0;
};
// Kept inside `screen` (the available area: no panel covers it), so that no part of the window is out of
// reach.
PixelRect firstShowBounds(const MainWindowPlacement& main, const PixelRect& screen);

// The smallest DCT scale n / 8 (n in 1..8) at which `stored` is at least `wanted` on both sides; 8 when
// `wanted` is empty or larger.
int dctScaleEighths(PixelSize stored, PixelSize wanted);

}  // namespace tarvelin
