#include "viewer/view_geometry.h"

#include <algorithm>

namespace tarvelin {

int64_t roundHalfEven(int64_t num, int64_t den) {
    const bool negative = num < 0;
    const int64_t n = negative ? -num : num;
    int64_t q = n / den;
    const int64_t twiceRest = 2 * (n % den);
    if (twiceRest > den || (twiceRest == den && q % 2 == 1)) ++q;
    return negative ? -q : q;
}

PixelSize fitSize(PixelSize picture, PixelSize area) {
    if (picture.width <= 0 || picture.height <= 0) return {};
    const int64_t pw = picture.width, ph = picture.height;
    PixelSize size;
    if (pw > ph) {
        size = {area.width, static_cast<int>(area.width * ph / pw)};
        if (size.height > area.height) size = {static_cast<int>(area.height * pw / ph), area.height};
    } else {
        size = {static_cast<int>(area.height * pw / ph), area.height};
        if (size.width > area.width) size = {area.width, static_cast<int>(area.width * ph / pw)};
    }
    return size;
}

PixelRect fitRect(PixelSize picture, PixelSize area) {
    const PixelSize size = fitSize(picture, area);
    return {(area.width - size.width) / 2, (area.height - size.height) / 2, size.width, size.height};
}

void centrePicture(PictureControl& control, const ViewerFrame& frame) {
    if (control.mode == PictureControl::Mode::Fit) return;
    control.bounds.top = static_cast<int>(roundHalfEven(frame.outer.height - control.bounds.height, 2));
    control.bounds.left = static_cast<int>(roundHalfEven(frame.outer.width - control.bounds.width, 2));
}

void centreIfWithin(PictureControl& control, const ViewerFrame& frame, int margin) {
    if (control.bounds.width > frame.outer.width - margin ||
        control.bounds.height > frame.outer.height - margin)
        return;
    centrePicture(control, frame);
}

namespace {

void toFit(PictureControl& control, const ViewerFrame& frame) {
    control.mode = PictureControl::Mode::Fit;
    control.bounds = frame.fitArea;
    control.freeMode = false;
}

void toActualSize(PictureControl& control, const ViewerFrame& frame) {
    control.mode = PictureControl::Mode::ActualSize;
    control.bounds.width = frame.picture.width;
    control.bounds.height = frame.picture.height;
    centreIfWithin(control, frame, 30);
    control.freeMode = true;
}

}  // namespace

void switchDisplayMode(PictureControl& control, const ViewerFrame& frame) {
    if (control.freeMode)
        toFit(control, frame);
    else
        toActualSize(control, frame);
}

void chooseDisplayMode(PictureControl& control, const ViewerFrame& frame) {
    control.freeMode = false;
    switchDisplayMode(control, frame);
    if (control.bounds.width > frame.outer.width || control.bounds.height > frame.outer.height - 62) {
        control.freeMode = true;
        switchDisplayMode(control, frame);
    }
}

void zoom(PictureControl& control, const ViewerFrame& frame, ZoomStep step) {
    PixelRect& b = control.bounds;
    // W × k, exactly: k is a fraction, so halves are true halves.
    const int64_t wk = int64_t{b.width} * step.num, hk = int64_t{b.height} * step.num;
    const int64_t newWidth = roundHalfEven(wk, step.den), newHeight = roundHalfEven(hk, step.den);
    if (newWidth > kMaxZoomedSide || newHeight > kMaxZoomedSide) return;
    const int64_t dx = roundHalfEven(wk - int64_t{b.width} * step.den, 2 * step.den);
    const int64_t dy = roundHalfEven(hk - int64_t{b.height} * step.den, 2 * step.den);
    control.mode = PictureControl::Mode::Zoomed;
    if (wk > int64_t{frame.outer.width - step.margin} * step.den ||
        hk > int64_t{frame.outer.height - step.margin} * step.den) {
        b.top -= static_cast<int>(dy);
        b.left -= static_cast<int>(dx);
    } else {
        b.top = static_cast<int>(roundHalfEven(int64_t{frame.outer.height} * step.den - hk, 2 * step.den));
        b.left = static_cast<int>(roundHalfEven(int64_t{frame.outer.width} * step.den - wk, 2 * step.den));
    }
    b.width = static_cast<int>(newWidth);
    b.height = static_cast<int>(newHeight);
    control.freeMode = true;
}

void windowResized(PictureControl& control, const ViewerFrame& frame) {
    if (control.mode == PictureControl::Mode::Fit) control.bounds = frame.fitArea;
    centreIfWithin(control, frame, 0);
}

void pictureReplaced(PictureControl& control, const ViewerFrame& frame) {
    if (control.mode != PictureControl::Mode::ActualSize) return;
    control.bounds.width = frame.picture.width;
    control.bounds.height = frame.picture.height;
}

DragStart beginDrag(const PictureControl& control, int pointerX, int pointerY) {
    return {control.bounds.top, control.bounds.left, pointerX, pointerY};
}

bool dragMoved(PictureControl& control, const ViewerFrame& frame, const DragStart& start, int pointerX,
               int pointerY) {
    const PixelRect& b = control.bounds;
    if (b.height < frame.outer.height && b.width < frame.outer.width) return false;
    if (!control.freeMode || control.mode != PictureControl::Mode::Zoomed) return false;
    control.bounds.left = pointerX - start.pointerX + start.left;
    control.bounds.top = pointerY - start.pointerY + start.top;
    return true;
}

PixelRect firstShowBounds(const MainWindowPlacement& main, const PixelRect& screen) {
    PixelRect r;
    r.top = main.outer.top + main.panel3Top + main.toolBar2Height + 18;
    r.left = main.outer.left + main.leftPaneWidth + 5;
    r.height = main.outer.top + main.outer.height - r.top;
    r.width = main.outer.left + main.outer.width - r.left;
    if (screen.width <= 0 || screen.height <= 0) return r;
    // Where it would stand, shrunk to the area; moved only as far as it must to keep a third of the area.
    const auto keep = [](int& position, int& size, int start, int length) {
        const int least = std::max(1, std::min(size, length / 3));
        position = std::clamp(position, start, start + length - least);
        size = std::clamp(size, least, start + length - position);
    };
    keep(r.left, r.width, screen.left, screen.width);
    keep(r.top, r.height, screen.top, screen.height);
    return r;
}

int dctScaleEighths(PixelSize stored, PixelSize wanted) {
    if (wanted.width <= 0 || wanted.height <= 0) return 8;
    for (int n = 1; n < 8; ++n) {
        // libjpeg rounds a scaled side up.
        const int64_t w = (int64_t{stored.width} * n + 7) / 8, h = (int64_t{stored.height} * n + 7) / 8;
        if (w >= wanted.width && h >= wanted.height) return n;
    }
    return 8;
}

}  // namespace tarvelin
