#pragma once

#include <string_view>

namespace tarvelin {

enum class FileGlyph { Document, Program };

// Program for the extensions ".exe", ".com", ".bat" and ".pif" in any letter case; Document for every other
// name. The extension is the part from the name's last ".".
FileGlyph fileGlyph(std::string_view name);

}  // namespace tarvelin
