#include "widgets/ui_font.h"

#include <QStringList>

#include "platform/font_config_preload.h"
#include "platform/installed_font_family.h"

namespace tarvelin {

const std::vector<std::string>& japaneseGothics() {
    static const std::vector<std::string> families{"IPAPGothic", "Noto Sans CJK JP", "IPAGothic"};
    return families;
}

namespace {

struct InstalledGothic {
    QString family;
    bool unhinted = false;
};

const InstalledGothic& installedGothic() {
    static const InstalledGothic gothic = [] {
        const std::string family = firstInstalledFontFamily(japaneseGothics());
        return InstalledGothic{QString::fromStdString(family),
                               !family.empty() && hintsSlightlyAtMost(family)};
    }();
    return gothic;
}

}  // namespace

void findUiFont() {
    (void)installedGothic();
}

QFont uiFont(int pixelSize) {
    // Decided once: the installed families do not change while the program runs. While the configuration is
    // still being read at start, waits for the reading about as long as reading it again would take; past
    // that the reading is starved of time, and the toolkit finds the font by the names.
    static const InstalledGothic gothic = FontConfigPreload::finishedWithin(std::chrono::milliseconds(10))
                                              ? installedGothic()
                                              : InstalledGothic{};
    QFont font(gothic.family.isEmpty() ? QStringLiteral("ＭＳ Ｐゴシック") : gothic.family);
    if (gothic.family.isEmpty())
        font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                          QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    // Slight hinting only moves the outlines vertically, and leaves these Gothics' glyphs looking as they do
    // unhinted; hinting each glyph as it is first loaded was a third of the first frame's text work.
    if (gothic.unhinted) font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace tarvelin
