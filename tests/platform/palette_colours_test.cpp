#include "platform/palette_colours.h"

#include <gtest/gtest.h>

namespace tarvelin {
namespace {

TEST(PaletteColours, RgbIsTakenAsItIsAndSchemeColoursFromThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Text, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::Button, QColor(7, 8, 9));
    palette.setColor(QPalette::Active, QPalette::ToolTipText, QColor(10, 11, 12));
    palette.setColor(QPalette::Active, QPalette::ToolTipBase, QColor(13, 14, 15));
    const std::pair<ColourValue, QColor> cases[] = {
        {255, QColor(255, 0, 0)},
        {0x00FF0000, QColor(0, 0, 255)},
        {0x00123456, QColor(0x56, 0x34, 0x12)},
        {fromStored(-2147483643), QColor(1, 2, 3)},  // window background
        {kWindowText, QColor(4, 5, 6)},
        {kButtonFace, QColor(7, 8, 9)},
        {kTooltipText, QColor(10, 11, 12)},
        {kTooltipBackground, QColor(13, 14, 15)},
        {kSystemColourFlag | 200, QColor(1, 2, 3)},  // unknown index: the window background
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(toQColor(value, palette), expected) << std::hex << value;
    EXPECT_EQ(fromQColor(QColor(0x56, 0x34, 0x12)), 0x00123456u);
}

}  // namespace
}  // namespace tarvelin
