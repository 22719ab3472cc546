#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarvelin {

enum class RtfTokenKind : std::uint8_t {
    GroupStart,  // {
    GroupEnd,    // }
    Word,        // \letters with an optional signed number
    Symbol,      // \ and one other character; \\ \{ \} included
    Hex,         // \'xx
    Text,        // a run of plain bytes; line ends are dropped
    End,
};

struct RtfToken {
    RtfTokenKind kind = RtfTokenKind::End;
    std::string_view text;  // Word: its letters; Text: the bytes
    std::int32_t param = 0;
    bool hasParam = false;
    unsigned char byte = 0;  // Symbol: the character; Hex: the value
};

// Splits RTF bytes into tokens. Never allocates, never reads past the input; a number too long for 32 bits
// saturates, a broken \' escape is dropped.
class RtfTokenizer {
public:
    explicit RtfTokenizer(std::string_view bytes) : m_bytes(bytes) {}

    RtfToken next();
    // The binary data that follows \binN: up to n bytes, fewer at the end of the input.
    std::string_view takeBinary(std::uint64_t n);

private:
    std::string_view m_bytes;
    size_t m_pos = 0;
};

}  // namespace tarvelin
