#pragma once

#include <QString>
#include <string>

class QTextDocument;

namespace tarvelin {

// The document as RTF that rich-edit controls, word processors and readRtf read back: a CP932 header, a font
// table (Japanese fonts with the Japanese character set), a colour table, bold, italic, underline,
// strike-out, font, size and colour of every run, and \par after every paragraph. In a Japanese font a
// character CP932 holds is written as its bytes, every other non-ASCII character as \uN with "?" for readers
// that do not know \u.
std::string writeRtf(const QTextDocument& document);

// Whether a font family is a Japanese one, written with the Japanese character set (\fcharset128).
bool isJapaneseFamily(const QString& family);

}  // namespace tarvelin
