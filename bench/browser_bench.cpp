// Listing a 100,000-file folder into the file-list model, beside the floor of a bare readdir with the entry's
// type field, case folding and std::sort over the same folder, measured in the same run.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <QApplication>

#include "browser/file_list_box.h"
#include "browser/file_list_model.h"
#include "readdir_floor.h"

namespace {

// One folder per size, built once: 5 % hidden names, 10 % Japanese names, mixed letter case and extensions.
// A marker beside the folder says it is complete, so an interrupted build is redone.
std::string benchFolder(int fileCount) {
    static std::map<int, std::string> built;
    if (auto it = built.find(fileCount); it != built.end()) return it->second;
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("tarvelin-bench-list-" + std::to_string(fileCount)))
            .string();
    const std::string marker = folder + ".complete";
    const std::string stamp = "v2 " + std::to_string(fileCount);
    std::string found;
    std::getline(std::ifstream(marker), found);
    if (found != stamp) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        static const char* const kExtensions[] = {".txt", ".DOC", ".xls",  ".jpg",
                                                  ".pdf", ".Txt", ".html", ".exe"};
        static const char* const kStems[] = {"report", "Data", "IMG", "memo", "Backup", "notes"};
        for (int i = 0; i < fileCount; ++i) {
            // Spread the numbers so creation order is not name order.
            const uint64_t n = static_cast<uint64_t>(i) * 2654435761u % 1000003u;
            std::string name;
            if (i % 20 == 0)
                name = ".hidden-" + std::to_string(n);
            else if (i % 10 == 1)
                name = "資料_議事録" + std::to_string(n);
            else
                name = std::string(kStems[n % 6]) + "_" + std::to_string(n);
            name += kExtensions[(n / 7) % 8];
            const int fd =
                ::open((folder + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd >= 0) ::close(fd);
        }
        std::ofstream(marker) << stamp << '\n';
    }
    built[fileCount] = folder;
    return folder;
}

std::vector<std::string> floorReaddirSort(const std::string& folder) {
    return tarvelin::bench::readdirSorted(folder, DT_REG);
}

using Clock = std::chrono::steady_clock;

double g_floorSeconds = 0;  // per iteration, from BM_FloorReaddirSort in this run

double floorSeconds(const std::string& folder) {
    if (g_floorSeconds > 0) return g_floorSeconds;
    double best = 1e9;  // the floor was filtered out: measure it here
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(floorReaddirSort(folder));
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void BM_FloorReaddirSort(benchmark::State& state) {
    const std::string folder = benchFolder(static_cast<int>(state.range(0)));
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(floorReaddirSort(folder));
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    g_floorSeconds = seconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FloorReaddirSort)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The ratios of the last run of each listing, printed once when the program ends.
struct RatioReport {
    std::map<std::string, double> ratios;
    ~RatioReport() {
        for (const auto& [name, ratio] : ratios)
            std::fprintf(stderr, "%s: %.2f x BM_FloorReaddirSort (target <= 2.0)\n", name.c_str(), ratio);
    }
} g_report;

double g_listSeconds = 0;  // per iteration, from BM_ListFolder in this run

// The last run of BM_ShowFolderInList, printed once when the program ends.
struct ShowReport {
    std::string line;
    ~ShowReport() {
        if (!line.empty()) std::fprintf(stderr, "%s\n", line.c_str());
    }
} g_showReport;

// The folder read into a model as the window reads it: off its thread, the names sorted in as they come.
void readIntoModel(tarvelin::FileListModel& files, const std::string& folder) {
    files.showFolder(folder);
    while (files.beingRead()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void listFolder(benchmark::State& state, const char* name, const char* mask) {
    const std::string folder = benchFolder(static_cast<int>(state.range(0)));
    double seconds = 0;
    size_t items = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        tarvelin::FileListModel files;
        files.setMask(mask);
        readIntoModel(files, folder);
        items = files.list().size();
        benchmark::DoNotOptimize(files.list().items().data());
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double ratio = seconds / static_cast<double>(state.iterations()) / floorSeconds(folder);
    if (std::string_view(mask) == "*.*") g_listSeconds = seconds / static_cast<double>(state.iterations());
    state.counters["items"] = static_cast<double>(items);
    state.counters["ratio_to_floor"] = ratio;
    g_report.ratios[std::string(name) + "/" + std::to_string(state.range(0)) + " (mask " + mask + ")"] =
        ratio;
}

void BM_ListFolder(benchmark::State& state) {
    listFolder(state, "BM_ListFolder", "*.*");
}
BENCHMARK(BM_ListFolder)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListFolderTxtDoc(benchmark::State& state) {
    listFolder(state, "BM_ListFolderTxtDoc", "*.txt;*.doc");
}
BENCHMARK(BM_ListFolderTxtDoc)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

double listSeconds(const std::string& folder) {
    if (g_listSeconds > 0) return g_listSeconds;
    double best = 1e9;  // BM_ListFolder was filtered out: measure it here
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        tarvelin::FileListModel files;
        readIntoModel(files, folder);
        benchmark::DoNotOptimize(files.list().items().data());
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// What the user waits for when the tree selects a big folder: the list read, every row laid out and the view
// painted. The view lays rows out in batches between which the window handles its events, so the longest
// stretch without events (the freeze) is reported beside the whole time.
void BM_ShowFolderInList(benchmark::State& state) {
    const std::string folder = benchFolder(static_cast<int>(state.range(0)));
    tarvelin::FileListModel files;
    tarvelin::FileListBox list(QStringLiteral("FileListBox1"), files);
    list.resize(230, 400);
    list.show();
    QApplication::processEvents();
    double seconds = 0;
    double longestFreeze = 0;
    for (auto _ : state) {
        readIntoModel(list.files(), "/");  // another folder first, so the big one is read again
        QApplication::processEvents();

        const auto start = Clock::now();
        list.files().showFolder(folder);
        auto stretchStart = start;
        double freeze = 0;
        // The last row has a place once the folder is read and every batch is laid out.
        for (bool laidOut = false; !laidOut;) {
            QApplication::processEvents();
            const auto now = Clock::now();
            freeze = std::max(freeze, std::chrono::duration<double>(now - stretchStart).count());
            stretchStart = now;
            const QModelIndex last = list.model()->index(list.model()->rowCount() - 1, 0);
            laidOut = (!list.files().beingRead() && !list.visualRect(last).isEmpty()) ||
                      std::chrono::duration<double>(now - start).count() > 30;
        }
        list.viewport()->repaint();
        const auto end = Clock::now();
        freeze = std::max(freeze, std::chrono::duration<double>(end - stretchStart).count());
        seconds += std::chrono::duration<double>(end - start).count();
        longestFreeze = std::max(longestFreeze, freeze);
    }
    const double read = listSeconds(folder);
    const double total = seconds / static_cast<double>(state.iterations());
    state.counters["items"] = static_cast<double>(list.model()->rowCount());
    state.counters["freeze_ms"] = longestFreeze * 1000;
    state.counters["ratio_to_list"] = total / read;
    state.counters["freeze_ratio_to_list"] = longestFreeze / read;
    char line[256];
    std::snprintf(line, sizeof line,
                  "BM_ShowFolderInList/%lld: %.1f ms in all (%.2f x BM_ListFolder), longest freeze %.1f ms "
                  "(%.2f x BM_ListFolder; target <= 2.0: the view adds at most the reading time)",
                  static_cast<long long>(state.range(0)), total * 1000, total / read, longestFreeze * 1000,
                  longestFreeze / read);
    g_showReport.line = line;
}
BENCHMARK(BM_ShowFolderInList)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
