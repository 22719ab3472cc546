#include "platform/installed_font_family.h"

#include <gtest/gtest.h>

namespace tarvelin {
namespace {

// The test machines have fonts-ipafont-gothic, as the program's install script puts it there.
TEST(FirstInstalledFontFamily, AnswersTheFirstFamilyFontconfigHas) {
    const struct {
        std::vector<std::string> families;
        std::string expected;
    } cases[] = {
        {{"Tarvelin No Such Family", "IPAPGothic", "IPAGothic"}, "IPAPGothic"},
        {{"IPAGothic", "IPAPGothic"}, "IPAGothic"},
        // An empty name would match every font.
        {{"", "Tarvelin No Such Family"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstInstalledFontFamily(c.families), c.expected) << c.families.size();
}

}  // namespace
}  // namespace tarvelin
