#include "widgets/font_warm_up.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <system_error>

namespace tarvelin {

FontWarmUp::FontWarmUp(const QFont& font, const QString& sample) {
    try {
        m_thread = std::thread([this, font, sample] {
            QFontMetrics(font).horizontalAdvance(sample);
            m_family = QFontInfo(font).family();
        });
    } catch (const std::system_error&) {
        // No thread to spare: the GUI thread resolves the font when it first needs it.
    }
}

FontWarmUp::~FontWarmUp() {
    if (m_thread.joinable()) m_thread.join();
}

QString FontWarmUp::resolvedFamily() {
    if (m_thread.joinable()) m_thread.join();
    return m_family;
}

}  // namespace tarvelin
