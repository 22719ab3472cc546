// The file job against plain system calls on the same files, in the same run: copying a folder of 10,000
// files (200 MB) beside copy_file_range per file into a new tree, and trashing 10,000 files beside renaming
// them into one folder. Trashing 3,000 files of one name (from 3,000 folders) is set beside trashing 3,000
// files of distinct names: the trash's free names must cost the same however often a name repeats.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/file_job.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kFilesPerFolder = 100;
constexpr size_t kTreeBytes = size_t{200} << 20;

// A RAM file system where there is one (TARVELIN_BENCH_FOLDER chooses another): on a virtual machine whose
// disk is rate-limited, whichever benchmark runs first would spend the burst allowance and the ratio would
// measure the limiter, not the program.
std::string benchRoot() {
    if (const char* chosen = std::getenv("TARVELIN_BENCH_FOLDER"); chosen && *chosen)
        return std::string(chosen) + "/tarvelin-bench-fileops";
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path();
    return (base / "tarvelin-bench-fileops").string();
}

// 10,000 files of 20 KB in 100 folders, built once; a marker says the tree is complete.
std::string sourceTree(int fileCount) {
    const std::string folder = benchRoot() + "/source-" + std::to_string(fileCount);
    const std::string marker = folder + ".complete";
    const std::string stamp = "v1 " + std::to_string(fileCount);
    std::string found;
    std::getline(std::ifstream(marker), found);
    if (found == stamp) return folder;
    fs::remove_all(folder);
    const size_t fileBytes = kTreeBytes / static_cast<size_t>(fileCount);
    std::string bytes(fileBytes, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 131 + i / 7);
    for (int i = 0; i < fileCount; ++i) {
        const std::string sub = folder + "/d" + std::to_string(i / kFilesPerFolder);
        if (i % kFilesPerFolder == 0) fs::create_directories(sub);
        std::ofstream(sub + "/f" + std::to_string(i) + ".dat", std::ios::binary) << bytes;
    }
    std::ofstream(marker) << stamp << '\n';
    return folder;
}

// Answers yes, stops at anything else.
class QuietHost final : public tarvelin::FileJobHost {
public:
    bool confirm(const std::string&) override { return true; }
    void refuse(const std::string& text) override { std::fprintf(stderr, "refused: %s\n", text.c_str()); }
    tarvelin::ConflictAnswer conflict(const tarvelin::FileConflict&) override { return {}; }
    tarvelin::ErrorChoice error(const std::string& text) override {
        std::fprintf(stderr, "error: %s\n", text.c_str());
        return tarvelin::ErrorChoice::Cancel;
    }
    void progress(const tarvelin::FileJobProgress&) override {}
};

void floorCopy(const std::string& from, const std::string& to) {
    ::mkdir(to.c_str(), 0755);
    for (const auto& entry : fs::directory_iterator(from)) {
        const std::string target = to + "/" + entry.path().filename().string();
        if (entry.is_directory()) {
            floorCopy(entry.path().string(), target);
            continue;
        }
        const int in = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        while (::copy_file_range(in, nullptr, out, nullptr, size_t{8} << 20, 0) > 0) {
        }
        ::close(in);
        ::close(out);
    }
}

std::map<std::string, double> g_floor;  // seconds per iteration of each floor in this run

struct RatioReport {
    std::vector<std::string> lines;
    ~RatioReport() {
        for (const auto& line : lines) std::fprintf(stderr, "%s\n", line.c_str());
    }
} g_report;

void report(benchmark::State& state, const std::string& name, const std::string& floor, double seconds,
            double target) {
    const double perIteration = seconds / static_cast<double>(state.iterations());
    if (!g_floor.count(floor)) return;
    const double ratio = perIteration / g_floor[floor];
    state.counters["ratio_to_floor"] = ratio;
    char line[256];
    std::snprintf(line, sizeof line, "%s: %.0f ms, %s: %.0f ms, ratio %.2f (target <= %.1f)", name.c_str(),
                  perIteration * 1e3, floor.c_str(), g_floor[floor] * 1e3, ratio, target);
    g_report.lines.push_back(line);
}

template <typename Work>
double timed(Work work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each iteration writes into a folder of its own and everything is removed only at the end: freeing 200 MB
// (with online discard) inside a timed stretch would charge one side for the other's clean-up.
void removeAndSettle(const std::string& folder) {
    fs::remove_all(folder);
    ::sync();
}

void BM_FloorCopyFolder(benchmark::State& state) {
    const std::string source = sourceTree(static_cast<int>(state.range(0)));
    const std::string targets = benchRoot() + "/floor-copy";
    removeAndSettle(targets);
    fs::create_directories(targets);
    double seconds = 0;
    int round = 0;
    for (auto _ : state) {
        const std::string target = targets + "/" + std::to_string(round++);
        ::sync();
        const double s = timed([&] { floorCopy(source, target); });
        state.SetIterationTime(s);
        seconds += s;
    }
    removeAndSettle(targets);
    g_floor["BM_FloorCopyFolder/" + std::to_string(state.range(0))] =
        seconds / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTreeBytes));
}
BENCHMARK(BM_FloorCopyFolder)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_CopyFolder(benchmark::State& state) {
    const std::string source = sourceTree(static_cast<int>(state.range(0)));
    const std::string targets = benchRoot() + "/job-copy";
    removeAndSettle(targets);
    double seconds = 0;
    int round = 0;
    QuietHost host;
    for (auto _ : state) {
        const std::string into = targets + "/" + std::to_string(round++);
        fs::create_directories(into);
        ::sync();
        tarvelin::FileJob job({tarvelin::FileOperation::Copy, {source}, into}, host);
        const double s = timed([&] {
            if (!job.run().complete()) state.SkipWithError("the copy did not complete");
        });
        state.SetIterationTime(s);
        seconds += s;
    }
    removeAndSettle(targets);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTreeBytes));
    const std::string arg = std::to_string(state.range(0));
    report(state, "BM_CopyFolder/" + arg, "BM_FloorCopyFolder/" + arg, seconds, 1.3);
}
BENCHMARK(BM_CopyFolder)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// `count` empty files: distinct names in one folder, or one name in as many folders.
std::vector<std::string> emptyFiles(const std::string& folder, int count, bool sameName = false) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        if (sameName) fs::create_directory(folder + "/d" + n);
        paths.push_back(folder + (sameName ? "/d" + n + "/same.txt" : "/file" + n + ".txt"));
        const int fd = ::open(paths.back().c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ::close(fd);
    }
    return paths;
}

void BM_FloorRenameFiles(benchmark::State& state) {
    const std::string folder = benchRoot() + "/rename-src";
    const std::string bin = benchRoot() + "/rename-bin";
    double seconds = 0;
    for (auto _ : state) {
        const auto paths = emptyFiles(folder, static_cast<int>(state.range(0)));
        fs::remove_all(bin);
        fs::create_directories(bin);
        ::sync();
        const double s = timed([&] {
            for (size_t i = 0; i < paths.size(); ++i)
                ::rename(paths[i].c_str(), (bin + "/file" + std::to_string(i) + ".txt").c_str());
        });
        state.SetIterationTime(s);
        seconds += s;
    }
    fs::remove_all(bin);
    g_floor["BM_FloorRenameFiles/" + std::to_string(state.range(0))] =
        seconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FloorRenameFiles)
    ->Arg(10000)
    ->Arg(3000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

double trashSeconds(benchmark::State& state, bool sameName) {
    const std::string folder = benchRoot() + "/trash-src";
    const std::string home = benchRoot() + "/trash-home";
    double seconds = 0;
    QuietHost host;
    for (auto _ : state) {
        const auto paths = emptyFiles(folder, static_cast<int>(state.range(0)), sameName);
        fs::remove_all(home);
        ::sync();
        tarvelin::TrashSettings settings{home + "/Trash", ::getuid(), [] { return std::time(nullptr); }};
        tarvelin::FileJob job({tarvelin::FileOperation::Delete, paths, {}}, host, settings);
        const double s = timed([&] {
            if (!job.run().complete()) state.SkipWithError("trashing did not complete");
        });
        state.SetIterationTime(s);
        seconds += s;
    }
    fs::remove_all(home);
    fs::remove_all(folder);
    return seconds;
}

void BM_TrashFiles(benchmark::State& state) {
    const double seconds = trashSeconds(state, false);
    const std::string arg = std::to_string(state.range(0));
    g_floor["BM_TrashFiles/" + arg] = seconds / static_cast<double>(state.iterations());
    report(state, "BM_TrashFiles/" + arg, "BM_FloorRenameFiles/" + arg, seconds, 3.0);
}
BENCHMARK(BM_TrashFiles)
    ->Arg(10000)
    ->Arg(3000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

void BM_TrashSameName(benchmark::State& state) {
    const double seconds = trashSeconds(state, true);
    const std::string arg = std::to_string(state.range(0));
    report(state, "BM_TrashSameName/" + arg, "BM_TrashFiles/" + arg, seconds, 1.5);
}
BENCHMARK(BM_TrashSameName)->Arg(3000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
