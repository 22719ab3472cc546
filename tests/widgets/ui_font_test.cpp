#include "widgets/ui_font.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <cstdlib>

#include "support/temp_folder.h"

namespace tarvelin {
namespace {

bool asksForTheWindowsNameThenTheOthers(const QFont& font) {
    const QStringList expected{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                               QStringLiteral("Noto Sans CJK JP")};
    return font.families() == expected && font.pixelSize() == 15;
}

// With none of the Japanese Gothics installed, the font asks for the Windows name with the others in order,
// so that fontconfig does not answer a fixed-width Gothic. A fresh process: the lookup is made once.
TEST(UiFontDeathTest, WithNoGothicInstalledAsksForTheWindowsNameThenTheOthers) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempFolder dir;
    dir.write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
    EXPECT_EXIT(
        {
            ::setenv("FONTCONFIG_FILE", dir.file("fonts.conf").c_str(), 1);
            std::_Exit(asksForTheWindowsNameThenTheOthers(uiFont(15)) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// The system's configuration with one rule of its own after it, as a user's or a distribution's would be.
TEST(UiFontDeathTest, DropsHintingWhereTheConfigurationHintsTheGothicSlightlyAtMost) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* edit;
        QFont::HintingPreference expected;
    } cases[] = {
        {"<edit name=\"hintstyle\" mode=\"assign\"><const>hintslight</const></edit>", QFont::PreferNoHinting},
        {"<edit name=\"hintstyle\" mode=\"assign\"><const>hintnone</const></edit>", QFont::PreferNoHinting},
        {"<edit name=\"hintstyle\" mode=\"assign\"><const>hintmedium</const></edit>",
         QFont::PreferDefaultHinting},
        {"<edit name=\"hintstyle\" mode=\"assign\"><const>hintfull</const></edit>",
         QFont::PreferDefaultHinting},
        {"<edit name=\"hintstyle\" mode=\"assign\"><const>hintfull</const></edit>"
         "<edit name=\"hinting\" mode=\"assign\"><bool>false</bool></edit>",
         QFont::PreferNoHinting},
    };
    for (const auto& c : cases) {
        test::TempFolder dir;
        dir.write("fonts.conf", std::string("<?xml version=\"1.0\"?>\n<fontconfig>"
                                            "<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                                            "<match target=\"font\">") +
                                    c.edit + "</match></fontconfig>\n");
        EXPECT_EXIT(
            {
                ::setenv("FONTCONFIG_FILE", dir.file("fonts.conf").c_str(), 1);
                const QFont font = uiFont(12);
                std::_Exit(font.family() == QStringLiteral("IPAPGothic") &&
                                   font.hintingPreference() == c.expected
                               ? 0
                               : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << c.edit;
    }
}

}  // namespace
}  // namespace tarvelin
