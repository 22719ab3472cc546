#pragma once

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

}  // namespace tarvelin::bench
