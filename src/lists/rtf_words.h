#pragma once

#include <cstdint>
#include <string_view>

namespace tarvelin {

// The RTF control words the memo reader acts on; every other word is ignored.
// clang-format off
enum class RtfWord : std::uint8_t {
    Ansi, AnsiCpg, Mac, Pc, Pca, Deff,
    FontTable, ColourTable, Font, Charset, CodePage, Red, Green, Blue,
    Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Colour, Plain,
    Par, Character, Unicode, UnicodeSkip, Bin,
    LowAnsi, HighAnsi, DoubleByte, RightToLeft, LeftToRight, AssocFont, AssocSize, AssocBold, AssocItalic,
    Skipped,  // a destination whose text is not part of the note
};
// clang-format on

struct RtfWordInfo {
    RtfWord word;
    char16_t character = 0;  // Character: the character the word stands for
};

// The word's meaning, or nullptr for a word the reader ignores.
const RtfWordInfo* findRtfWord(std::string_view word);

}  // namespace tarvelin
