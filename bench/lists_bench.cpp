// Reading, opening and writing a 100,000-node list document of real paths, beside their floors measured in
// the same run: reading the file and splitting it into lines, one stat() a path on one thread, one fwrite of
// the same bytes. BM_ListRatios, registered last, prints the ratios and the memory the tree takes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <QApplication>

#include <QMimeData>

#include "bench_timing.h"
#include "lists/icon_rules.h"
#include "lists/list_document.h"
#include "lists/list_drops.h"
#include "lists/list_tree_model.h"
#include "lists/list_tree_view.h"
#include "lists/list_window.h"
#include "lists/list_window_host.h"
#include "platform/desktop_shell.h"
#include "platform/qt_dialogs.h"
#include "platform/system_services.h"
#include "widgets/pane_drag.h"

namespace {

using Clock = std::chrono::steady_clock;

struct BenchList {
    std::string folder;              // ends in "/"
    std::string path;                // the list document
    std::string bytes;               // its contents
    std::vector<std::string> texts;  // every node's text, for the stat floor
};

// A root, then blocks of six nested binders (levels 1 to 6) holding fourteen items at level 7: eight levels,
// 70 % items, half of the items existing files. Built once and reused while the marker says it is complete.
const BenchList& benchList(size_t nodes) {
    static std::map<size_t, BenchList> built;
    if (auto it = built.find(nodes); it != built.end()) return it->second;
    BenchList list;
    list.folder =
        (std::filesystem::temp_directory_path() / ("tarvelin-bench-kxd-" + std::to_string(nodes))).string() +
        "/";
    list.path = list.folder + "list.kxd";
    const std::string marker = list.folder + "complete";
    const bool complete = std::filesystem::exists(marker);
    if (!complete) {
        std::filesystem::remove_all(list.folder);
        std::filesystem::create_directories(list.folder);
    }
    static const char* const kExtensions[] = {".txt", ".doc", ".jpg", ".xls", ".pdf", ".DOC", ".bmp"};
    const auto addLine = [&](size_t level, std::string text) {
        list.bytes.append(level, '\t');
        list.bytes += text;
        list.bytes += "\r\n";
        list.texts.push_back(std::move(text));
    };
    addLine(0, "ベンチマーク用リスト");
    for (size_t i = 1; list.texts.size() < nodes; ++i) {
        const size_t inBlock = (i - 1) % 20;
        if (inBlock < 6) {
            addLine(inBlock + 1, "資料 " + std::to_string(i));
            continue;
        }
        const std::string subfolder = list.folder + "d" + std::to_string(i / 1000) + "/";
        const std::string file = subfolder + "report_" + std::to_string(i) + kExtensions[i % 7];
        if (i % 2 == 0) {
            if (!complete) {
                std::filesystem::create_directories(subfolder);
                const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
                if (fd >= 0) ::close(fd);
            }
            addLine(7, file);
        } else {
            addLine(7, file + ".gone");
        }
    }
    if (!complete) {
        std::ofstream(list.path, std::ios::binary) << list.bytes;
        std::ofstream(marker) << "done\n";
    }
    return built[nodes] = std::move(list);
}

std::vector<std::string_view> floorReadLines(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0) {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
    }
    if (fd >= 0) ::close(fd);
    std::vector<std::string_view> lines;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    benchmark::DoNotOptimize(lines.data());
    return lines;  // the views dangle; only their count is looked at
}

size_t floorStat(const std::vector<std::string>& texts) {
    size_t found = 0;
    struct stat st;
    for (const std::string& text : texts) found += ::stat(text.c_str(), &st) == 0;
    return found;
}

void floorWrite(const std::string& path, const std::string& bytes, bool sync = false) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    if (sync) {
        std::fflush(file);
        ::fdatasync(::fileno(file));
    }
    std::fclose(file);
}

tarvelin::ListDocument readList(const std::string& path) {
    tarvelin::ListDocument document;
    tarvelin::readListDocument(document, path);
    return document;
}

tarvelin::ListDocument openList(const std::string& path) {
    tarvelin::ListDocument document = readList(path);
    tarvelin::assignIconsOnOpening(document.tree);
    return document;
}

// Seconds per run of each benchmark in this run, for the ratios.
std::map<std::string, double> g_seconds;

template <typename Job>
void timed(benchmark::State& state, const std::string& name, Job job) {
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        job();
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    g_seconds[name] = seconds / static_cast<double>(state.iterations());
}

void BM_FloorReadLines(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    timed(state, "FloorReadLines", [&] { benchmark::DoNotOptimize(floorReadLines(list.path).size()); });
}
BENCHMARK(BM_FloorReadLines)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FloorStat(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    timed(state, "FloorStat", [&] { benchmark::DoNotOptimize(floorStat(list.texts)); });
}
BENCHMARK(BM_FloorStat)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FloorWriteFwrite(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    const std::string path = list.folder + "floor.kxd";
    timed(state, "FloorWriteFwrite", [&] { floorWrite(path, list.bytes); });
}
BENCHMARK(BM_FloorWriteFwrite)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Saving a list waits for its bytes to reach the disk before the new file replaces the old one, so that a
// crash leaves the old list or the new one; this floor pays the same wait.
void BM_FloorWriteFwriteSync(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    const std::string path = list.folder + "floor.kxd";
    timed(state, "FloorWriteFwriteSync", [&] { floorWrite(path, list.bytes, true); });
}
BENCHMARK(BM_FloorWriteFwriteSync)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadList(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    timed(state, "ReadList", [&] { benchmark::DoNotOptimize(readList(list.path).tree.size()); });
}
BENCHMARK(BM_ReadList)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenList(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    timed(state, "OpenList", [&] { benchmark::DoNotOptimize(openList(list.path).tree.size()); });
}
BENCHMARK(BM_OpenList)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteList(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    tarvelin::ListDocument document = readList(list.path);
    const std::string path = list.folder + "written.kxd";
    timed(state, "WriteList", [&] { tarvelin::writeListDocument(document, path); });
}
BENCHMARK(BM_WriteList)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A list window on its own: the main window's side does nothing while a list opens.
class IdleHost final : public tarvelin::ListWindowHost {
public:
    void newList() override {}
    void openList() override {}
    void exitProgram() override {}
    void renameTab(tarvelin::TList*, const QString&) override {}
    void listWindowClosing(tarvelin::TList*) override {}
    bool fileOperationMode() const override { return false; }
    void openNestedList(const std::string&) override {}
    void showItemFolder(const std::string&, bool) override {}
    void leaveFileOperationMode() override {}
    void itemNotFound(const std::string&) override {}
};

// A list window of 800 x 600 with the real services, the list at `path` loaded, shown. The disk is asked
// through `probe`.
std::unique_ptr<tarvelin::TList> shownListWindow(const std::string& path,
                                                 tarvelin::PathProbe probe = tarvelin::pathKind) {
    static tarvelin::QtDialogs dialogs;
    static tarvelin::DesktopShell shell(dialogs);
    static tarvelin::SystemClock clock;
    static tarvelin::SystemBeeper beeper;
    static IdleHost host;
    const std::string folder = std::filesystem::temp_directory_path().string() + "/";
    tarvelin::Services services{dialogs, shell, clock, beeper, folder};
    services.pathProbe = std::move(probe);
    auto window = std::make_unique<tarvelin::TList>(services, host, tarvelin::kButtonFace);
    window->resize(800, 600);
    window->loadDocument(path);
    window->show();
    return window;
}

// Until the disk has answered for every icon: the answers come on worker threads after the window shows.
void settleIcons(const tarvelin::TList& window) {
    while (window.model()->iconsPending()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// What the user waits for when a list opens: the window made, the file read and the tree painted; the icons
// settle afterwards.
void openListWindow(const std::string& path, tarvelin::PathProbe probe = tarvelin::pathKind) {
    const auto shown = shownListWindow(path, std::move(probe));
    tarvelin::TList& window = *shown;
    QApplication::processEvents();
    window.repaint();
}

void BM_OpenListWindow(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    // The ratios of BM_ListRatios are those of the 100,000-node list.
    const std::string name =
        state.range(0) == 100000 ? "OpenListWindow" : "OpenListWindow/" + std::to_string(state.range(0));
    timed(state, name, [&] { openListWindow(list.path); });
}
BENCHMARK(BM_OpenListWindow)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_OpenListWindow)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// What the user waits for when the selected names of a file list land on a binder of an open list window: the
// nodes made under one insert, the binder opened and the tree painted. The drag's data is made beforehand, as
// the pane makes it when the drag starts.
struct DropRun {
    explicit DropRun(size_t names) {
        static const char* const kExtensions[] = {".txt", ".doc", ".jpg", ".xls", ".pdf", ".DOC", ".bmp"};
        std::vector<std::string> paths;
        paths.reserve(names);
        for (size_t i = 0; i < names; ++i)
            paths.push_back("/home/user/資料/report_" + std::to_string(i) + kExtensions[i % 7]);
        data.reset(tarvelin::makePaneDragData(paths, tarvelin::PathKind::File));
        source.setObjectName(QStringLiteral("FileListBox1"));  // the drag's origin, as the drop tells it
        tarvelin::setPaneDragSource(*data, source.objectName());
        listPath = std::filesystem::temp_directory_path().string() + "/tarvelin-bench-drop.kxd";
        std::ofstream(listPath, std::ios::binary) << "Root\r\n\tBinder\r\n\tOther\r\n";
    }
    std::unique_ptr<QMimeData> data;
    QObject source;
    std::string listPath;
};

double dropFilesIntoBinder(DropRun& run, benchmark::State* state) {
    const auto shown = shownListWindow(run.listPath);
    tarvelin::TList& window = *shown;
    QApplication::processEvents();
    window.repaint();
    const tarvelin::ListTree& tree = window.model()->tree();
    const tarvelin::NodeId binder = tree.children(tree.first()).front();
    const QPoint at = window.TreeView1->visualRect(window.model()->indexOf(binder)).center();
    if (state) state->ResumeTiming();
    const auto start = Clock::now();
    window.drops().drop(*run.data, &run.source, at);
    QApplication::processEvents();
    window.repaint();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (state) state->PauseTiming();
    const auto names = run.data->data(QString::fromLatin1(tarvelin::kPanePathsMime)).count('\0');
    if (static_cast<qsizetype>(tree.children(binder).size()) != names)
        std::fprintf(stderr, "DropFilesIntoBinder: the drop did not add every name\n");
    return seconds;
}

void BM_DropFilesIntoBinder(benchmark::State& state) {
    DropRun run(static_cast<size_t>(state.range(0)));
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        seconds += dropFilesIntoBinder(run, &state);
        state.ResumeTiming();
    }
    g_seconds["DropFilesIntoBinder"] = seconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DropFilesIntoBinder)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Ratios of the window benchmarks below to their floors, printed once when the program ends.
struct WindowRatioReport {
    std::map<std::string, std::string> lines;  // the last run of each
    ~WindowRatioReport() {
        for (const auto& [name, line] : lines) std::fprintf(stderr, "%s\n", line.c_str());
    }
} g_windowReport;

void reportRatio(benchmark::State& state, const std::string& name, double seconds,
                 const std::string& floorName, double floor, double target) {
    state.counters["ratio_to_floor"] = seconds / floor;
    char line[256];
    std::snprintf(line, sizeof line, "%s: %.1f ms = %.2f x %s %.1f ms (target <= %.1f)", name.c_str(),
                  seconds * 1e3, seconds / floor, floorName.c_str(), floor * 1e3, target);
    g_windowReport.lines[name] = line;
}

// The same names as file URLs from another program, on a volume that takes 50 ms to answer for each path:
// what the window's thread spends on the drop (the items come later, with the answers), beside the drop of
// the same names from a file list, which needs no disk.
void BM_DropUrisOnSlowVolume(benchmark::State& state) {
    DropRun run(static_cast<size_t>(state.range(0)));
    QMimeData uris;
    uris.setData(QStringLiteral("text/uri-list"), run.data->data(QStringLiteral("text/uri-list")));
    const auto slow = [](std::string_view text) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return tarvelin::pathKind(text);
    };
    double seconds = 0;
    for (auto _ : state) {
        const auto shown = shownListWindow(run.listPath, slow);
        QApplication::processEvents();
        shown->repaint();
        const tarvelin::ListTree& tree = shown->model()->tree();
        const QModelIndex binder = shown->model()->indexOf(tree.children(tree.first()).front());
        const auto start = Clock::now();
        shown->drops().drop(uris, nullptr, shown->TreeView1->visualRect(binder).center());
        QApplication::processEvents();
        shown->repaint();
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        seconds += took;
        state.SetIterationTime(took);
    }
    double floor = 1e9;
    for (int i = 0; i < 5; ++i) floor = std::min(floor, dropFilesIntoBinder(run, nullptr));
    reportRatio(state, "BM_DropUrisOnSlowVolume/" + std::to_string(state.range(0)),
                seconds / static_cast<double>(state.iterations()), "the same drop from a file list", floor,
                1.5);
}

// The same list on a volume that takes a millisecond to answer for each text, as a slow network mount does:
// the window shows as soon as on the local disk, the icons settle afterwards.
void BM_OpenListOnSlowVolume(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    const auto slow = [](std::string_view text) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return tarvelin::pathKind(text);
    };
    timed(state, "OpenListOnSlowVolume", [&] { openListWindow(list.path, slow); });
    const double local = tarvelin::bench::bestSeconds([&] { openListWindow(list.path); });
    const std::string name = "BM_OpenListOnSlowVolume/" + std::to_string(state.range(0));
    reportRatio(state, name, g_seconds["OpenListOnSlowVolume"],
                "BM_OpenListWindow/" + std::to_string(state.range(0)), local, 1.5);
    g_windowReport.lines[name] +=
        g_seconds["OpenListOnSlowVolume"] < 0.1 ? "; shown within 100 ms" : "; NOT shown within 100 ms";
}
BENCHMARK(BM_OpenListOnSlowVolume)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DropUrisOnSlowVolume)->Arg(200)->Unit(benchmark::kMillisecond)->UseManualTime();

// A list whose second node's text is `megabytes` MB long; the same bytes with a line end every 100 bytes
// are the floor's file.
std::pair<std::string, std::string> longLineLists(size_t megabytes) {
    const std::string folder = std::filesystem::temp_directory_path().string() + "/";
    const std::string path = folder + "tarvelin-bench-long-" + std::to_string(megabytes) + ".kxd";
    const std::string lines = folder + "tarvelin-bench-long-" + std::to_string(megabytes) + "-lines.kxd";
    std::string text(megabytes << 20, 'x');
    for (size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
    std::ofstream(path, std::ios::binary) << "R\r\n\t" << text << "\r\n";
    for (size_t i = 100; i < text.size(); i += 100) text[i] = '\n';
    std::ofstream(lines, std::ios::binary) << "R\r\n\t" << text << "\r\n";
    return {path, lines};
}

void BM_FloorReadLinesLong(benchmark::State& state) {
    const auto [path, lines] = longLineLists(static_cast<size_t>(state.range(0)));
    timed(state, "FloorReadLinesLong", [&] { benchmark::DoNotOptimize(floorReadLines(lines).size()); });
}
BENCHMARK(BM_FloorReadLinesLong)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

// A list holding a 10 MB node text opened in its window and painted: the tree shows a bounded part of it.
void BM_OpenListWithLongLine(benchmark::State& state) {
    const auto [path, lines] = longLineLists(static_cast<size_t>(state.range(0)));
    timed(state, "OpenListWithLongLine", [&] { openListWindow(path); });
    const double floor = g_seconds.contains("FloorReadLinesLong")
                             ? g_seconds["FloorReadLinesLong"]
                             : tarvelin::bench::bestSeconds([&] { floorReadLines(lines); });
    reportRatio(state, "BM_OpenListWithLongLine/" + std::to_string(state.range(0)),
                g_seconds["OpenListWithLongLine"], "BM_FloorReadLinesLong", floor, 3.0);
}
BENCHMARK(BM_OpenListWithLongLine)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

// "全てのバインダーを開く" on a list shown in its window, painted: one layout of the whole tree.
void BM_ExpandAllBinders(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    double seconds = 0;
    for (auto _ : state) {
        const auto shown = shownListWindow(list.path);
        tarvelin::TList& window = *shown;
        QApplication::processEvents();
        settleIcons(window);
        const auto start = Clock::now();
        window.N13Click();
        QApplication::processEvents();
        window.repaint();
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        seconds += took;
        state.SetIterationTime(took);
    }
    const std::string openName = "OpenListWindow/" + std::to_string(state.range(0));
    const double open = g_seconds.contains(openName)
                            ? g_seconds[openName]
                            : tarvelin::bench::bestSeconds([&] { openListWindow(list.path); }, 2);
    reportRatio(state, "BM_ExpandAllBinders/" + std::to_string(state.range(0)),
                seconds / static_cast<double>(state.iterations()), "BM_OpenListWindow", open, 1.0);
}
BENCHMARK(BM_ExpandAllBinders)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

// Figures of this run; any benchmark left out by a filter is timed here, best of five.
double secondsOf(const char* name, const std::function<void()>& job) {
    if (auto it = g_seconds.find(name); it != g_seconds.end()) return it->second;
    return tarvelin::bench::bestSeconds(job);
}

void BM_ListRatios(benchmark::State& state) {
    const BenchList& list = benchList(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const double readFloor = secondsOf("FloorReadLines", [&] { floorReadLines(list.path); });
        const double statFloor = secondsOf("FloorStat", [&] { floorStat(list.texts); });
        const double writeFloor =
            secondsOf("FloorWriteFwrite", [&] { floorWrite(list.folder + "floor.kxd", list.bytes); });
        const double syncFloor = secondsOf("FloorWriteFwriteSync",
                                           [&] { floorWrite(list.folder + "floor.kxd", list.bytes, true); });
        const double read = secondsOf("ReadList", [&] { readList(list.path); });
        const double open = secondsOf("OpenList", [&] { openList(list.path); });
        const double openWindow = secondsOf("OpenListWindow", [&] { openListWindow(list.path); });
        double drop = 0;
        if (auto it = g_seconds.find("DropFilesIntoBinder"); it != g_seconds.end()) {
            drop = it->second;
        } else {
            DropRun run(list.texts.size());
            drop = 1e9;
            for (int i = 0; i < 5; ++i) drop = std::min(drop, dropFilesIntoBinder(run, nullptr));
        }
        tarvelin::ListDocument document = readList(list.path);
        const double write = secondsOf(
            "WriteList", [&] { tarvelin::writeListDocument(document, list.folder + "written.kxd"); });
        document.tree.clear();

        // The tree's own heap: what the allocator holds with the tree minus without it, temporaries gone.
        const struct mallinfo2 before = mallinfo2();
        tarvelin::readListDocument(document, list.path);
        const struct mallinfo2 after = mallinfo2();
        const double treeBytes = static_cast<double>(after.uordblks + after.hblkhd) -
                                 static_cast<double>(before.uordblks + before.hblkhd);
        const double budget =
            2.5 * static_cast<double>(list.bytes.size()) + 64.0 * static_cast<double>(document.tree.size());

        state.counters["OpenRatio"] = open / (readFloor + statFloor);
        state.counters["OpenWindowRatio"] = openWindow / open;
        state.counters["DropRatio"] = drop / openWindow;
        state.counters["ReadRatio"] = read / readFloor;
        state.counters["WriteRatio"] = write / writeFloor;
        state.counters["WriteSyncRatio"] = write / syncFloor;
        state.counters["MemoryRatio"] = treeBytes / budget;
        std::fprintf(
            stderr,
            "lists: file %zu bytes, %zu nodes\n"
            "  OpenList %.1f ms = %.2f x (FloorReadLines %.1f ms + FloorStat %.1f ms)  target <= 1.0\n"
            "  OpenListWindow %.1f ms = %.2f x OpenList  target <= 1.5\n"
            "  DropFilesIntoBinder %.1f ms = %.2f x OpenListWindow  target <= 1.0\n"
            "  ReadList %.1f ms = %.2f x FloorReadLines\n"
            "  WriteList %.1f ms = %.2f x FloorWriteFwrite %.1f ms  target <= 2.0\n"
            "            = %.2f x FloorWriteFwriteSync %.1f ms (the same bytes made durable)\n"
            "  tree %.1f MB = %.2f x (2.5 x file + 64 B a node = %.1f MB)  target <= 1.0\n",
            list.bytes.size(), document.tree.size(), open * 1e3, open / (readFloor + statFloor),
            readFloor * 1e3, statFloor * 1e3, openWindow * 1e3, openWindow / open, drop * 1e3,
            drop / openWindow, read * 1e3, read / readFloor, write * 1e3, write / writeFloor,
            writeFloor * 1e3, write / syncFloor, syncFloor * 1e3, treeBytes / 1e6, treeBytes / budget,
            budget / 1e6);
    }
}
BENCHMARK(BM_ListRatios)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
