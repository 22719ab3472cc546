#pragma once

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace tarvelin {

// Reads fonts ahead on a second thread while the main thread connects to the display and shows the splash:
// first the system's font configuration (some fifty XML files and the font caches), then, once the
// application object exists, the toolkit's list of fonts and the fallbacks of the fonts the windows use. Both
// are kept process-wide, so the first text measured on the main thread finds them ready.
class FontConfigPreload {
public:
    struct Sample {
        QStringList families;
        int pixelSize = 12;
        QString text;  // characters of each script the windows show: each script has its own fallbacks
    };

    // Before the application object: the configuration is read at once.
    FontConfigPreload();
    // Takes back what has not started, and waits for the rest.
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    // Once the application object exists; only the first call counts.
    void matchFonts(std::vector<Sample> samples);
    // Before the application object goes: the toolkit's fonts must not be asked for after it.
    void finish();

private:
    enum class Stage { WaitingForSamples, Matching, Cancelled };
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    Stage m_stage = Stage::WaitingForSamples;
    std::vector<Sample> m_samples;
    std::thread m_thread;
};

}  // namespace tarvelin
