#include "widgets/ui_font.h"

#include <QStringList>

#include "platform/font_config_preload.h"
#include "platform/installed_font_family.h"

namespace tarvelin {

const std::vector<std::string>& japaneseGothics() {
    static const std::vector<std::string> families{"IPAPGothic", "Noto Sans CJK JP", "IPAGothic"};
    return families;
}

QFont uiFont(int pixelSize) {
    // Decided once: the installed families do not change while the program runs. While the configuration is
    // still being read at start, waits for the reading about as long as reading it again would take; past
    // that the reading is starved of time, and the toolkit finds the font by the names.
    static const QString installed = FontConfigPreload::finishedWithin(std::chrono::milliseconds(10))
                                         ? QString::fromStdString(firstInstalledFontFamily(japaneseGothics()))
                                         : QString();
    QFont font(installed.isEmpty() ? QStringLiteral("ＭＳ Ｐゴシック") : installed);
    if (installed.isEmpty())
        font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                          QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace tarvelin
