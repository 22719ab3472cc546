#pragma once

#include <string>
#include <vector>

namespace tarvelin {

// The first of `families` that fontconfig has installed (matched as fontconfig matches family names), or an
// empty string when it has none of them. Reads the font configuration if no one has yet.
std::string firstInstalledFontFamily(const std::vector<std::string>& families);

// Whether the font configuration renders `family` with its outlines hinted at most slightly (no hinting, or
// the slight style, which only moves them vertically), as the toolkit reads it; false where it asks for more,
// or says nothing and leaves the toolkit to the desktop's setting.
bool hintsSlightlyAtMost(const std::string& family);

}  // namespace tarvelin
