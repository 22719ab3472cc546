// Expanding and refreshing a folder of 100,000 subfolders in the folder tree, painted, beside the floor of a
// bare readdir of that folder keeping the folders, sorted, measured in the same run.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <QApplication>

#include "bench_timing.h"
#include "browser/folder_tree_model.h"
#include "browser/shell_tree_view.h"
#include "readdir_floor.h"

namespace {

using Clock = std::chrono::steady_clock;

// <tmp>/tarvelin-bench-folders-N/big holding N subfolders, built once; a marker says it is complete.
std::string benchParent(int folderCount) {
    const std::string parent =
        (std::filesystem::temp_directory_path() / ("tarvelin-bench-folders-" + std::to_string(folderCount)))
            .string();
    const std::string marker = parent + ".complete";
    std::string found;
    std::getline(std::ifstream(marker), found);
    if (found != "v2") {
        std::filesystem::remove_all(parent);
        std::filesystem::create_directories(parent + "/big");
        for (int i = 0; i < folderCount; ++i) {
            const unsigned n = static_cast<unsigned>(i) * 2654435761u % 1000003u;  // not in name order
            const std::string name =
                (i % 3 ? "Folder_" : "data_") + std::to_string(n) + "_" + std::to_string(i);
            ::mkdir((parent + "/big/" + name).c_str(), 0755);
        }
        std::ofstream(marker) << "v2\n";
    }
    return parent;
}

// Hidden folders are not shown, but the floor keeps them: the test folder has none.
std::vector<std::string> floorReaddirFolders(const std::string& folder) {
    return tarvelin::bench::readdirSorted(folder, DT_DIR);
}

double g_floorSeconds = 0;  // per iteration, from BM_FloorReaddirFolders in this run

double floorSeconds(const std::string& folder) {
    if (g_floorSeconds > 0) return g_floorSeconds;
    // The floor was filtered out: measure it here.
    return tarvelin::bench::bestSeconds([&] { benchmark::DoNotOptimize(floorReaddirFolders(folder)); });
}

struct Report {
    std::map<std::string, double> ratios;
    ~Report() {
        for (const auto& [name, ratio] : ratios)
            std::fprintf(stderr, "%s: %.2f x BM_FloorReaddirFolders (target <= 2.0)\n", name.c_str(), ratio);
    }
} g_report;

void BM_FloorReaddirFolders(benchmark::State& state) {
    const std::string folder = benchParent(static_cast<int>(state.range(0))) + "/big";
    g_floorSeconds =
        tarvelin::bench::meanSeconds(state, [&] { benchmark::DoNotOptimize(floorReaddirFolders(folder)); });
}
BENCHMARK(BM_FloorReaddirFolders)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Folders are read on worker threads: until the answers are taken in, on the window's thread.
void waitForReading(const tarvelin::FolderTreeModel& folders) {
    while (folders.beingRead()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
}

// The tree rooted at the big folder's parent, shown; the big folder's index.
struct Shown {
    tarvelin::FolderTreeModel folders{false, tarvelin::DesktopPlaces{}};
    tarvelin::ShellTreeView view{QStringLiteral("ShellTreeView1"), folders};
    QModelIndex big;

    explicit Shown(const std::string& parent) {
        view.resize(250, 500);
        view.show();
        view.setRoot(parent);
        waitForReading(folders);
        const QModelIndex root = view.folders().rootIndex();
        big = view.folders().index(0, 0, root);
    }
};

void record(benchmark::State& state, const char* name, double seconds, const std::string& folder) {
    const double ratio = seconds / static_cast<double>(state.iterations()) / floorSeconds(folder);
    state.counters["ratio_to_floor"] = ratio;
    g_report.ratios[std::string(name) + "/" + std::to_string(state.range(0))] = ratio;
}

// Opening the big folder: its children read, laid out and painted.
void BM_ExpandFolder(benchmark::State& state) {
    const std::string parent = benchParent(static_cast<int>(state.range(0)));
    double seconds = 0;
    for (auto _ : state) {
        Shown shown(parent);
        const auto start = Clock::now();
        shown.view.expand(shown.big);
        waitForReading(shown.folders);
        shown.view.scrollTo(shown.view.folders().index(0, 0, shown.big));
        QApplication::processEvents();
        shown.view.viewport()->repaint();
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(took);
        seconds += took;
        state.counters["items"] = shown.view.folders().rowCount(shown.big);
    }
    record(state, "BM_ExpandFolder", seconds, parent + "/big");
}
BENCHMARK(BM_ExpandFolder)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime();

// The refresh command on the open big folder: read again, every node kept, painted.
void BM_RefreshFolder(benchmark::State& state) {
    const std::string parent = benchParent(static_cast<int>(state.range(0)));
    Shown shown(parent);
    shown.view.expand(shown.big);
    waitForReading(shown.folders);
    shown.view.scrollTo(shown.view.folders().index(50, 0, shown.big));
    QApplication::processEvents();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        shown.view.refreshNode(shown.big);
        waitForReading(shown.folders);
        shown.view.viewport()->repaint();
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["items"] = shown.view.folders().rowCount(shown.big);
    record(state, "BM_RefreshFolder", seconds, parent + "/big");
}
BENCHMARK(BM_RefreshFolder)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
