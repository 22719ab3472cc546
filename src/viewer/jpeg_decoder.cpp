#include "viewer/jpeg_decoder.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace tarvelin {

namespace {

// libjpeg's default error_exit ends the process; ours jumps back to the decode with the reason.
struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
    DecodeStatus status;
    int maxWarnings;
};

void errorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    // Virtual arrays past max_memory_to_use would need a backing store, which this build of libjpeg lacks.
    if (err->status == DecodeStatus::Ok)
        err->status =
            err->base.msg_code == JERR_NO_BACKING_STORE ? DecodeStatus::TooLarge : DecodeStatus::Corrupt;
    std::longjmp(err->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (++err->base.num_warnings > err->maxWarnings) errorExit(cinfo);
}

void outputMessage(j_common_ptr) {}

struct ScanLimit {
    jpeg_progress_mgr base;
    int maxScans;
    const std::atomic<bool>* cancel;
};

// Every progressive scan is another pass over the whole picture: a file of thousands of tiny scans is a
// decoding bomb.
void progress(j_common_ptr cinfo) {
    auto* limit = reinterpret_cast<ScanLimit*>(cinfo->progress);
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (d->progressive_mode && d->input_scan_number > limit->maxScans) {
        err->status = DecodeStatus::TooManyScans;
        errorExit(cinfo);
    }
    if (limit->cancel && limit->cancel->load(std::memory_order_relaxed)) {
        err->status = DecodeStatus::Cancelled;
        errorExit(cinfo);
    }
}

constexpr J_COLOR_SPACE kNativeXrgb =
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    JCS_EXT_BGRX;
#else
    JCS_EXT_XRGB;
#endif

inline uint32_t argb(unsigned r, unsigned g, unsigned b) {
    return 0xff000000u | (r << 16) | (g << 8) | b;
}

// CMYK rows arrive as C, M, Y, K bytes; Adobe's files store them inverted.
void cmykRowToRgb(uint32_t* row, int width, bool inverted) {
    auto* bytes = reinterpret_cast<const uint8_t*>(row);
    for (int x = 0; x < width; ++x) {
        unsigned c = bytes[4 * x], m = bytes[4 * x + 1], y = bytes[4 * x + 2], k = bytes[4 * x + 3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        row[x] = argb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

struct Decode {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    ScanLimit scans;
    const uint8_t* data;
    size_t size;
    PixelSize fitArea;
    PixelSink* sink;
    const PictureLimits* limits;
    JpegDecodeResult* result;
};

JpegLayout layoutOf(const jpeg_decompress_struct& cinfo, int orientation) {
    JpegLayout layout;
    layout.stored = {static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height)};
    for (int c = 0; c < cinfo.num_components; ++c)
        layout.components.push_back({cinfo.comp_info[c].h_samp_factor, cinfo.comp_info[c].v_samp_factor});
    // The header was read up to the first scan, which tells whether more follow over the same blocks.
    layout.wholeImageCoefficients = cinfo.progressive_mode || cinfo.comps_in_scan < cinfo.num_components;
    layout.turned = orientation != 1;
    return layout;
}

// Kept out of run(), whose frame libjpeg may jump out of: the layout owns memory.
int scaleWithin(const jpeg_decompress_struct& cinfo, int orientation, int wantedEighths, uint64_t budget) {
    return jpegScaleWithin(layoutOf(cinfo, orientation), wantedEighths, budget);
}

// Only plain data lives in this frame, so jumping out of libjpeg skips no destructor.
void run(Decode& d) {
    j_decompress_ptr cinfo = &d.cinfo;
    JpegDecodeResult& result = *d.result;
    if (setjmp(d.err.jump)) {
        result.status = d.err.status;
        return;
    }
    jpeg_create_decompress(cinfo);
    cinfo->progress = &d.scans.base;
    jpeg_mem_src(cinfo, d.data, static_cast<unsigned long>(d.size));
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xffff);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        result.status = DecodeStatus::NotAPicture;
        return;
    }
    result.stored = {static_cast<int>(cinfo->image_width), static_cast<int>(cinfo->image_height)};
    if (int64_t{cinfo->image_width} * cinfo->image_height > d.limits->maxPixels) {
        result.status = DecodeStatus::TooLarge;
        return;
    }
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1) continue;
        result.orientation = exifOrientation(m->data, m->data_length);
        if (result.orientation != 1) break;
    }
    // The scale is chosen on the stored sides, so a quarter turn swaps what is wanted of them.
    const PixelSize wanted = fitSize(uprightSize(result.stored, result.orientation), d.fitArea);
    const PixelSize wantedStored = result.orientation >= 5 ? PixelSize{wanted.height, wanted.width} : wanted;
    const int wantedEighths = dctScaleEighths(result.stored, wantedStored);
    const int eighths = scaleWithin(*cinfo, result.orientation, wantedEighths, d.limits->memoryBudget);
    // Coefficients alone past the budget: no scale helps.
    if (eighths == 0) {
        result.status = DecodeStatus::TooLarge;
        return;
    }
    result.reduced = eighths < wantedEighths;
    cinfo->scale_num = static_cast<unsigned>(eighths);
    cinfo->scale_denom = 8;
    cinfo->mem->max_memory_to_use = static_cast<long>(std::min<uint64_t>(d.limits->memoryBudget, LONG_MAX));
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : kNativeXrgb;
    cinfo->dct_method = JDCT_ISLOW;
    jpeg_calc_output_dimensions(cinfo);
    if (cinfo->output_components != 4) {
        result.status = DecodeStatus::NotAPicture;
        return;
    }
    jpeg_start_decompress(cinfo);
    result.decoded = {static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height)};
    size_t stride = 0;
    uint32_t* pixels = d.sink->allocate(result.decoded.width, result.decoded.height, stride);
    if (!pixels) {
        result.status = DecodeStatus::OutOfMemory;
        return;
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        uint32_t* row = pixels + stride * cinfo->output_scanline;
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
        if (jpeg_read_scanlines(cinfo, rows, 1) != 1) break;  // a suspending source never happens in memory
        if (cmyk) cmykRowToRgb(row, result.decoded.width, cinfo->saw_Adobe_marker);
    }
    jpeg_finish_decompress(cinfo);
    result.status = DecodeStatus::Ok;
}

}  // namespace

JpegDecodeResult decodeJpeg(const uint8_t* data, size_t size, PixelSize fitArea, PixelSink& sink,
                            const PictureLimits& limits) {
    JpegDecodeResult result;
    Decode d{};
    d.data = data;
    d.size = size;
    d.fitArea = fitArea;
    d.sink = &sink;
    d.limits = &limits;
    d.result = &result;
    d.cinfo.err = jpeg_std_error(&d.err.base);
    d.err.base.error_exit = errorExit;
    d.err.base.emit_message = emitMessage;
    d.err.base.output_message = outputMessage;
    d.err.status = DecodeStatus::Ok;
    d.err.maxWarnings = limits.maxWarnings;
    d.scans.base.progress_monitor = progress;
    d.scans.maxScans = limits.maxProgressiveScans;
    d.scans.cancel = limits.cancel;
    if (size == 0) return result;
    run(d);
    result.warnings = static_cast<int>(d.err.base.num_warnings);
    jpeg_destroy_decompress(&d.cinfo);
    return result;
}

namespace {

struct TiffReader {
    const uint8_t* data;
    size_t size;
    bool bigEndian;
    bool has(size_t at, size_t n) const { return at <= size && n <= size - at; }
    unsigned u16(size_t at) const {
        return bigEndian ? (data[at] << 8) | data[at + 1] : data[at] | (data[at + 1] << 8);
    }
    uint32_t u32(size_t at) const {
        return bigEndian ? (uint32_t{u16(at)} << 16) | u16(at + 2) : u16(at) | (uint32_t{u16(at + 2)} << 16);
    }
};

}  // namespace

int exifOrientation(const uint8_t* data, size_t size) {
    static const uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
    if (size < 6 + 8) return 1;
    for (int i = 0; i < 6; ++i)
        if (data[i] != kExif[i]) return 1;
    TiffReader tiff{data + 6, size - 6, false};
    if (tiff.data[0] == 'M' && tiff.data[1] == 'M')
        tiff.bigEndian = true;
    else if (tiff.data[0] != 'I' || tiff.data[1] != 'I')
        return 1;
    if (tiff.u16(2) != 42) return 1;
    const size_t ifd = tiff.u32(4);
    if (!tiff.has(ifd, 2)) return 1;
    const unsigned entries = tiff.u16(ifd);
    for (unsigned i = 0; i < entries; ++i) {
        const size_t at = ifd + 2 + size_t{i} * 12;
        if (!tiff.has(at, 12)) return 1;
        if (tiff.u16(at) != 0x0112) continue;
        // A SHORT with a count of one sits in the first two bytes of the value field.
        if (tiff.u16(at + 2) != 3 || tiff.u32(at + 4) != 1) return 1;
        const unsigned value = tiff.u16(at + 8);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

PixelSize uprightSize(PixelSize stored, int orientation) {
    return orientation >= 5 && orientation <= 8 ? PixelSize{stored.height, stored.width} : stored;
}

void applyOrientation(const uint32_t* src, PixelSize srcSize, size_t srcStride, int orientation,
                      uint32_t* dst, size_t dstStride) {
    // Orientations 5..8 swap the sides; then the upright picture is flipped across, down, or both.
    static constexpr struct {
        bool swap, flipX, flipY;
    } kTurns[9] = {{},
                   {},
                   {false, true, false},
                   {false, true, true},
                   {false, false, true},
                   {true, false, false},
                   {true, true, false},
                   {true, true, true},
                   {true, false, true}};
    const auto turn = kTurns[orientation >= 1 && orientation <= 8 ? orientation : 1];
    const int w = srcSize.width, h = srcSize.height;
    const int uprightWidth = turn.swap ? h : w, uprightHeight = turn.swap ? w : h;
    // Blocks keep the rows of both pictures in the cache when the sides swap.
    constexpr int kBlock = 64;
    for (int by = 0; by < h; by += kBlock) {
        for (int bx = 0; bx < w; bx += kBlock) {
            const int yEnd = std::min(by + kBlock, h), xEnd = std::min(bx + kBlock, w);
            for (int y = by; y < yEnd; ++y) {
                const uint32_t* row = src + srcStride * y;
                for (int x = bx; x < xEnd; ++x) {
                    const int sx = turn.swap ? y : x, sy = turn.swap ? x : y;
                    const int ux = turn.flipX ? uprightWidth - 1 - sx : sx;
                    const int uy = turn.flipY ? uprightHeight - 1 - sy : sy;
                    dst[dstStride * uy + ux] = row[x];
                }
            }
        }
    }
}

}  // namespace tarvelin
