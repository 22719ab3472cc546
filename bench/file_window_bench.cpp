// How long the window goes without handling events while the file-operation runner copies a 1 GB file: the
// runner's nested event loop keeps a 1 ms timer ticking, and the longest gap between ticks is the longest
// pause a user could see (target under 50 ms).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "browser/file_operation_dialogs.h"
#include "browser/file_operation_runner.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string bigFile(int megabytes) {
    const std::string folder = (fs::temp_directory_path() / "tarvelin-bench-fileops").string();
    const std::string path = folder + "/big-" + std::to_string(megabytes) + ".bin";
    std::error_code ec;
    if (fs::file_size(path, ec) == static_cast<uintmax_t>(megabytes) << 20) return path;
    fs::create_directories(folder);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string block(size_t{1} << 20, '\0');
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7 + i / 4096);
    for (int i = 0; i < megabytes; ++i) out << block;
    return path;
}

class NoQuestions final : public tarvelin::FileOperationDialogs {
public:
    bool confirm(const QString&) override { return true; }
    void message(const QString&) override {}
    tarvelin::ConflictAnswer conflict(const tarvelin::FileConflict&) override { return {}; }
    tarvelin::ErrorChoice error(const QString&) override { return tarvelin::ErrorChoice::Cancel; }
};

struct PauseReport {
    std::string line;
    ~PauseReport() {
        if (!line.empty()) std::fprintf(stderr, "%s\n", line.c_str());
    }
} g_pauseReport;

void BM_WindowPauseDuringCopy(benchmark::State& state) {
    const int megabytes = static_cast<int>(state.range(0));
    const std::string source = bigFile(megabytes);
    const std::string into = (fs::temp_directory_path() / "tarvelin-bench-fileops/pause-target").string();
    // Like the main window, it already shows Japanese text, so its font is loaded before the copy starts.
    QWidget window;
    window.resize(400, 300);
    auto* label = new QLabel(QStringLiteral("ファイル操作モード切り替え"), &window);
    label->move(10, 10);
    window.show();
    QApplication::processEvents();
    NoQuestions dialogs;
    tarvelin::FileOperationRunner runner(dialogs, &window);
    double longest = 0;
    for (auto _ : state) {
        fs::remove_all(into);
        fs::create_directories(into);
        auto last = Clock::now();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &window, [&] {
            const auto now = Clock::now();
            const double gap = std::chrono::duration<double>(now - last).count();
            longest = std::max(longest, gap);
            last = now;
            window.update();
        });
        tick.start(1);
        const auto outcome = runner.run({tarvelin::FileOperation::Copy, {source}, into});
        tick.stop();
        if (!outcome.complete()) state.SkipWithError("the copy did not complete");
    }
    fs::remove_all(into);
    state.counters["longest_pause_ms"] = longest * 1e3;
    char line[160];
    std::snprintf(line, sizeof line, "BM_WindowPauseDuringCopy/%d: longest pause %.1f ms (target < 50 ms)",
                  megabytes, longest * 1e3);
    g_pauseReport.line = line;
}
BENCHMARK(BM_WindowPauseDuringCopy)->Arg(1024)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
