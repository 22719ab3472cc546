#pragma once

#include <string>
#include <vector>

namespace tarvelin {

// The first of `families` that fontconfig has installed (matched as fontconfig matches family names), or an
// empty string when it has none of them. Reads the font configuration if no one has yet.
std::string firstInstalledFontFamily(const std::vector<std::string>& families);

}  // namespace tarvelin
