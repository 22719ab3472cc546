// Peak memory of previewing pictures made to exhaust it (a few kilobytes declaring hundreds of megapixels),
// each in a process of its own, beside previewing a normal 24-megapixel photo in the same view in another.
// Each figure prints its ratio to that floor (target <= 1.5).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "support/picture_samples.h"

namespace {

namespace fs = std::filesystem;
using tarvelin::samples::encodeJpeg;
using tarvelin::samples::JpegSample;
using tarvelin::samples::withJpegSize;

uint32_t grain(int x, int y) {
    const uint32_t g = (static_cast<uint32_t>(x) * 2654435761u ^ static_cast<uint32_t>(y) * 40503u) >> 24;
    return (x / 24 + g) << 16 | (y / 16 + g) << 8 | ((x + y) / 40 & 0xff);
}

std::string progressive(int side, bool fullChroma) {
    return encodeJpeg({side, side, grain, JpegSample::Colours::Rgb, true, false, 0, false, 90, fullChroma});
}

// The pictures, written when first asked for. The normal one is 6000 × 4000, as cameras take them.
const std::map<std::string, std::function<std::string()>> kPictures = {
    {"normal_24mp.jpg",
     [] {
         return encodeJpeg({6000, 4000, grain, JpegSample::Colours::Rgb, false, false, 0, false, 90});
     }},
    {"progressive_444_17320.jpg", [] { return withJpegSize(progressive(64, true), 17320, 17320); }},
    {"truncated_progressive_17320.jpg",
     [] {
         const std::string whole = progressive(512, false);
         return withJpegSize(whole.substr(0, whole.size() / 2), 17320, 17320);
     }},
    {"baseline_17320.jpg",
     [] {
         return withJpegSize(encodeJpeg({64, 64, grain}), 17320, 17320);
     }},
    {"rle8_16000.bmp", [] { return tarvelin::samples::emptyRle8Bmp(16000, 16000); }},
};

std::string pictureFile(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / "tarvelin-bench-budget-v1";
    const fs::path file = folder / name;
    if (!fs::exists(file)) {
        fs::create_directories(folder);
        const fs::path part = folder / (name + ".part");
        std::ofstream(part, std::ios::binary) << kPictures.at(name)();
        fs::rename(part, file);
    }
    return file.string();
}

struct Peak {
    double megabytes = -1;
    int status = -1;
    std::string shown;
};

// The peak of a fresh process that previews `file` in `view` (fit or actual).
Peak previewPeak(const std::string& file, const char* view) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string command =
        (self.parent_path() / "tarvelin_picture_peak").string() + " '" + file + "' " + view;
    Peak peak;
    if (FILE* out = ::popen(command.c_str(), "r")) {
        long kb = -1;
        char shown[64] = {};
        if (std::fscanf(out, "%ld %d %63s", &kb, &peak.status, shown) == 3) {
            peak.megabytes = kb / 1024.0;
            peak.shown = shown;
        }
        ::pclose(out);
    }
    return peak;
}

const char* viewName(const benchmark::State& state) {
    return state.range(0) == 0 ? "fit" : "actual";
}

std::map<std::string, double> g_floorMegabytes;  // by view

void BM_PreviewPeakNormalPhoto(benchmark::State& state) {
    const std::string file = pictureFile("normal_24mp.jpg");
    Peak peak;
    for (auto _ : state) peak = previewPeak(file, viewName(state));
    g_floorMegabytes[viewName(state)] = peak.megabytes;
    state.counters["vmhwm_mb"] = peak.megabytes;
    state.SetLabel(std::string(viewName(state)) + " shown " + peak.shown);
}
BENCHMARK(BM_PreviewPeakNormalPhoto)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PreviewPeakCrafted(benchmark::State& state, const char* name) {
    const std::string file = pictureFile(name);
    Peak peak;
    for (auto _ : state) peak = previewPeak(file, viewName(state));
    const double floor = g_floorMegabytes.count(viewName(state)) ? g_floorMegabytes[viewName(state)] : 0;
    state.counters["vmhwm_mb"] = peak.megabytes;
    state.counters["floor_mb"] = floor;
    state.counters["ratio"] = floor > 0 ? peak.megabytes / floor : 0;
    const char* verdict = peak.status == 0 ? " shown " : " refused";
    state.SetLabel(std::string(viewName(state)) + verdict + (peak.status == 0 ? peak.shown : "") +
                   " (target ratio <= 1.5)");
}
// Each in a fit view (as picked in the file list) and at actual size.
const bool g_craftedRegistered = [] {
    for (const char* file : {"progressive_444_17320.jpg", "truncated_progressive_17320.jpg",
                             "baseline_17320.jpg", "rle8_16000.bmp"}) {
        const std::string name = "BM_PreviewPeakCrafted/" + fs::path(file).stem().string();
        benchmark::RegisterBenchmark(name.c_str(), BM_PreviewPeakCrafted, file)
            ->Arg(0)
            ->Arg(1)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
