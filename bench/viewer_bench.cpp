// Paging through 24-megapixel photos: decoding for a fit view beside a bare libjpeg-turbo read at the same
// DCT scale, and the next-picture command (neighbour decoded ahead) beside QImage::load of the same file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "support/picture_samples.h"
#include "viewer/picture_decode.h"
#include "viewer/picture_source.h"
#include "viewer/viewer_window.h"
#include "viewer_harness.h"

namespace {

using Clock = std::chrono::steady_clock;

// Three copies of a 6000 × 4000 photo-like JPEG (smooth light, fine grain), made once; a marker says it is
// complete.
std::vector<std::string> photoFiles(int megapixels) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("tarvelin-bench-photos-" + std::to_string(megapixels)))
            .string();
    const std::string marker = folder + ".complete";
    const std::string stamp = "v1";
    std::string found;
    std::getline(std::ifstream(marker), found);
    std::vector<std::string> files = {folder + "/a.jpg", folder + "/b.jpg", folder + "/c.jpg"};
    if (found != stamp) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        // 3:2, as cameras take them: 24 megapixels are 6000 × 4000.
        const int height = static_cast<int>(std::lround(std::sqrt(megapixels * 1e6 / 1.5)));
        const int width = height * 3 / 2;
        const std::string bytes = tarvelin::samples::encodeJpeg(
            {width, height,
             [](int x, int y) {
                 const uint32_t grain =
                     (static_cast<uint32_t>(x) * 2654435761u ^ static_cast<uint32_t>(y) * 40503u) >> 28;
                 const uint32_t r = (x / 24 + grain) & 0xff, g = (y / 16 + grain) & 0xff,
                                b = ((x + y) / 40) & 0xff;
                 return r << 16 | g << 8 | b;
             },
             tarvelin::samples::JpegSample::Colours::Rgb, false, false, 0, false, 90});
        for (const std::string& f : files) std::ofstream(f, std::ios::binary) << bytes;
        std::ofstream(marker) << stamp << '\n';
    }
    return files;
}

std::vector<unsigned char> readAll(const std::string& path) {
    std::vector<unsigned char> bytes(std::filesystem::file_size(path));
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    return bytes;
}

// The bare read: the file, libjpeg-turbo at the DCT scale an 886 × 675 fit view needs (2/8 for 6000 × 4000),
// rows into one buffer of 32-bit pixels.
size_t floorTurboScaled(const std::string& path) {
    const std::vector<unsigned char> bytes = readAll(path);
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    const tarvelin::PixelSize stored{static_cast<int>(cinfo.image_width),
                                     static_cast<int>(cinfo.image_height)};
    cinfo.scale_num =
        static_cast<unsigned>(tarvelin::dctScaleEighths(stored, tarvelin::fitSize(stored, {886, 675})));
    cinfo.scale_denom = 8;
    cinfo.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);
    std::vector<unsigned char> pixels(size_t{cinfo.output_width} * cinfo.output_height * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + size_t{cinfo.output_scanline} * cinfo.output_width * 4;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return pixels.size();
}

struct Ratios {
    std::map<std::string, double> floors, figures;
    std::map<std::string, std::pair<std::string, double>> pairs;  // figure → floor, target
    ~Ratios() {
        for (const auto& [name, p] : pairs) {
            if (!figures.count(name) || !floors.count(p.first)) continue;
            std::fprintf(stderr, "%s: %.3f x %s (target <= %.2f)\n", name.c_str(),
                         figures[name] / floors[p.first], p.first.c_str(), p.second);
        }
    }
} g_ratios;

double timeIterations(benchmark::State& state, const std::function<void()>& body) {
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        body();
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    return seconds / static_cast<double>(state.iterations());
}

void BM_FloorTurboScaled(benchmark::State& state) {
    const std::string file = photoFiles(static_cast<int>(state.range(0)))[0];
    g_ratios.floors["BM_FloorTurboScaled"] =
        timeIterations(state, [&] { benchmark::DoNotOptimize(floorTurboScaled(file)); });
}
BENCHMARK(BM_FloorTurboScaled)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FloorQImageLoad(benchmark::State& state) {
    const std::string file = photoFiles(static_cast<int>(state.range(0)))[0];
    g_ratios.floors["BM_FloorQImageLoad"] = timeIterations(state, [&] {
        QImage image;
        image.load(QString::fromStdString(file));
        benchmark::DoNotOptimize(image.constBits());
    });
}
BENCHMARK(BM_FloorQImageLoad)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DecodeForFit(benchmark::State& state) {
    const std::string file = photoFiles(static_cast<int>(state.range(0)))[0];
    QSize decoded;
    g_ratios.figures["BM_DecodeForFit"] = timeIterations(state, [&] {
        const tarvelin::DecodedPicture p = tarvelin::decodePictureFile(file, {886, 675});
        decoded = p.image.size();
        benchmark::DoNotOptimize(p.image.constBits());
    });
    state.counters["width"] = decoded.width();
    g_ratios.pairs["BM_DecodeForFit"] = {"BM_FloorTurboScaled", 1.1};
}
BENCHMARK(BM_DecodeForFit)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageNextPrefetched(benchmark::State& state) {
    PhotoList list(photoFiles(static_cast<int>(state.range(0))));
    tarvelin::TViewer viewer(list, QFont(), nullptr);
    viewer.resize(886, 687);
    viewer.show();
    const auto settle = [&] { settleViewer(viewer); };
    viewer.PreviewFocusedImage();
    settle();
    double seconds = 0;
    int waited = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        viewer.Label2Click();
        viewer.repaint();
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        waited += viewer.decoding() ? 1 : 0;
        state.PauseTiming();
        settle();
        state.ResumeTiming();
    }
    state.counters["not_ready"] = waited;  // pages that had to wait for the worker
    g_ratios.figures["BM_PageNextPrefetched"] = seconds / static_cast<double>(state.iterations());
    g_ratios.pairs["BM_PageNextPrefetched"] = {"BM_FloorQImageLoad", 0.3};
}
BENCHMARK(BM_PageNextPrefetched)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
