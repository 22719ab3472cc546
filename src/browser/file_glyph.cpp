#include "browser/file_glyph.h"

#include <array>
#include <string>

namespace tarvelin {

FileGlyph fileGlyph(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot != 4) return FileGlyph::Document;
    std::string extension(name.substr(dot));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    static constexpr std::array<std::string_view, 4> kProgramExtensions = {".exe", ".com", ".bat", ".pif"};
    for (std::string_view program : kProgramExtensions)
        if (extension == program) return FileGlyph::Program;
    return FileGlyph::Document;
}

}  // namespace tarvelin
