#include "platform/font_config_preload.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

#include "platform/idle_priority.h"

namespace tarvelin {
namespace {

std::atomic<int> g_readings{0};

}  // namespace

FontConfigPreload::FontConfigPreload() {
    ++g_readings;
    try {
        m_thread = std::thread([done = m_done] {
            runThisThreadAtIdlePriority();
            // The loaded configuration becomes the process's current one; the toolkit's FcInit() then finds
            // it.
            FcInit();
            *done = true;
            --g_readings;
        });
    } catch (const std::system_error&) {
        --g_readings;
        // No thread to spare: the toolkit reads the configuration itself when it first needs a font.
    }
}

bool FontConfigPreload::reading() {
    return g_readings > 0;
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
