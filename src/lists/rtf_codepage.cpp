#include "lists/rtf_codepage.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace tarvelin {
namespace {

const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);

// The code pages RTF files are written in; anything else (an EBCDIC page, a typo) reads as 1252.
std::string iconvName(int codePage) {
    switch (codePage) {
        case 10000:
            return "MACINTOSH";
        case 65001:
            return "UTF-8";
        case 437:
        case 850:
        case 874:
        case 932:
        case 936:
        case 949:
        case 950:
            return "CP" + std::to_string(codePage);
        default:
            return codePage >= 1250 && codePage <= 1258 ? "CP" + std::to_string(codePage) : "CP1252";
    }
}

}  // namespace

int codePageOfCharset(int charset, int defaultCodePage) {
    switch (charset) {
        case 0:
            return 1252;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 255:
            return 437;
        default:
            return defaultCodePage;
    }
}

CodePageConverter::~CodePageConverter() {
    for (const auto& [codePage, cd] : m_decoders)
        if (cd != kInvalid) iconv_close(static_cast<iconv_t>(cd));
    if (m_cp932Encoder && m_cp932Encoder != kInvalid) iconv_close(static_cast<iconv_t>(m_cp932Encoder));
}

void* CodePageConverter::handle(int codePage, bool encode) {
    if (encode) {
        if (!m_cp932Encoder) m_cp932Encoder = iconv_open("CP932", "UTF-16LE");
        return m_cp932Encoder;
    }
    auto [it, inserted] = m_decoders.try_emplace(codePage, nullptr);
    if (inserted) {
        iconv_t cd = iconv_open("UTF-16LE", iconvName(codePage).c_str());
        if (cd == kInvalid) cd = iconv_open("UTF-16LE", "CP1252");
        it->second = cd;
    }
    return it->second;
}

void CodePageConverter::decode(int codePage, std::string_view bytes, QString& out) {
    size_t ascii = 0;
    while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
    out.append(QLatin1StringView(bytes.data(), static_cast<qsizetype>(ascii)));
    bytes.remove_prefix(ascii);
    if (bytes.empty()) return;

    const iconv_t cd = static_cast<iconv_t>(handle(codePage, false));
    if (cd == kInvalid) {
        out.append(QString(static_cast<qsizetype>(bytes.size()), QChar::ReplacementCharacter));
        return;
    }
    char* src = const_cast<char*>(bytes.data());
    size_t srcLeft = bytes.size();
    char16_t buffer[1024];
    while (srcLeft > 0) {
        char* dst = reinterpret_cast<char*>(buffer);
        size_t dstLeft = sizeof buffer;
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(QStringView(buffer, (reinterpret_cast<char16_t*>(dst) - buffer)));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            out.append(QChar::ReplacementCharacter);  // not in this code page, or a lead byte at the end
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
}

std::string CodePageConverter::encodeCp932(QStringView character) {
    const iconv_t cd = static_cast<iconv_t>(handle(kCodePageJapanese, true));
    if (cd == kInvalid) return {};
    char* src = reinterpret_cast<char*>(const_cast<char16_t*>(character.utf16()));
    size_t srcLeft = static_cast<size_t>(character.size()) * 2;
    char buffer[16];
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (r == static_cast<size_t>(-1) || srcLeft != 0) return {};
    std::string bytes(buffer, static_cast<size_t>(dst - buffer));
    // glibc maps some characters one way only (¥ to 5C, which reads back as a backslash).
    QString back;
    decode(kCodePageJapanese, bytes, back);
    return back == character ? bytes : std::string();
}

}  // namespace tarvelin
