#include <gtest/gtest.h>

#include "settings/colour_box.h"
#include "support/fake_services.h"

namespace tarvelin {
namespace {

using test::Call;
using test::FakeDialogs;

TEST(ColourBox, ShowsANamedColourByItsEntryAndAnyOtherAsTheCustomEntry) {
    FakeDialogs dialogs;
    ColourBox box(dialogs);
    EXPECT_EQ(box.count(), 1 + 16 + 4 + 30);
    EXPECT_EQ(box.itemText(0), "カスタム...");
    struct Case {
        ColourValue value;
        QString shown;
    };
    const std::vector<Case> cases{
        {rgbColour(255, 0, 0), "Red"},
        {rgbColour(0, 0, 0), "Black"},
        {rgbColour(160, 160, 164), "Medium Gray"},
        {kWindowBackground, "Window"},
        {kTooltipBackground, "Info Background"},
        {kSystemColourFlag | 30, "Menu Bar"},
        {rgbColour(1, 2, 3), "カスタム..."},
        {kSystemColourFlag | 25, "カスタム..."},
        {0x01000000u, "カスタム..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        box.setColour(c.value);
        EXPECT_EQ(box.currentText(), c.shown);
        EXPECT_EQ(box.colour(), c.value);
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST(ColourBox, TheCustomEntryAsksForAColourAndKeepsTheOldChoiceWhenCancelled) {
    FakeDialogs dialogs;
    ColourBox box(dialogs);
    const auto pick = [&](int index) {
        box.setCurrentIndex(index);
        emit box.activated(index);
    };
    box.setColour(rgbColour(0, 255, 0));
    dialogs.colourAnswers = {std::nullopt, rgbColour(1, 2, 3), rgbColour(0, 0, 255)};
    pick(ColourBox::kCustomEntry);
    EXPECT_EQ(box.currentText(), "Lime");
    pick(ColourBox::kCustomEntry);
    EXPECT_EQ(box.currentText(), "カスタム...");
    EXPECT_EQ(box.colour(), rgbColour(1, 2, 3));
    pick(ColourBox::kCustomEntry);  // a chosen colour that has a name shows by its name
    EXPECT_EQ(box.currentText(), "Blue");
    EXPECT_EQ(dialogs.calls,
              (std::vector<Call>{
                  {"chooseColour", {"ff00"}}, {"chooseColour", {"ff00"}}, {"chooseColour", {"30201"}}}));
    pick(box.findText("White"));
    EXPECT_EQ(box.colour(), rgbColour(255, 255, 255));
    EXPECT_EQ(dialogs.calls.size(), 3u);
}

}  // namespace
}  // namespace tarvelin
