#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace tarvelin {

// Reads the system's font configuration (some fifty XML files and the font caches) on a helper thread at idle
// priority while the display connection is made, so that the first text measured finds it read. Asked for a
// font before, the toolkit reads the configuration itself, and whichever finishes first is kept.
class FontConfigPreload {
public:
    // `thenAsk` runs on the helper once the configuration is read, as part of the reading.
    explicit FontConfigPreload(std::function<void()> thenAsk = {});
    // Waits for a reading that has finished; one that has not is left to finish by itself.
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    // Whether no reading is under way by the end of `limit`: waits for one that has started and not finished.
    // Asking fontconfig meanwhile would read the whole configuration a second time, on the asker's thread.
    static bool finishedWithin(std::chrono::milliseconds limit);

private:
    std::shared_ptr<std::atomic<bool>> m_done = std::make_shared<std::atomic<bool>>(false);
    std::thread m_thread;
};

}  // namespace tarvelin
