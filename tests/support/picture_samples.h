#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Pictures generated for tests and benchmarks: JPEGs encoded with libjpeg-turbo and BMPs written byte by
// byte.
namespace tarvelin::samples {

// 0xRRGGBB of the pixel at (x, y).
using PixelFunction = std::function<uint32_t(int x, int y)>;

struct JpegSample {
    int width = 16;
    int height = 16;
    PixelFunction pixel{};
    enum class Colours { Rgb, Gray, AdobeCmyk } colours = Colours::Rgb;
    bool progressive = false;
    bool oneScanPerCoefficient = false;  // a legal progressive file of 3 × 64 scans
    int exifOrientation = 0;             // 0: no EXIF segment
    bool bigEndianExif = false;
    int quality = 95;
    bool fullChroma = false;  // 4:4:4 instead of the usual 4:2:0
};
std::string encodeJpeg(const JpegSample& sample);
// A copy of a JPEG whose frame header declares `width` × `height`: the data then ends long before the
// picture.
std::string withJpegSize(std::string bytes, unsigned width, unsigned height);

// A BMP of 1, 4, 8, 24 or 32 bits per pixel; palettes of 2, 16 or 256 grey-and-colour entries from `palette`
// (0xRRGGBB), pixels from `index` (palette bits) or `pixel` (24, 32 bits). Rows bottom-up unless `topDown`.
struct BmpSample {
    int width = 5;
    int height = 3;
    int bits = 24;
    bool topDown = false;
    std::vector<uint32_t> palette{};
    std::function<int(int x, int y)> index{};
    PixelFunction pixel{};
};
std::string encodeBmp(const BmpSample& sample);
// An 8-bit run-length bitmap of `width` × `height` whose data ends at once: about a kilobyte for any size.
std::string emptyRle8Bmp(int width, int height);

// A colour per quadrant: the picture's orientation shows in where they land.
uint32_t quadrantColour(int x, int y, int width, int height);

}  // namespace tarvelin::samples
