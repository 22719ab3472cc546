#include "browser/file_glyph.h"
#include "platform/item_path.h"

#include <array>
#include <string>

namespace tarvelin {

FileGlyph fileGlyph(std::string_view name) {
    std::string extension(extensionOf(name));
    if (extension.size() != 4) return FileGlyph::Document;
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    static constexpr std::array<std::string_view, 4> kProgramExtensions = {".exe", ".com", ".bat", ".pif"};
    for (std::string_view program : kProgramExtensions)
        if (extension == program) return FileGlyph::Program;
    return FileGlyph::Document;
}

}  // namespace tarvelin
