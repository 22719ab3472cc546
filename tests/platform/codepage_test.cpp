#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvelin {
namespace {

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::string text;
    Encoding encoding;
};

TEST(Codepage, DecodesUtf8OrCp932ByValidity) {
    unsetenv("TARVELIN2_CODEPAGE");
    const DecodeCase cases[] = {
        {"utf8", "資料\\a.kxd", "資料\\a.kxd", Encoding::Utf8},
        {"cp932", "\x8E\x91\x97\xBF", "資料", Encoding::Cp932},
        {"cp932 wave dash and minus", "\x81\x60\x81\x7C", "～－", Encoding::Cp932},
        {"cp932 half-width katakana", "\xCC\xA7\xB2\xD9", "ﾌｧｲﾙ", Encoding::Cp932},
        {"cp932 NEC special", "\x87\x40", "①", Encoding::Cp932},
        {"ascii takes the system encoding", "abc", "abc", Encoding::Utf8},
        {"empty", "", "", Encoding::Utf8},
    };
    for (const auto& c : cases) {
        const DecodedText d = decodeText(c.bytes);
        EXPECT_EQ(d.text, c.text) << c.name;
        EXPECT_EQ(d.encoding, c.encoding) << c.name;
    }
}

TEST(Codepage, AsciiFollowsTheConfiguredCodePage) {
    setenv("TARVELIN2_CODEPAGE", "932", 1);
    EXPECT_EQ(decodeText("abc").encoding, Encoding::Cp932);
    EXPECT_EQ(systemEncoding(), Encoding::Cp932);
    unsetenv("TARVELIN2_CODEPAGE");
    EXPECT_EQ(systemEncoding(), Encoding::Utf8);  // the tests run in an ASCII or UTF-8 locale
}

TEST(Codepage, RoundTripsEveryFileByteForByte) {
    const std::string files[] = {
        "\x8E\x91\x97\xBF\r\n\tC:\\\x8E\x91\x97\xBF\\a.txt\r\n",  // a Windows list
        "\x8E\x91\xFF\x97\xBF",                                   // CP932 with a byte CP932 does not define
        "\x8E",                                                   // a lead byte cut off at the end
        "\xEF\xBB\xBF\xE8\xB3\x87",                               // UTF-8 with a byte-order mark
        "\xE8\xB3\x87\xE6\x96\x99",                               // plain UTF-8
    };
    for (const std::string& bytes : files) {
        const DecodedText d = decodeText(bytes);
        const EncodedText e = encodeText(d.text, d.encoding, d.utf8Bom);
        EXPECT_EQ(e.bytes, bytes);
        EXPECT_EQ(e.encoding, d.encoding);
    }
}

TEST(Codepage, NeverDropsACharacterCp932CannotHold) {
    const std::string text = "資料 😀 한국어";
    EXPECT_FALSE(utf8ToCp932(text).has_value());
    const EncodedText e = encodeText(text, Encoding::Cp932);
    EXPECT_EQ(e.encoding, Encoding::Utf8);
    EXPECT_EQ(e.bytes, text);
    const EncodedText sjis = encodeText("資料", Encoding::Cp932);
    EXPECT_EQ(sjis.encoding, Encoding::Cp932);
    EXPECT_EQ(sjis.bytes, "\x8E\x91\x97\xBF");
}

TEST(Codepage, ValidatesUtf8Strictly) {
    const std::pair<std::string, bool> cases[] = {
        {"plain ascii long enough for the fast path", true},
        {"\xC3\xA9", true},
        {"\xC0\xAF", false},          // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\xE8\xB3", false},          // cut off
        {"12345678\xE8\xB3\x87", true},
    };
    for (const auto& [bytes, valid] : cases) EXPECT_EQ(isValidUtf8(bytes), valid) << bytes;
}

TEST(Codepage, TellsTheFormUpToTheFirstNul) {
    using namespace std::string_literals;
    struct Case {
        std::string bytes;
        TextForm form;
        size_t end;  // where the NUL is; unset for Other
    };
    const Case cases[] = {
        {"", TextForm::Ascii, 0},
        {"plain ascii long enough for the fast path", TextForm::Ascii, 41},
        {"1234567\0\xFF\xFF"s, TextForm::Ascii, 7},               // what follows the NUL does not count
        {"12345678\0abc"s, TextForm::Ascii, 8},                   // a NUL that starts a word
        {std::string(40, 'a') + "\0\xFF"s, TextForm::Ascii, 40},  // past 32 bytes seen at once
        {std::string(33, 'a') + "\xC3\xA9"
                                "b",
         TextForm::Utf8, 36},
        {std::string(31, 'a') + "\x80" + std::string(40, 'b'), TextForm::Other, 99},
        {"\xE8\xB3\x87\0\xC0"s, TextForm::Utf8, 3},          // UTF-8 before it
        {"12345678abcdefg\xC3\xA9xyz", TextForm::Utf8, 20},  // no NUL: the size
        {"ab\xC3\0\xA9"s, TextForm::Other, 99},              // a sequence the NUL cuts off
        {"\x8E\x91\x97\xBF\0"s, TextForm::Other, 99},
    };
    for (const Case& c : cases) {
        size_t end = 99;
        EXPECT_EQ(textFormToNul(c.bytes, end), c.form) << c.bytes;
        EXPECT_EQ(end, c.end) << c.bytes;
    }
}

}  // namespace
}  // namespace tarvelin
