// Apply colour settings reads eleven keys, each from the file afresh; the floor reads the same file eleven
// times.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "platform/file_io.h"
#include "settings/settings_file.h"

namespace {

const std::string& benchFolder() {
    static const std::string folder = [] {
        const auto dir = std::filesystem::temp_directory_path() / "tarvelin-bench-settings";
        std::filesystem::create_directories(dir);
        tarvelin::SettingsFile settings(dir.string() + "/");
        for (const auto& key : tarvelin::kColourKeys) settings.setColour(key.key, 0x00123456);
        settings.setWindowState("Normal");
        return dir.string() + "/";
    }();
    return folder;
}

void BM_ReadColourSettings(benchmark::State& state) {
    const tarvelin::SettingsFile settings(benchFolder());
    for (auto _ : state)
        for (const auto& key : tarvelin::kColourKeys) benchmark::DoNotOptimize(settings.colour(key.key));
}
BENCHMARK(BM_ReadColourSettings);

void BM_FloorReadSettingsFile11(benchmark::State& state) {
    const std::string path = tarvelin::SettingsFile::pathIn(benchFolder());
    for (auto _ : state)
        for (int i = 0; i < 11; ++i) benchmark::DoNotOptimize(tarvelin::readFileBytes(path, 1 << 20));
}
BENCHMARK(BM_FloorReadSettingsFile11);

}  // namespace
