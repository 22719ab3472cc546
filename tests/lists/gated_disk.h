#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/services.h"

namespace tarvelin::test {

// The real file system behind a gate: texts under `held` wait until it opens; every question is counted and
// the window's thread must never ask.
struct GatedDisk {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::string held;  // a folder whose texts wait; empty: every text waits
    std::atomic<int> asked = 0;
    std::atomic<int> askedOnTheWindowsThread = 0;
    std::thread::id windowThread = std::this_thread::get_id();

    PathKind probe(std::string_view text) {
        ++asked;
        if (std::this_thread::get_id() == windowThread) ++askedOnTheWindowsThread;
        if (held.empty() || text.starts_with(held)) {
            std::unique_lock lock(mutex);
            opened.wait(lock, [&] { return open; });
        }
        return pathKind(text);
    }
    void release() {
        const std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};

// The services with their disk questions going through `disk`.
inline Services withGatedDisk(Services services, std::shared_ptr<GatedDisk> disk) {
    services.pathProbe = [disk = std::move(disk)](std::string_view text) { return disk->probe(text); };
    return services;
}

}  // namespace tarvelin::test
