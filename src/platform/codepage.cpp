#include "platform/codepage.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tarvelin {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are not one.
size_t utf8SequenceLength(std::string_view s, size_t i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    size_t len;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (size_t k = 2; k < len; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    return len;
}

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as possible, appending to `out`. Returns the number of input bytes consumed;
    // stops at the first byte sequence that cannot be converted.
    size_t convert(std::string_view in, std::string& out) {
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) break;
        }
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return in.size() - srcLeft;
    }

private:
    iconv_t m_cd;
};

}  // namespace

namespace {

// The first byte from i on that is not ASCII, or the size; eight bytes at a time.
size_t asciiEnd(std::string_view s, size_t i) {
    while (i + 8 <= s.size()) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ull) break;
        i += 8;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
    return i;
}

// The first byte from i on that is not ASCII or is NUL, or the size; 32 bytes at a time, then eight.
size_t plainEnd(std::string_view s, size_t i) {
    // As signed bytes, exactly the NUL and the bytes from 0x80 up are not above zero.
    using Bytes = signed char __attribute__((vector_size(16)));
    while (i + 32 <= s.size()) {
        Bytes low, high;
        std::memcpy(&low, s.data() + i, 16);
        std::memcpy(&high, s.data() + i + 16, 16);
        const Bytes stop = (low <= 0) | (high <= 0);
        uint64_t halves[2];
        std::memcpy(halves, &stop, 16);
        if (halves[0] | halves[1]) break;
        i += 32;
    }
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    while (i + 8 <= s.size()) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if ((word | ((word - kOnes) & ~word)) & kHighs) break;  // a high bit, or a byte that is zero
        i += 8;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80 && s[i] != '\0') ++i;
    return i;
}

bool isAscii(std::string_view bytes) {
    return asciiEnd(bytes, 0) == bytes.size();
}

bool isCp932Lead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

TextForm textForm(std::string_view bytes) {
    size_t i = asciiEnd(bytes, 0);
    const TextForm form = i == bytes.size() ? TextForm::Ascii : TextForm::Utf8;
    const size_t n = bytes.size();
    while (i < n) {
        const size_t len = utf8SequenceLength(bytes, i);
        if (len == 0) return TextForm::Other;
        i = asciiEnd(bytes, i + len);
    }
    return form;
}

TextForm textFormToNul(std::string_view bytes, size_t& end) {
    const size_t n = bytes.size();
    size_t i = plainEnd(bytes, 0);
    TextForm form = TextForm::Ascii;
    while (i < n && bytes[i] != '\0') {
        const size_t len = utf8SequenceLength(bytes, i);
        if (len == 0) return TextForm::Other;
        form = TextForm::Utf8;
        i = plainEnd(bytes, i + len);
    }
    end = i;
    return form;
}

bool isValidUtf8(std::string_view bytes) {
    return textForm(bytes) != TextForm::Other;
}

std::string cp932ToUtf8(std::string_view bytes, std::vector<size_t>* keptRaw) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    Converter cd("UTF-8", "CP932");
    if (!cd.ok()) return std::string(bytes);
    // ASCII is the same in both and goes by copy; iconv, slow per byte, gets the runs of characters between.
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        const size_t ascii = asciiEnd(bytes, i);
        out.append(bytes.substr(i, ascii - i));
        i = ascii;
        size_t end = i;  // a trail byte may be ASCII: step over whole characters
        while (end < n && static_cast<unsigned char>(bytes[end]) >= 0x80)
            end += isCp932Lead(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        end = std::min(end, n);
        if (end == i) continue;
        const size_t used = cd.convert(bytes.substr(i, end - i), out);
        i += used;
        if (i < end) {  // not CP932: keep the byte as it is
            if (keptRaw) keptRaw->push_back(i);
            out.push_back(bytes[i++]);
        }
    }
    return out;
}

Cp932Encoder::Cp932Encoder() : m_cd(new Converter("CP932", "UTF-8")) {}

Cp932Encoder::~Cp932Encoder() {
    delete static_cast<Converter*>(m_cd);
}

bool Cp932Encoder::append(std::string_view text, std::string& out) {
    Converter& cd = *static_cast<Converter*>(m_cd);
    if (!cd.ok()) return false;
    size_t i = 0;
    while (i < text.size()) {
        const size_t ascii = asciiEnd(text, i);
        out.append(text.substr(i, ascii - i));
        i = ascii;
        if (i == text.size()) break;
        // The longest run of valid UTF-8 from i that is not ASCII.
        size_t j = i;
        while (j < text.size() && static_cast<unsigned char>(text[j]) >= 0x80) {
            const size_t len = utf8SequenceLength(text, j);
            if (len == 0) break;
            j += len;
        }
        if (j > i) {
            const std::string_view run = text.substr(i, j - i);
            if (cd.convert(run, out) != run.size()) return false;  // a character CP932 cannot hold
            i = j;
        } else {
            out.push_back(text[i++]);  // a raw byte from the file or the disk: back as it came
        }
    }
    return true;
}

std::optional<std::string> utf8ToCp932(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    Cp932Encoder encoder;
    if (!encoder.append(text, out)) return std::nullopt;
    return out;
}

DecodedText decodeText(std::string_view bytes, std::vector<size_t>* keptRaw) {
    DecodedText result;
    if (isAscii(bytes)) {
        // Plain ASCII reads the same in both; it is written back in the encoding new files get.
        result.text.assign(bytes);
        result.encoding = systemEncoding();
    } else if (isValidUtf8(bytes)) {
        if (bytes.substr(0, kBom.size()) == kBom) {
            bytes.remove_prefix(kBom.size());
            result.utf8Bom = true;
        }
        result.text.assign(bytes);
        result.encoding = Encoding::Utf8;
    } else {
        result.text = cp932ToUtf8(bytes, keptRaw);
        result.encoding = Encoding::Cp932;
    }
    return result;
}

DecodedText takeUtf8Text(std::string&& bytes) {
    return takeUtf8Text(std::move(bytes), isAscii(bytes) ? TextForm::Ascii : TextForm::Utf8);
}

DecodedText takeUtf8Text(std::string&& bytes, TextForm form) {
    DecodedText result;
    result.encoding = form == TextForm::Ascii ? systemEncoding() : Encoding::Utf8;
    result.utf8Bom = bytes.starts_with(kBom);
    if (result.utf8Bom) bytes.erase(0, kBom.size());
    result.text = std::move(bytes);
    return result;
}

EncodedText encodeText(std::string_view text, Encoding wanted, bool utf8Bom) {
    if (wanted == Encoding::Cp932) {
        if (auto bytes = utf8ToCp932(text)) return {std::move(*bytes), Encoding::Cp932};
    }
    std::string bytes;
    bytes.reserve(text.size() + (utf8Bom ? kBom.size() : 0));
    if (utf8Bom) bytes.append(kBom);
    bytes.append(text);
    return {std::move(bytes), Encoding::Utf8};
}

Encoding systemEncoding() {
    if (const char* cp = std::getenv("TARVELIN2_CODEPAGE"); cp && std::string_view(cp) == "932")
        return Encoding::Cp932;
    std::string codeset = nl_langinfo(CODESET);
    for (char& c : codeset) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (std::string_view sjis : {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "CP932", "WINDOWS-31J", "MS932"})
        if (codeset == sjis) return Encoding::Cp932;
    return Encoding::Utf8;
}

std::string displayUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    while (!bytes.empty()) {
        const size_t slash = bytes.find('/');
        const std::string_view part = bytes.substr(0, slash);
        text += isValidUtf8(part) ? std::string(part) : cp932ToUtf8(part);
        if (slash == std::string_view::npos) break;
        text += '/';
        bytes.remove_prefix(slash + 1);
    }
    return text;
}

}  // namespace tarvelin
