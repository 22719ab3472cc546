#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace tarvelin::bench {

// The best of several runs of job, in seconds: the figure least disturbed by other work on the machine.
template <typename Job>
double bestSeconds(Job&& job, int runs = 5) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        job();
        best =
            std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

// Runs job once per iteration of the benchmark and returns the mean time of one run, in seconds.
template <typename Job>
double meanSeconds(benchmark::State& state, Job&& job) {
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        job();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    return seconds / static_cast<double>(state.iterations());
}

}  // namespace tarvelin::bench
