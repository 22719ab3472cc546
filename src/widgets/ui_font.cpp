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
    // Decided once: the installed families do not change while the program runs. Not asked while the
    // configuration is still being read at start, which would hold up the windows for a second reading; the
    // toolkit then finds the font by the names.
    static const QString installed =
        FontConfigPreload::reading() ? QString()
                                     : QString::fromStdString(firstInstalledFontFamily(japaneseGothics()));
    QFont font(installed.isEmpty() ? QStringLiteral("ＭＳ Ｐゴシック") : installed);
    if (installed.isEmpty())
        font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                          QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace tarvelin
