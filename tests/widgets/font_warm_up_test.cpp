#include "widgets/font_warm_up.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include "widgets/ui_font.h"

namespace tarvelin {
namespace {

TEST(FontWarmUp, ResolvesOnItsThreadTheFamilyTheWindowsGet) {
    // A substitution the helper must honour, as the program's own for the Windows font name.
    QFont::insertSubstitution(QStringLiteral("Warm-up test family"), QStringLiteral("IPAPGothic"));
    QFont font(QStringLiteral("Warm-up test family"));
    font.setPixelSize(12);
    FontWarmUp warmUp(font, QStringLiteral("デスクトップ 12:00"));
    const QString helperFamily = warmUp.resolvedFamily();
    EXPECT_EQ(helperFamily, QFontInfo(font).family());
    EXPECT_EQ(helperFamily, QStringLiteral("IPAPGothic"));
}

}  // namespace
}  // namespace tarvelin
