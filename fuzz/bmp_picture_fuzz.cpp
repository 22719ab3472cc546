// Feeds arbitrary bytes to the viewer's bitmap path: our header check before Qt's BMP reader, its allocation
// limit, and the conversion for drawing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "viewer/picture_decode.h"

// Qt's reader warns on every broken file; the fuzzer would spend its time printing.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvelin;
    PictureLimits limits;
    limits.maxPixels = 4'000'000;
    limits.memoryBudget = 16 << 20;
    const DecodedPicture p = decodePictureBytes(data, size, false, {}, limits);
    if (!p.ok()) return 0;
    if (p.image.isNull() || p.image.width() != p.full.width || p.image.height() != p.full.height)
        std::abort();
    if (int64_t{p.full.width} * p.full.height > limits.maxPixels) std::abort();
    if (p.image.format() != QImage::Format_RGB32 && p.image.format() != QImage::Format_ARGB32_Premultiplied)
        std::abort();
    return 0;
}
