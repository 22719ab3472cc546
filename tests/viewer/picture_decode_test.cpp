#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <filesystem>

#include "support/picture_samples.h"
#include "support/temp_folder.h"
#include "viewer/picture_decode.h"
#include "viewer/picture_loader.h"

namespace tarvelin {
namespace {

using samples::BmpSample;

DecodedPicture decodeBmp(const std::string& bytes, const PictureLimits& limits = {}) {
    return decodePictureBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), false, {},
                              limits);
}

uint32_t colourAt(int x, int y) {
    return 0x010000u * (40 * x + 5) + 0x0100u * (70 * y + 9) + 0x31u;
}

TEST(PictureDecode, ReadsBitmapsOfEveryDepthBothRowOrders) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(0x010101u * static_cast<uint32_t>(255 - i) ^ 0x00ff00u * (i & 1));
    for (int bits : {1, 4, 8, 24, 32}) {
        for (bool topDown : {false, true}) {
            BmpSample sample{5, 3, bits, topDown, palette};
            const int levels = 1 << std::min(bits, 8);
            sample.index = [levels](int x, int y) { return (x + 5 * y) % levels; };
            sample.pixel = colourAt;
            const DecodedPicture p = decodeBmp(samples::encodeBmp(sample));
            ASSERT_EQ(p.status, DecodeStatus::Ok) << bits << " bits";
            EXPECT_EQ(p.full, (PixelSize{5, 3}));
            ASSERT_EQ(p.image.size(), QSize(5, 3));
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 5; ++x) {
                    const uint32_t want = bits <= 8 ? palette[(x + 5 * y) % levels] : colourAt(x, y);
                    EXPECT_EQ(p.image.pixel(x, y) & 0xffffff, want)
                        << bits << " bits, top-down " << topDown << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(PictureDecode, RefusesBitmapsBeyondTheLimitsAndBrokenOnes) {
    BmpSample sample{4, 4, 24};
    sample.pixel = colourAt;
    const std::string good = samples::encodeBmp(sample);
    std::string huge = good;  // 70000 × 70000 in the header, sixty-odd bytes of pixels
    for (int at : {18, 22})
        huge[at] = char(0x70), huge[at + 1] = char(0x11), huge[at + 2] = char(0x01), huge[at + 3] = 0;
    PictureLimits small;
    small.maxPixels = 15;
    std::string zeroBits = good;
    zeroBits[28] = 0;
    const struct {
        const char* what;
        std::string bytes;
        PictureLimits limits;
        DecodeStatus status;
    } cases[] = {
        {"70000 x 70000 header", huge, {}, DecodeStatus::TooLarge},
        {"past the pixel cap", good, small, DecodeStatus::TooLarge},
        {"16000 x 16000 past the memory budget",
         samples::emptyRle8Bmp(16000, 16000),
         {},
         DecodeStatus::TooLarge},
        {"0 bits per pixel", zeroBits, {}, DecodeStatus::NotAPicture},
        {"not a bitmap", "BM not really", {}, DecodeStatus::NotAPicture},
        {"empty", "", {}, DecodeStatus::NotAPicture},
    };
    for (const auto& c : cases) EXPECT_EQ(decodeBmp(c.bytes, c.limits).status, c.status) << c.what;
}

TEST(PictureDecode, ReadsOnlyRegularFilesAndNeverBlocks) {
    test::TempFolder folder;
    const std::string jpeg = samples::encodeJpeg({40, 20, [](int, int) { return 0x3366ccu; }});
    folder.write("a.jpg", jpeg);
    folder.write("b.BMP",
                 samples::encodeBmp({2, 2, 24, false, {}, nullptr, [](int, int) { return 0x123456u; }}));
    ASSERT_EQ(::mkfifo(folder.file("pipe.jpg").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.file("dir.jpg"));
    const struct {
        const char* name;
        DecodeStatus status;
        PixelSize full;
    } cases[] = {
        {"a.jpg", DecodeStatus::Ok, {40, 20}},         {"b.BMP", DecodeStatus::Ok, {2, 2}},
        {"pipe.jpg", DecodeStatus::Unreadable, {}},    {"dir.jpg", DecodeStatus::Unreadable, {}},
        {"missing.jpg", DecodeStatus::Unreadable, {}},
    };
    for (const auto& c : cases) {
        const DecodedPicture p = decodePictureFile(folder.file(c.name), {});
        EXPECT_EQ(p.status, c.status) << c.name;
        EXPECT_EQ(p.full, c.full) << c.name;
        EXPECT_EQ(p.path, folder.file(c.name));
    }
    PictureLimits tiny;
    tiny.memoryBudget = jpeg.size() - 1;  // a file past the budget is not read at all
    EXPECT_EQ(decodePictureFile(folder.file("a.jpg"), {}, tiny).status, DecodeStatus::TooLarge);
    // A JPEG named .bmp is read as a bitmap, as the name says, and refused.
    folder.write("jpeg.bmp", jpeg);
    EXPECT_EQ(decodePictureFile(folder.file("jpeg.bmp"), {}).status, DecodeStatus::NotAPicture);
}

TEST(PictureLoader, ShowsOnlyTheLatestRequestAndNoticesAChangedFile) {
    test::TempFolder folder;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        folder.write(name, samples::encodeJpeg({900, 600, [](int x, int y) { return uint32_t(x ^ y); }}));
    PictureLoader loader;
    QSignalSpy spy(&loader, &PictureLoader::ready);
    loader.show(folder.file("a.jpg"), {});
    loader.show(folder.file("b.jpg"), {});
    const uint64_t last = loader.show(folder.file("c.jpg"), {90, 60});
    loader.waitIdle();
    QCoreApplication::processEvents();
    // An earlier request is answered only when the worker finished it before the next came.
    ASSERT_GE(spy.count(), 1);
    EXPECT_EQ(spy.last()[0].value<uint64_t>(), last);
    const auto c = spy.last()[1].value<PicturePtr>();
    EXPECT_EQ(c->path, folder.file("c.jpg"));
    EXPECT_EQ(c->image.size(), QSize(113, 75));  // 1/8 scale covers 90 × 60
    EXPECT_EQ(loader.cached(folder.file("c.jpg"), {90, 60}), c);
    EXPECT_EQ(loader.cached(folder.file("c.jpg"), {}), nullptr);  // too little detail for actual size

    // Decoded ahead, then the file changes: the next show decodes it again.
    loader.prefetch({folder.file("a.jpg")}, {90, 60});
    loader.waitIdle();
    const PicturePtr before = loader.cached(folder.file("a.jpg"), {90, 60});
    ASSERT_NE(before, nullptr);
    folder.write("a.jpg", samples::encodeJpeg({300, 200, [](int, int) { return 0u; }}));
    spy.clear();
    loader.show(folder.file("a.jpg"), {90, 60});
    loader.waitIdle();
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][1].value<PicturePtr>()->full, (PixelSize{300, 200}));
}

}  // namespace
}  // namespace tarvelin
