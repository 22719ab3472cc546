#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/picture_samples.h"
#include "viewer/jpeg_decoder.h"

namespace tarvelin {
namespace {

using samples::JpegSample;

struct VectorSink final : PixelSink {
    uint32_t* allocate(int width, int height, size_t& stride) override {
        ++allocations;
        size = {width, height};
        stride = static_cast<size_t>(width);
        pixels.assign(static_cast<size_t>(width) * height, 0);
        return pixels.data();
    }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * size.width + x] & 0xffffff; }
    int allocations = 0;
    PixelSize size;
    std::vector<uint32_t> pixels;
};

JpegDecodeResult decode(const std::string& bytes, VectorSink& sink, PixelSize fitArea = {},
                        const PictureLimits& limits = {}) {
    return decodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), fitArea, sink, limits);
}

// Channels within the loss of a quality-95 JPEG.
bool near(uint32_t a, uint32_t b, int tolerance = 12) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xff) - int(b >> shift & 0xff)) > tolerance) return false;
    return true;
}

uint32_t quadrants(int x, int y) {
    return samples::quadrantColour(x, y, 64, 32);
}

TEST(JpegDecoder, DecodesBaselineProgressiveGrayAndCmyk) {
    const struct {
        const char* what;
        JpegSample sample;
        uint32_t topLeft, bottomRight;
    } cases[] = {
        {"baseline", {64, 32, quadrants}, 0xff0000, 0xffff00},
        {"progressive", {64, 32, quadrants, JpegSample::Colours::Rgb, true}, 0xff0000, 0xffff00},
        {"gray",
         {64, 32, [](int x, int) { return x < 32 ? 0x202020u : 0xe0e0e0u; }, JpegSample::Colours::Gray},
         0x202020,
         0xe0e0e0},
        {"Adobe CMYK", {64, 32, quadrants, JpegSample::Colours::AdobeCmyk}, 0xff0000, 0xffff00},
    };
    for (const auto& c : cases) {
        VectorSink sink;
        const JpegDecodeResult r = decode(samples::encodeJpeg(c.sample), sink);
        ASSERT_EQ(r.status, DecodeStatus::Ok) << c.what;
        EXPECT_EQ(r.stored, (PixelSize{64, 32})) << c.what;
        EXPECT_EQ(r.decoded, (PixelSize{64, 32})) << c.what;
        EXPECT_EQ(r.warnings, 0) << c.what;
        EXPECT_TRUE(near(sink.at(4, 4), c.topLeft)) << c.what << " " << std::hex << sink.at(4, 4);
        EXPECT_TRUE(near(sink.at(60, 28), c.bottomRight)) << c.what << " " << std::hex << sink.at(60, 28);
        EXPECT_EQ(sink.pixels[0] >> 24, 0xffu) << c.what;
    }
}

TEST(JpegDecoder, ScalesDownToTheSmallestScaleNotBelowTheFit) {
    const std::string bytes = samples::encodeJpeg({800, 400, quadrants});
    const struct {
        PixelSize area, decoded;
    } cases[] = {{{100, 100}, {100, 50}},
                 {{101, 100}, {200, 100}},
                 {{300, 300}, {300, 150}},
                 {{1600, 800}, {800, 400}},
                 {{}, {800, 400}}};
    for (const auto& c : cases) {
        VectorSink sink;
        const JpegDecodeResult r = decode(bytes, sink, c.area);
        ASSERT_EQ(r.status, DecodeStatus::Ok);
        EXPECT_EQ(r.decoded, c.decoded) << c.area.width;
        EXPECT_EQ(r.stored, (PixelSize{800, 400}));
    }
}

TEST(JpegDecoder, ATruncatedFileDecodesWithWarnings) {
    const std::string bytes = samples::encodeJpeg({256, 256, [](int x, int y) { return x << 16 | y; }});
    VectorSink sink;
    const JpegDecodeResult r = decode(bytes.substr(0, bytes.size() / 2), sink);
    ASSERT_EQ(r.status, DecodeStatus::Ok);
    EXPECT_GT(r.warnings, 0);
    EXPECT_EQ(sink.size, (PixelSize{256, 256}));
    EXPECT_TRUE(near(sink.at(32, 2), (32u << 16) | 2u));  // the rows that arrived are the picture's
    // Cut inside the tables, nothing can be decoded.
    EXPECT_EQ(decode(bytes.substr(0, 300), sink).status, DecodeStatus::Corrupt);
}

TEST(JpegDecoder, RefusesDamagedAndOversizedFilesBeforeAllocating) {
    const std::string good = samples::encodeJpeg({64, 32, quadrants});
    std::string badHeader = good;
    badHeader[good.find("\xff\xc0") + 4] = 0;  // SOF length 0x0000
    std::string noMarker = good;
    noMarker[1] = 0;
    PictureLimits fewScans;
    fewScans.maxProgressiveScans = 5;
    PictureLimits small;
    small.maxPixels = 64 * 32 - 1;
    PictureLimits tight;
    tight.memoryBudget = 1 << 20;
    const struct {
        const char* what;
        std::string bytes;
        PictureLimits limits;
        DecodeStatus status;
    } cases[] = {
        {"height 0", samples::withJpegSize(good, 64, 0), {}, DecodeStatus::Corrupt},
        {"SOF precision 0", badHeader, {}, DecodeStatus::Corrupt},
        {"no SOI", noMarker, {}, DecodeStatus::Corrupt},
        {"empty", "", {}, DecodeStatus::NotAPicture},
        {"past the pixel cap", good, small, DecodeStatus::TooLarge},
        {"coefficients past the budget", samples::encodeJpeg({1024, 768, {}, JpegSample::Colours::Rgb, true}),
         tight, DecodeStatus::TooLarge},
        {"192 scans",
         samples::encodeJpeg({64, 32, quadrants, JpegSample::Colours::Rgb, false, true}),
         {},
         DecodeStatus::TooManyScans},
        {"10 progressive scans over a cap of 5",
         samples::encodeJpeg({64, 32, quadrants, JpegSample::Colours::Rgb, true}), fewScans,
         DecodeStatus::TooManyScans},
    };
    for (const auto& c : cases) {
        VectorSink sink;
        EXPECT_EQ(decode(c.bytes, sink, {}, c.limits).status, c.status) << c.what;
        EXPECT_EQ(sink.allocations, 0) << c.what;
    }
}

TEST(JpegDecoder, DecodesAtTheLargestScaleWithinTheMemoryBudget) {
    const std::string photo = samples::encodeJpeg({1024, 768});
    const std::string turned =
        samples::encodeJpeg({1024, 768, {}, JpegSample::Colours::Rgb, false, false, 6});
    const struct {
        const char* what;
        const std::string& bytes;
        PixelSize fitArea;
        uint64_t budget;
        PixelSize decoded;
        bool reduced;
    } cases[] = {
        {"full size past 1 MB", photo, {}, 1 << 20, {512, 384}, true},
        {"a fit view within it", photo, {100, 75}, 1 << 20, {128, 96}, false},
        {"turned upright in a second copy", turned, {}, 4 << 20, {768, 576}, true},
    };
    for (const auto& c : cases) {
        PictureLimits limits;
        limits.memoryBudget = c.budget;
        VectorSink sink;
        const JpegDecodeResult r = decode(c.bytes, sink, c.fitArea, limits);
        EXPECT_EQ(r.status, DecodeStatus::Ok) << c.what;
        EXPECT_EQ(r.decoded, c.decoded) << c.what;
        EXPECT_EQ(r.reduced, c.reduced) << c.what;
    }
}

TEST(JpegDecoder, RefusesA70000SquareHeaderWithoutAllocating) {
    // libjpeg stops at 65500 a side, so a 70000 × 70000 JPEG cannot be written; the largest square stands for
    // it (4.29 Gpx). The BMP tests take 70000 × 70000 itself.
    VectorSink sink;
    const JpegDecodeResult r =
        decode(samples::withJpegSize(samples::encodeJpeg({64, 32, quadrants}), 65500, 65500), sink);
    EXPECT_EQ(r.status, DecodeStatus::TooLarge);
    EXPECT_EQ(r.stored, (PixelSize{65500, 65500}));
    EXPECT_EQ(sink.allocations, 0);
}

TEST(JpegDecoder, ReadsEveryExifOrientationAndTurnsThePictureUpright) {
    // Stored 64 × 32: red top left, green top right, blue bottom left, yellow bottom right.
    const uint32_t R = 0xff0000, G = 0x00ff00, B = 0x0000ff, Y = 0xffff00;
    const struct {
        int orientation;
        PixelSize upright;
        uint32_t topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        {1, {64, 32}, R, G, B, Y}, {2, {64, 32}, G, R, Y, B}, {3, {64, 32}, Y, B, G, R},
        {4, {64, 32}, B, Y, R, G}, {5, {32, 64}, R, B, G, Y}, {6, {32, 64}, B, R, Y, G},
        {7, {32, 64}, Y, G, B, R}, {8, {32, 64}, G, Y, R, B},
    };
    for (bool big : {false, true}) {
        for (const auto& c : cases) {
            JpegSample sample{64, 32, quadrants};
            sample.exifOrientation = c.orientation;
            sample.bigEndianExif = big;
            VectorSink sink;
            const JpegDecodeResult r = decode(samples::encodeJpeg(sample), sink);
            ASSERT_EQ(r.status, DecodeStatus::Ok);
            EXPECT_EQ(r.orientation, c.orientation);
            const PixelSize up = uprightSize(r.stored, r.orientation);
            ASSERT_EQ(up, c.upright) << c.orientation;
            std::vector<uint32_t> upright(static_cast<size_t>(up.width) * up.height);
            applyOrientation(sink.pixels.data(), r.decoded, static_cast<size_t>(r.decoded.width),
                             r.orientation, upright.data(), static_cast<size_t>(up.width));
            auto at = [&](int x, int y) { return upright[static_cast<size_t>(y) * up.width + x] & 0xffffff; };
            const int w = up.width, h = up.height;
            EXPECT_TRUE(near(at(2, 2), c.topLeft)) << c.orientation << std::hex << " " << at(2, 2);
            EXPECT_TRUE(near(at(w - 3, 2), c.topRight)) << c.orientation;
            EXPECT_TRUE(near(at(2, h - 3), c.bottomLeft)) << c.orientation;
            EXPECT_TRUE(near(at(w - 3, h - 3), c.bottomRight)) << c.orientation;
        }
    }
}

TEST(JpegDecoder, IgnoresExifThatIsNotAnOrientation) {
    const struct {
        const char* what;
        std::string bytes;
        int orientation;
    } cases[] = {
        {"value 9", std::string("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x09\0\0\0", 28), 1},
        {"value 6", std::string("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0", 28), 6},
        {"LONG type", std::string("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x04\0\x01\0\0\0\x06\0\0\0", 28), 1},
        {"entry cut short", std::string("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06", 25), 1},
        {"IFD past the end", std::string("Exif\0\0II*\0\xff\0\0\0\x01\0", 16), 1},
        {"IFD offset near 4 G", std::string("Exif\0\0MM\0*\xff\xff\xff\xfe\0\x01", 16), 1},
        {"not TIFF", std::string("Exif\0\0XX*\0\x08\0\0\0\x01\0", 16), 1},
        {"XMP", std::string("http://ns.adobe.com/xap/1.0/\0", 29), 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exifOrientation(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()),
                  c.orientation)
            << c.what;
}

}  // namespace
}  // namespace tarvelin
