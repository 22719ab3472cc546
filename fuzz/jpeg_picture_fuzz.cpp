// Feeds arbitrary bytes to the JPEG path of the viewer: libjpeg-turbo behind our error manager, the limits,
// the DCT scale choice, EXIF orientation and turning the picture upright. Nothing may crash, hang or allocate
// past the limits or the memory budget, and what decodes must have the sizes the header promised.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "viewer/picture_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvelin;
    if (size < 2) return 0;
    // The first byte picks the view: full size, or a fit area from 1 × 1 up.
    const PixelSize area = data[0] == 0 ? PixelSize{} : PixelSize{data[0] * 8, data[1] * 8 + 1};
    PictureLimits limits;
    limits.maxPixels = 4'000'000;    // the fuzzer's memory, not the viewer's cap
    limits.memoryBudget = 16 << 20;  // small enough that large headers take the reduced path
    const DecodedPicture p = decodePictureBytes(data + 2, size - 2, true, area, limits);
    if (!p.ok()) return 0;
    if (p.image.isNull() || p.full.width <= 0 || p.full.height <= 0) std::abort();
    if (int64_t{p.full.width} * p.full.height > limits.maxPixels) std::abort();
    // A DCT-scaled picture is never larger than the whole one, and one turned upright lies as the whole does.
    if (p.image.width() > p.full.width || p.image.height() > p.full.height) std::abort();
    // Smaller than asked for only when the budget said so.
    if (area.width == 0 && !p.reduced &&
        (p.image.width() != p.full.width || p.image.height() != p.full.height))
        std::abort();
    if (p.reduced && p.image.width() >= p.full.width && p.image.height() >= p.full.height) std::abort();
    return 0;
}
