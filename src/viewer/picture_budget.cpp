#include "viewer/picture_budget.h"

#include <unistd.h>

#include <algorithm>

namespace tarvelin {

namespace {

uint64_t divUp(uint64_t a, uint64_t b) {
    return (a + b - 1) / b;
}

uint64_t roundUp(uint64_t a, uint64_t b) {
    return divUp(a, b) * b;
}

}  // namespace

uint64_t pictureBudget(uint64_t physicalBytes) {
    return physicalBytes == 0 ? kPictureBudgetCap : std::min(kPictureBudgetCap, physicalBytes / 8);
}

uint64_t machinePictureBudget() {
    static const uint64_t budget = [] {
        const long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGE_SIZE);
        return pictureBudget(pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0);
    }();
    return budget;
}

uint64_t jpegDecodeBytes(const JpegLayout& layout, int eighths) {
    const uint64_t width = uint64_t(std::max(layout.stored.width, 0));
    const uint64_t height = uint64_t(std::max(layout.stored.height, 0));
    const uint64_t pixels = divUp(width * eighths, 8) * divUp(height * eighths, 8) * 4;
    int maxH = 1, maxV = 1;
    for (const JpegLayout::Sampling& s : layout.components) {
        maxH = std::max(maxH, s.h);
        maxV = std::max(maxV, s.v);
    }
    uint64_t working = 0;
    for (const JpegLayout::Sampling& s : layout.components) {
        const uint64_t h = uint64_t(std::max(s.h, 1)), v = uint64_t(std::max(s.v, 1));
        const uint64_t blocksWide = roundUp(divUp(width * h, uint64_t(maxH) * 8), h);
        const uint64_t blocksHigh = roundUp(divUp(height * v, uint64_t(maxV) * 8), v);
        // 64 coefficients of two bytes a block.
        if (layout.wholeImageCoefficients) working += blocksWide * blocksHigh * 128;
        // A few block rows of samples for upsampling with context, and the colour conversion's rows.
        working += blocksWide * 8 * v * 8 * 4;
    }
    const uint64_t decoding = pixels + working;
    return layout.turned ? std::max(decoding, 2 * pixels) : decoding;
}

int jpegScaleWithin(const JpegLayout& layout, int wantedEighths, uint64_t budget) {
    for (int n = std::clamp(wantedEighths, 1, 8); n >= 1; --n)
        if (jpegDecodeBytes(layout, n) <= budget) return n;
    return 0;
}

uint64_t bitmapDecodeBytes(uint64_t pixels, int bits) {
    return pixels * (bits <= 8 ? 5 : 4);
}

}  // namespace tarvelin
