#include "lists/rtf_tokenizer.h"

#include <limits>

namespace tarvelin {
namespace {

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

RtfToken RtfTokenizer::next() {
    const size_t n = m_bytes.size();
    const auto at = [this](size_t i) { return static_cast<unsigned char>(m_bytes[i]); };
    RtfToken token;
    while (m_pos < n) {
        const unsigned char c = at(m_pos);
        if (c == '{') {
            ++m_pos;
            token.kind = RtfTokenKind::GroupStart;
            return token;
        }
        if (c == '}') {
            ++m_pos;
            token.kind = RtfTokenKind::GroupEnd;
            return token;
        }
        if (c == '\r' || c == '\n') {
            ++m_pos;
            continue;
        }
        if (c != '\\') {
            const size_t start = m_pos;
            while (m_pos < n) {
                const unsigned char d = at(m_pos);
                if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n') break;
                ++m_pos;
            }
            token.kind = RtfTokenKind::Text;
            token.text = m_bytes.substr(start, m_pos - start);
            return token;
        }
        // A backslash.
        if (m_pos + 1 >= n) {
            m_pos = n;
            break;
        }
        const unsigned char d = at(m_pos + 1);
        if (isLetter(d)) {
            const size_t start = m_pos + 1;
            m_pos = start;
            while (m_pos < n && isLetter(at(m_pos))) ++m_pos;
            token.kind = RtfTokenKind::Word;
            token.text = m_bytes.substr(start, m_pos - start);
            bool negative = false;
            if (m_pos + 1 < n && at(m_pos) == '-' && isDigit(at(m_pos + 1))) {
                negative = true;
                ++m_pos;
            }
            if (m_pos < n && isDigit(at(m_pos))) {
                std::int64_t value = 0;
                constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
                while (m_pos < n && isDigit(at(m_pos))) {
                    if (value < kLimit) value = value * 10 + (at(m_pos) - '0');
                    ++m_pos;
                }
                if (value > kLimit) value = kLimit;
                if (negative) value = -value;
                if (value > std::numeric_limits<std::int32_t>::max())
                    value = std::numeric_limits<std::int32_t>::max();
                token.param = static_cast<std::int32_t>(value);
                token.hasParam = true;
            }
            if (m_pos < n && at(m_pos) == ' ') ++m_pos;  // the delimiter belongs to the word
            return token;
        }
        if (d == '\'') {
            const int hi = m_pos + 2 < n ? hexValue(at(m_pos + 2)) : -1;
            const int lo = m_pos + 3 < n ? hexValue(at(m_pos + 3)) : -1;
            if (hi < 0 || lo < 0) {
                m_pos += hi < 0 ? 2 : 3;  // a broken escape: drop it and read on
                continue;
            }
            m_pos += 4;
            token.kind = RtfTokenKind::Hex;
            token.byte = static_cast<unsigned char>(hi * 16 + lo);
            return token;
        }
        m_pos += 2;
        if (d == '\r' || d == '\n') {  // a backslash before a line end is a paragraph mark
            token.kind = RtfTokenKind::Word;
            token.text = "par";
            return token;
        }
        token.kind = RtfTokenKind::Symbol;
        token.byte = d;
        return token;
    }
    token.kind = RtfTokenKind::End;
    return token;
}

std::string_view RtfTokenizer::takeBinary(std::uint64_t n) {
    const size_t take = n < m_bytes.size() - m_pos ? static_cast<size_t>(n) : m_bytes.size() - m_pos;
    const std::string_view data = m_bytes.substr(m_pos, take);
    m_pos += take;
    return data;
}

}  // namespace tarvelin
