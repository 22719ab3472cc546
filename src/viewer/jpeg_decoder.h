#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "viewer/picture_budget.h"
#include "viewer/view_geometry.h"

namespace tarvelin {

// Limits checked before anything picture-sized is allocated.
struct PictureLimits {
    int64_t maxPixels = 300'000'000;
    int maxProgressiveScans = 100;
    int maxWarnings = 100;  // corrupt data past this many warnings is not worth decoding on
    uint64_t memoryBudget = machinePictureBudget();  // what the decode may hold at once
    const std::atomic<bool>* cancel = nullptr;       // set by another thread: stop at the next rows
};

// Where decoded rows go: 32-bit pixels 0xffRRGGBB in native byte order. Returns nullptr when it cannot hold
// them.
class PixelSink {
public:
    virtual ~PixelSink() = default;
    virtual uint32_t* allocate(int width, int height, size_t& strideInPixels) = 0;
};

enum class DecodeStatus {
    Ok,
    NotAPicture,
    Corrupt,
    TooLarge,
    TooManyScans,
    OutOfMemory,
    Unreadable,
    Cancelled
};

struct JpegDecodeResult {
    DecodeStatus status = DecodeStatus::NotAPicture;
    PixelSize stored;      // the picture's size as stored
    PixelSize decoded;     // the size handed to the sink (the stored size at the DCT scale)
    int orientation = 1;   // EXIF orientation 1..8
    int warnings = 0;      // libjpeg's warnings: corrupt or missing data, decoded as far as it goes
    bool reduced = false;  // decoded smaller than asked for, because a larger decode would not fit the budget
};

// Decodes a JPEG held in memory with libjpeg-turbo at the smallest DCT scale whose upright size is not below
// the picture fitted into `fitArea` (full size when `fitArea` is empty), or at the largest scale below that
// whose decode fits the memory budget. The sink receives the rows in stored orientation.
JpegDecodeResult decodeJpeg(const uint8_t* data, size_t size, PixelSize fitArea, PixelSink& sink,
                            const PictureLimits& limits = {});

// The EXIF orientation (1..8) of an APP1 segment's payload; 1 when it is not EXIF or holds none.
int exifOrientation(const uint8_t* data, size_t size);

// The upright size of a picture stored as `stored` with `orientation`: 5..8 turn it a quarter.
PixelSize uprightSize(PixelSize stored, int orientation);

// Writes `src` (stored orientation) upright into `dst`, sized uprightSize(src size).
void applyOrientation(const uint32_t* src, PixelSize srcSize, size_t srcStride, int orientation,
                      uint32_t* dst, size_t dstStride);

}  // namespace tarvelin
