#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

// The encodings a text file of ours may be in. In memory every text is UTF-8; bytes that do not decode are
// kept as they are, so a file always writes back to the bytes it was read from.
enum class Encoding { Utf8, Cp932 };

struct DecodedText {
    std::string text;  // UTF-8, with undecodable bytes kept raw
    Encoding encoding = Encoding::Utf8;
    bool utf8Bom = false;  // the file began with EF BB BF (not part of text)
};

// What bytes are as text, found in one pass: plain ASCII, other valid UTF-8, or neither.
enum class TextForm { Ascii, Utf8, Other };
TextForm textForm(std::string_view bytes);
// The same for the bytes up to the first NUL, in the same pass; end is set to the offset of that NUL (the
// size when there is none) unless the form is Other.
TextForm textFormToNul(std::string_view bytes, size_t& end);
bool isValidUtf8(std::string_view bytes);

// UTF-8 when the bytes are valid UTF-8, otherwise CP932 (files made on Windows). Plain ASCII takes the system
// encoding, since it reads the same in both. keptRaw as for cp932ToUtf8.
DecodedText decodeText(std::string_view bytes, std::vector<size_t>* keptRaw = nullptr);
// decodeText for bytes known to be valid UTF-8 and no longer needed: they move into the text without a copy.
DecodedText takeUtf8Text(std::string&& bytes);
// The same when the form of the bytes (Ascii or Utf8) is known already.
DecodedText takeUtf8Text(std::string&& bytes, TextForm form);

// CP932 bytes to UTF-8; a byte sequence that is not CP932 is copied unchanged, and the offsets of the bytes
// so kept are added to keptRaw when given.
std::string cp932ToUtf8(std::string_view bytes, std::vector<size_t>* keptRaw = nullptr);

// A name or path as the user reads it, in UTF-8. Each part between "/" is taken as it is when it is valid
// UTF-8 and read as CP932 otherwise (names made on Windows), so one such folder does not garble the rest.
// Only for showing: the bytes themselves are what the program keeps.
std::string displayUtf8(std::string_view bytes);

// UTF-8 to CP932; nullopt when a character has no CP932 form. Bytes that are not valid UTF-8 are copied
// unchanged.
std::optional<std::string> utf8ToCp932(std::string_view text);

// utf8ToCp932 for many texts in a row, opening the converter once.
class Cp932Encoder {
public:
    Cp932Encoder();
    ~Cp932Encoder();
    Cp932Encoder(const Cp932Encoder&) = delete;
    Cp932Encoder& operator=(const Cp932Encoder&) = delete;

    // Appends the CP932 form of text to out; false when a character has none (out then holds a part).
    bool append(std::string_view text, std::string& out);

private:
    void* m_cd;
};

struct EncodedText {
    std::string bytes;
    Encoding encoding;  // what was actually used
};

// Encodes in the wanted encoding; a text CP932 cannot hold is written as UTF-8 rather than lose a character.
EncodedText encodeText(std::string_view text, Encoding wanted, bool utf8Bom = false);

// The encoding for new files: CP932 when TARVELIN2_CODEPAGE=932 or the locale's codeset is Shift-JIS,
// otherwise UTF-8 (also for an ASCII locale, which could not hold Japanese names).
Encoding systemEncoding();

}  // namespace tarvelin
