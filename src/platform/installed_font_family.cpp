#include "platform/installed_font_family.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace tarvelin {
namespace {

bool isInstalled(const std::string& family) {
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                          FcPatternDestroy);
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

}  // namespace tarvelin
