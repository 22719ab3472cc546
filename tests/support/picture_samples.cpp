#include "support/picture_samples.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace tarvelin::samples {

namespace {

void put16(std::string& s, unsigned v, bool big) {
    if (big) {
        s += char(v >> 8), s += char(v & 0xff);
    } else {
        s += char(v & 0xff), s += char(v >> 8);
    }
}

void put32(std::string& s, uint32_t v, bool big) {
    if (big) {
        put16(s, v >> 16, true), put16(s, v & 0xffff, true);
    } else {
        put16(s, v & 0xffff, false), put16(s, v >> 16, false);
    }
}

void put32At(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = char(v >> (8 * i) & 0xff);
}

// "Exif\0\0", a TIFF header and IFD0 holding one Orientation entry, a SHORT.
std::string exifSegment(int orientation, bool big) {
    std::string s("Exif\0\0", 6);
    s += big ? "MM" : "II";
    put16(s, 42, big);
    put32(s, 8, big);
    put16(s, 2, big);  // two entries: an unrelated one first
    put16(s, 0x010f, big), put16(s, 2, big), put32(s, 4, big), s += std::string("abc\0", 4);
    put16(s, 0x0112, big), put16(s, 3, big), put32(s, 1, big),
        put16(s, static_cast<unsigned>(orientation), big), put16(s, 0, big);
    put32(s, 0, big);
    return s;
}

}  // namespace

std::string encodeJpeg(const JpegSample& sample) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(sample.width);
    cinfo.image_height = static_cast<JDIMENSION>(sample.height);
    int components = 3;
    switch (sample.colours) {
        case JpegSample::Colours::Rgb:
            cinfo.in_color_space = JCS_RGB;
            break;
        case JpegSample::Colours::Gray:
            cinfo.in_color_space = JCS_GRAYSCALE, components = 1;
            break;
        case JpegSample::Colours::AdobeCmyk:
            cinfo.in_color_space = JCS_CMYK, components = 4;
            break;
    }
    cinfo.input_components = components;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, sample.quality, TRUE);
    if (sample.fullChroma) cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;
    std::vector<jpeg_scan_info> scans;
    if (sample.oneScanPerCoefficient) {
        for (int c = 0; c < cinfo.num_components; ++c) scans.push_back({1, {c}, 0, 0, 0, 0});
        for (int c = 0; c < cinfo.num_components; ++c)
            for (int k = 1; k < 64; ++k) scans.push_back({1, {c}, k, k, 0, 0});
        cinfo.scan_info = scans.data();
        cinfo.num_scans = static_cast<int>(scans.size());
    } else if (sample.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    if (sample.exifOrientation > 0) {
        const std::string exif = exifSegment(sample.exifOrientation, sample.bigEndianExif);
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                          static_cast<unsigned>(exif.size()));
    }
    std::vector<JSAMPLE> row(static_cast<size_t>(sample.width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < sample.width; ++x) {
            const uint32_t rgb = sample.pixel ? sample.pixel(x, y) : 0x808080;
            const unsigned r = rgb >> 16 & 0xff, g = rgb >> 8 & 0xff, b = rgb & 0xff;
            JSAMPLE* p = &row[static_cast<size_t>(x) * components];
            if (components == 1) {
                p[0] = static_cast<JSAMPLE>(r);
            } else if (components == 3) {
                p[0] = static_cast<JSAMPLE>(r), p[1] = static_cast<JSAMPLE>(g),
                p[2] = static_cast<JSAMPLE>(b);
            } else {
                // Adobe's CMYK is stored inverted: 255 - C, and so on. K = 0 keeps the colour in C, M, Y.
                p[0] = static_cast<JSAMPLE>(r), p[1] = static_cast<JSAMPLE>(g),
                p[2] = static_cast<JSAMPLE>(b), p[3] = 255;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), outSize);
    std::free(out);
    return bytes;
}

std::string withJpegSize(std::string bytes, unsigned width, unsigned height) {
    for (size_t i = 2; i + 9 < bytes.size(); ++i) {
        const auto m = static_cast<unsigned char>(bytes[i + 1]);
        if (static_cast<unsigned char>(bytes[i]) == 0xff && (m == 0xc0 || m == 0xc2)) {
            bytes[i + 5] = char(height >> 8), bytes[i + 6] = char(height & 0xff);
            bytes[i + 7] = char(width >> 8), bytes[i + 8] = char(width & 0xff);
            break;
        }
    }
    return bytes;
}

std::string emptyRle8Bmp(int width, int height) {
    std::string s = encodeBmp({1, 1, 8, false, {}, [](int, int) { return 0; }});
    s.resize(s.size() - 4);       // the one row
    s += std::string("\0\1", 2);  // end of bitmap
    put32At(s, 2, static_cast<uint32_t>(s.size()));
    put32At(s, 18, static_cast<uint32_t>(width));
    put32At(s, 22, static_cast<uint32_t>(height));
    put32At(s, 30, 1);  // BI_RLE8
    put32At(s, 34, 2);
    return s;
}

std::string encodeBmp(const BmpSample& sample) {
    const int w = sample.width, h = sample.height, bits = sample.bits;
    const int paletteSize = bits <= 8 ? 1 << bits : 0;
    const int rowBytes = ((w * bits + 31) / 32) * 4;
    const uint32_t pixelOffset = 14 + 40 + 4 * paletteSize;
    std::string s("BM");
    put32(s, pixelOffset + static_cast<uint32_t>(rowBytes * h), false);
    put32(s, 0, false);
    put32(s, pixelOffset, false);
    put32(s, 40, false);
    put32(s, static_cast<uint32_t>(w), false);
    put32(s, static_cast<uint32_t>(sample.topDown ? -h : h), false);
    put16(s, 1, false);
    put16(s, static_cast<unsigned>(bits), false);
    put32(s, 0, false);  // BI_RGB
    put32(s, static_cast<uint32_t>(rowBytes * h), false);
    put32(s, 2835, false), put32(s, 2835, false);
    put32(s, static_cast<uint32_t>(paletteSize), false), put32(s, 0, false);
    for (int i = 0; i < paletteSize; ++i) {
        const uint32_t c = i < static_cast<int>(sample.palette.size()) ? sample.palette[i] : 0;
        s += char(c & 0xff), s += char(c >> 8 & 0xff), s += char(c >> 16 & 0xff), s += char(0);
    }
    for (int stored = 0; stored < h; ++stored) {
        const int y = sample.topDown ? stored : h - 1 - stored;
        std::string row(static_cast<size_t>(rowBytes), '\0');
        for (int x = 0; x < w; ++x) {
            if (bits <= 8) {
                const int bit = x * bits;
                const int value = sample.index(x, y) & ((1 << bits) - 1);
                row[bit / 8] = static_cast<char>(row[bit / 8] | value << (8 - bits - bit % 8));
            } else {
                const uint32_t c = sample.pixel(x, y);
                const size_t at = static_cast<size_t>(x) * (bits / 8);
                row[at] = char(c & 0xff), row[at + 1] = char(c >> 8 & 0xff),
                row[at + 2] = char(c >> 16 & 0xff);
                if (bits == 32) row[at + 3] = char(0);
            }
        }
        s += row;
    }
    return s;
}

uint32_t quadrantColour(int x, int y, int width, int height) {
    static const uint32_t kColours[4] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00};
    return kColours[(x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0)];
}

}  // namespace tarvelin::samples
