#include "platform/installed_font_family.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace tarvelin {
namespace {

using Pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

bool isInstalled(const std::string& family) {
    const Pattern pattern(FcPatternCreate(), FcPatternDestroy);
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, nullptr), FcObjectSetDestroy);
    if (!pattern || !objects ||
        !FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str())))
        return false;
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, pattern.get(), objects.get()), FcFontSetDestroy);
    return fonts && fonts->nfont > 0;
}

}  // namespace

std::string firstInstalledFontFamily(const std::vector<std::string>& families) {
    for (const std::string& family : families)
        if (!family.empty() && isInstalled(family)) return family;
    return {};
}

bool hintsSlightlyAtMost(const std::string& family) {
    const Pattern pattern(FcPatternCreate(), FcPatternDestroy);
    if (!pattern ||
        !FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str())))
        return false;
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, pattern.get(), &result), FcPatternDestroy);
    if (!match) return false;
    FcBool hinting = FcTrue;
    if (FcPatternGetBool(match.get(), FC_HINTING, 0, &hinting) == FcResultMatch && !hinting) return true;
    int style = FC_HINT_FULL;
    return FcPatternGetInteger(match.get(), FC_HINT_STYLE, 0, &style) == FcResultMatch &&
           style <= FC_HINT_SLIGHT;
}

}  // namespace tarvelin
