#pragma once

#include <QFont>
#include <QString>
#include <thread>

namespace tarvelin {

// Measures a sample text in a font on a helper thread while the windows are built, so that what the toolkit
// shares between threads (the font list, the family match, any fallback lists) is ready when the GUI thread
// first lays out text; font engines, glyphs and shaping data are per thread. Start it after the font
// substitutions are in place, so that it resolves the font the windows will.
class FontWarmUp {
public:
    FontWarmUp(const QFont& font, const QString& sample);
    // Waits for the helper: it uses the application's font database, which must outlive it.
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // The family the helper resolved; empty until it has finished. For tests.
    QString resolvedFamily();

private:
    std::thread m_thread;
    QString m_family;
};

}  // namespace tarvelin
