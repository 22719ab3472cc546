#pragma once

#include <cstddef>
#include <string_view>

class QTextDocument;

namespace tarvelin {

// Groups nested deeper than this keep their text but not their formatting: no note comes near it, and the
// group stack stays small whatever the input.
inline constexpr size_t kMaxRtfDepth = 1000;
// A font table keeps this many fonts, far more than any note uses; fonts past them read as the default font,
// and the table stays small whatever the input.
inline constexpr size_t kMaxRtfFonts = 65536;

// True when the bytes begin as an RTF file does ("{\rtf").
bool looksLikeRtf(std::string_view bytes);

// Replaces the document's content with the RTF's text and character formatting: bold, italic, underline,
// strike-out, font, size, colour, paragraphs, line breaks and tabs. Bytes that are not RTF are read as plain
// text (UTF-8 when valid, else CP932). Any input reads without crashing, in time and memory linear in its
// size; damaged RTF reads as far as it goes. The undo history is cleared.
void readRtf(std::string_view bytes, QTextDocument& document);

}  // namespace tarvelin
