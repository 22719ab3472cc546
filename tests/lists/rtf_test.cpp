#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>

#include "lists/rtf_reader.h"
#include "lists/rtf_writer.h"
#include "rtf_outline.h"

namespace tarvelin {
namespace {

using test::formatOutline;

std::string readOutline(std::string_view bytes) {
    QTextDocument document;
    readRtf(bytes, document);
    return formatOutline(document);
}

const std::string kRichEditHeader =
    "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fnil\\fcharset128 "
    "\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}{\\f1\\fswiss\\fcharset0 "
    "Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n{\\*\\generator Riched20 "
    "10.0.19041}\\viewkind4\\uc1 \r\n";

TEST(RtfReader, ReadsTextAndFormatting) {
    struct Case {
        const char* name;
        std::string rtf;
        std::string outline;
    };
    const Case cases[] = {
        {"rich-edit control",
         kRichEditHeader + "\\pard\\lang1041\\f0\\fs18 \\'8e\\'91\\'97\\'bf\\b abc\\b0\\par\r\n"
                           "\\cf1\\f1\\fs20 caf\\'e9\\cf0\\f0\\fs18\\par\r\n}\r\n",
         "[ＭＳ Ｐゴシック 9]資料[b ＭＳ Ｐゴシック 9]abc\n[Arial 10 #ff0000]café"},
        {"CP932 characters over two escapes, with literal and escaped trail bytes",
         "{\\rtf1\\ansi\\ansicpg932 \\'83\\'5c\\'83\\\\\\'83e\\'82\\'a0}", "[12]ソソテあ"},
        {"the code page of each font's character set",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset128 Gothic;}{\\f1\\fcharset0 Times;}}"
         "\\f0\\'8e\\'91\\f1\\'e9\\'8e}",
         "[Gothic 12]資[Times 12]éŽ"},
        {"\\u with \\uc skipping, negative values and surrogate pairs",
         "{\\rtf1\\ansi\\uc1\\u-10179?\\u-8704?\\u7838?{\\uc2\\u12354\\'82\\'a0}\\u12354?\\uc0\\u12354 x}",
         "[12]😀ẞあああx"},
        {"word processor: nested groups, styles, generator, info, fields",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Liberation "
         "Serif{\\*\\falt Times New Roman};}{\\f1\\fnil\\fcharset128 IPAGothic;}}\r\n"
         "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
         "{\\stylesheet{\\s0\\snext0\\ql\\f0\\fs24 Normal;}{\\*\\cs15 Emphasis;}}\r\n"
         "{\\*\\generator LibreOffice/7.4}{\\info{\\title Note}{\\author me}}\r\n"
         "\\pard\\plain \\s0\\ql\\f0\\fs24{\\b bold {\\i both} bold} plain {\\ul under\\ulnone  not}\\par\r\n"
         "\\pard\\plain {\\cf2\\strike gone}\\tab{\\f1 \\u36039\\'3f\\u26009\\'3f}\\line end "
         "\\{x\\}\\\\{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}\\par\r\n}",
         "[b Liberation Serif 12]bold [b i Liberation Serif 12]both[b Liberation Serif 12] bold"
         "[Liberation Serif 12] plain [u Liberation Serif 12]under[Liberation Serif 12] not\n"
         "[s Liberation Serif 12 #0000ff]gone[Liberation Serif 12]\t[IPAGothic 12]資料"
         "[Liberation Serif 12]\u2028end {x}\\link"},
        {"a code page RTF is not written in reads as 1252", "{\\rtf1\\ansicpg933 caf\\'e9}", "[12]café"},
        {"a font name without its \";\" loses the blanks and controls around it",
         "{\\rtf1{\\fonttbl{\\f0 Arial \\'a0\\'09}}\\f0 x}", "[Arial 12]x"},
        {"unknown words and destinations",
         "{\\rtf1 a\\foo12 b{\\*\\unknown x{y}}c\\'zz d{\\pict\\wmetafile8 0102}\\plain\\fs0 e}",
         "[12]abczz d[1]e"},
        {"empty paragraphs keep their format, among paragraphs of one format; the last \\par ends the last "
         "one",
         "{\\rtf1 a\\par b\\par\\fs40\\par\\par c\\par d\\par\\par\\fs20\\par e\\par}",
         "[12]a\n[12]b\n[20]\n[20]\n[20]c\n[20]d\n[20]\n[10]\n[10]e"},
        {"\\bin data is skipped, braces and all", "{\\rtf1 a{\\*\\blob\\bin4 }}{x}b\\bin3 {\\'c}", "[12]abc"},
        {"unclosed groups", "{\\rtf1 {\\b a} {\\i b", "[b 12]a[12] [i 12]b"},
        {"text after the outer group closes", "{\\rtf1 a}b}", "[12]a"},
        {"a file cut in an escape", "{\\rtf1 a\\'8", "[12]a"},
        {"a file cut after a lead byte", "{\\rtf1\\ansicpg932 a\\'82", "[12]a\uFFFD"},
        {"a file cut in \\u", "{\\rtf1 a\\u", "[12]a"},
        {"a huge \\bin", "{\\rtf1 a\\bin2147483647 xyz}", "[12]a"},
        {"a \\bin past the 32-bit range", "{\\rtf1 a\\bin99999999999999999999 x}", "[12]a"},
        {"a negative \\bin", "{\\rtf1 a\\bin-5 x}", "[12]ax"},
        {"plain UTF-8 text", "資料\r\nline2\rline3", "[]資料\n[]line2\n[]line3"},
        {"plain CP932 text", "\x8E\x91\x97\xBF\r\n", "[]資料\n[]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readOutline(c.rtf), c.outline);
    }
}

TEST(RtfReader, HundredThousandNestedGroups) {
    constexpr size_t kDepth = 100'000;
    std::string rtf = "{\\rtf1 a";
    for (size_t i = 0; i < kDepth; ++i) rtf += "{\\b ";
    rtf += "b";
    rtf.append(kDepth, '}');
    rtf += " c}";
    // Formatting inside the groups beyond the depth limit is dropped; their text stays.
    EXPECT_EQ(readOutline(rtf), "[12]a[b 12]b[12] c");
}

TEST(RtfReader, FontsPastTheTableLimitReadAsTheDefault) {
    const std::string last = std::to_string(kMaxRtfFonts - 1), past = std::to_string(kMaxRtfFonts);
    std::string rtf = "{\\rtf1{\\fonttbl";
    for (size_t i = 0; i <= kMaxRtfFonts; ++i)
        rtf += "{\\f" + std::to_string(i) + " F" + std::to_string(i) + ";}";
    rtf += "}\\f0 a\\f" + last + " b\\f" + past + " c}";
    EXPECT_EQ(readOutline(rtf), "[F0 12]a[F" + last + " 12]b[12]c");
}

// A document whose every run names its font and size, so what reads back can be compared as it stands.
void addRun(QTextCursor& cursor, const QString& text, void (*style)(QTextCharFormat&)) {
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("DejaVu Sans")});
    format.setFontPointSize(10);
    style(format);
    cursor.insertText(text, format);
}

TEST(RtfWriter, RoundTripKeepsEveryRun) {
    QTextDocument document;
    QTextCursor cursor(&document);
    addRun(cursor, "plain ", [](QTextCharFormat&) {});
    addRun(cursor, "bold ", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    addRun(cursor, "italic ", [](QTextCharFormat& f) { f.setFontItalic(true); });
    addRun(cursor, "under ", [](QTextCharFormat& f) { f.setFontUnderline(true); });
    addRun(cursor, "struck ", [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    addRun(cursor, "blue ", [](QTextCharFormat& f) { f.setForeground(QColor(0, 0, 255)); });
    addRun(cursor, "big ", [](QTextCharFormat& f) { f.setFontPointSize(20); });
    addRun(cursor, "資料ｶﾅ😀¥", [](QTextCharFormat& f) { f.setFontFamilies({"ＭＳ Ｐゴシック"}); });
    cursor.insertBlock();
    cursor.insertBlock();
    addRun(cursor, "all{\\}\t", [](QTextCharFormat& f) {
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setFontUnderline(true);
        f.setForeground(QColor(0x12, 0x34, 0x56));
        f.setFontPointSize(20);
        f.setFontFamilies({"IPAPGothic"});
    });
    addRun(cursor, "ẞ\u2028é", [](QTextCharFormat&) {});

    const std::string written = writeRtf(document);
    QTextDocument read;
    readRtf(written, read);
    EXPECT_EQ(formatOutline(read),
              "[DejaVu Sans 10]plain [b DejaVu Sans 10]bold [i DejaVu Sans 10]italic [u DejaVu Sans 10]under "
              "[s DejaVu Sans 10]struck [DejaVu Sans 10 #0000ff]blue [DejaVu Sans 20]big "
              "[ＭＳ Ｐゴシック 10]資料ｶﾅ😀¥\n"
              "[ＭＳ Ｐゴシック 10]\n"
              "[b i u IPAPGothic 20 #123456]all{\\}\t[DejaVu Sans 10]ẞ\u2028é");
    EXPECT_EQ(formatOutline(read), formatOutline(document));
    EXPECT_EQ(writeRtf(read), written);
}

TEST(RtfWriter, WritesExactBytes) {
    QTextDocument document;
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(15);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText("資料 a{b}\\", bold);
    cursor.insertText("😀ẞ\t", QTextCharFormat());
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextCharFormat red;
    red.setFontFamilies({QStringLiteral("DejaVu Sans")});
    red.setFontPointSize(20);
    red.setForeground(QColor(255, 0, 0));
    cursor.insertText("red", red);
    red.clearForeground();
    cursor.insertText(" é", red);

    EXPECT_EQ(writeRtf(document),
              "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 "
              "\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}"
              "{\\f1\\fnil\\fcharset0 DejaVu Sans;}}\r\n"
              "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
              "\\uc1\\pard\\plain\\b\\f0\\fs22\\'8e\\'91\\'97\\'bf "
              "a\\{b\\}\\\\\\b0\\u-10179?\\u-8704?\\u7838?\\tab\\par\r\n"
              "\\f1\\fs40\\cf1 red\\cf0  \\u233?\\par\r\n"
              "}\r\n");
}

}  // namespace
}  // namespace tarvelin
