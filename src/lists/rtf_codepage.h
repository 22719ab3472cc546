#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tarvelin {

inline constexpr int kCodePageJapanese = 932;
inline constexpr int kCodePageWestern = 1252;

// The Windows code page of an RTF font character set (\fcharsetN); defaultCodePage for "default" (1) and
// for sets we do not know.
int codePageOfCharset(int charset, int defaultCodePage);

// Converts between Windows code pages and Unicode, keeping one iconv handle per code page for the converter's
// life: a memo with a formatting change every few characters converts in many small pieces.
class CodePageConverter {
public:
    CodePageConverter() = default;
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    // Appends the text of `bytes` in the code page to out; a byte sequence that does not decode becomes
    // U+FFFD. An unknown code page reads as 1252.
    void decode(int codePage, std::string_view bytes, QString& out);
    // The CP932 bytes of one character (a surrogate pair counts as one), or empty when CP932 has none that
    // reads back as the same character.
    std::string encodeCp932(QStringView character);

private:
    void* handle(int codePage, bool encode);

    std::unordered_map<int, void*> m_decoders;
    void* m_cp932Encoder = nullptr;
};

}  // namespace tarvelin
