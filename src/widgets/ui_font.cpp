#include "widgets/ui_font.h"

#include <QStringList>

#include "platform/installed_font_family.h"

namespace tarvelin {

QFont uiFont(int pixelSize) {
    // Asked once: the installed families do not change while the program runs.
    static const QString installed =
        QString::fromStdString(firstInstalledFontFamily({"IPAPGothic", "Noto Sans CJK JP", "IPAGothic"}));
    QFont font(installed.isEmpty() ? QStringLiteral("ＭＳ Ｐゴシック") : installed);
    if (installed.isEmpty())
        font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                          QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace tarvelin
