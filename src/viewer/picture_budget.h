#pragma once

#include <cstdint>
#include <vector>

#include "viewer/view_geometry.h"

namespace tarvelin {

// The memory one picture may take while it is read, decoded and turned upright: 256 MB, and never more than
// an eighth of the machine's memory, so that no file can push the program out of memory.
inline constexpr uint64_t kPictureBudgetCap = uint64_t{256} << 20;
uint64_t pictureBudget(uint64_t physicalBytes);
// The budget on this machine.
uint64_t machinePictureBudget();

// What a JPEG's header tells of the memory its decode takes.
struct JpegLayout {
    struct Sampling {
        int h = 1, v = 1;
    };
    PixelSize stored;
    std::vector<Sampling> components;
    // Progressive files and files of one scan per component keep every coefficient of the whole picture,
    // whatever the DCT scale.
    bool wholeImageCoefficients = false;
    bool turned = false;  // not stored upright: turning it takes a second copy
};

// The most bytes a decode at the DCT scale n / 8 holds at once: libjpeg's coefficients and row buffers
// beside the 32-bit picture, or the picture twice while it is turned.
uint64_t jpegDecodeBytes(const JpegLayout& layout, int eighths);
// The largest scale n / 8 up to `wantedEighths` whose decode fits `budget`; 0 when none does.
int jpegScaleWithin(const JpegLayout& layout, int wantedEighths, uint64_t budget);

// The bytes Qt's bitmap reader and the conversion to 32-bit pixels take for a bitmap of `pixels` at `bits`
// per pixel: the reader keeps up to 8 bits as one byte a pixel, which the conversion copies. Qt's reader
// cannot read a bitmap scaled (it reads it whole and scales after), so this is all or nothing.
uint64_t bitmapDecodeBytes(uint64_t pixels, int bits);

}  // namespace tarvelin
