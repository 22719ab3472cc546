#include "platform/font_config_preload.h"

#include <fontconfig/fontconfig.h>

#include <condition_variable>
#include <mutex>
#include <system_error>

#include "platform/idle_priority.h"

namespace tarvelin {
namespace {

struct Readings {
    std::mutex mutex;
    std::condition_variable finished;
    int underWay = 0;
};

// Never destroyed: a reading left to finish by itself may end after the program's static objects are gone.
Readings& readings() {
    static auto* const readings = new Readings;
    return *readings;
}

void beginReading() {
    const std::lock_guard lock(readings().mutex);
    ++readings().underWay;
}

void endReading() {
    {
        const std::lock_guard lock(readings().mutex);
        --readings().underWay;
    }
    readings().finished.notify_all();
}

}  // namespace

FontConfigPreload::FontConfigPreload(std::function<void()> thenAsk) {
    beginReading();
    try {
        m_thread = std::thread([done = m_done, thenAsk = std::move(thenAsk)] {
            runThisThreadAtIdlePriority();
            // The loaded configuration becomes the process's current one; the toolkit's FcInit() then finds
            // it.
            FcInit();
            if (thenAsk) thenAsk();
            *done = true;
            endReading();
        });
    } catch (const std::system_error&) {
        endReading();
        // No thread to spare: the toolkit reads the configuration itself when it first needs a font.
    }
}

bool FontConfigPreload::finishedWithin(std::chrono::milliseconds limit) {
    std::unique_lock lock(readings().mutex);
    return readings().finished.wait_for(lock, limit, [] { return readings().underWay == 0; });
}

FontConfigPreload::~FontConfigPreload() {
    if (!m_thread.joinable()) return;
    // Starved of time by a busy machine, an idle thread could hold up the end of the program.
    if (*m_done)
        m_thread.join();
    else
        m_thread.detach();
}

}  // namespace tarvelin
