#include "platform/font_config_preload.h"

#include <fontconfig/fontconfig.h>

#include <QFont>
#include <QFontMetrics>
#include <system_error>

namespace tarvelin {

FontConfigPreload::FontConfigPreload() {
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to spare: the toolkit reads the fonts itself when it first needs one.
    }
}

FontConfigPreload::~FontConfigPreload() {
    finish();
}

void FontConfigPreload::run() {
    // The loaded configuration becomes the process's current one; the toolkit's own FcInit() then finds it.
    FcInit();
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stage != Stage::WaitingForSamples; });
    if (m_stage == Stage::Cancelled) return;
    const std::vector<Sample> samples = std::move(m_samples);
    lock.unlock();
    for (const Sample& sample : samples) {
        // A font of this thread's own: the main thread's fonts share data that measuring writes to.
        QFont font;
        font.setFamilies(sample.families);
        font.setPixelSize(sample.pixelSize);
        QFontMetrics(font).horizontalAdvance(sample.text);
    }
}

void FontConfigPreload::matchFonts(std::vector<Sample> samples) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_stage != Stage::WaitingForSamples) return;
        m_samples = std::move(samples);
        m_stage = Stage::Matching;
    }
    m_wake.notify_one();
}

void FontConfigPreload::finish() {
    {
        const std::lock_guard lock(m_mutex);
        if (m_stage == Stage::WaitingForSamples) m_stage = Stage::Cancelled;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace tarvelin
