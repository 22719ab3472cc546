#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>
#include <string>

#include "lists/memo_file.h"
#include "lists/rtf_reader.h"
#include "platform/file_io.h"
#include "rtf_outline.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::formatOutline;
using test::TempFolder;

std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

// What we write, turned into HTML by unrtf (Debian's converter), holds the same text.
TEST(RtfInterop, UnrtfReadsTheSameText) {
    const TempFolder folder;
    QTextDocument document;
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(15);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    QTextCharFormat latin;
    latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText("資料の整理 ", QTextCharFormat());
    cursor.insertText("ﾒﾓ ～ ソ表\\", bold);
    cursor.insertText(" café ẞ 😀 <a&b> {x}", latin);
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText("二行目\u2028三行目");
    writeMemoFile(folder.file("memo.rtf"), document);

    const std::string html = commandOutput("unrtf --html '" + folder.file("memo.rtf") + "' 2>/dev/null");
    ASSERT_NE(html.find("<body>"), std::string::npos) << "unrtf is not installed or failed";
    QTextDocument converted;
    converted.setHtml(QString::fromUtf8(html));
    // unrtf ends every paragraph with a line break.
    EXPECT_EQ(converted.toPlainText().toStdString(), document.toPlainText().toStdString() + "\n");
}

// Files LibreOffice Writer wrote: Latin and double-byte text with fonts, sizes and styles of their own.
TEST(RtfInterop, ReadsWhatWordProcessorsWrite) {
    struct Case {
        const char* file;
        std::string outline;
    };
    const Case cases[] = {
        {"writer-note.rtf",
         "[IPAPGothic 10]資料の整理メモ\n"
         "[b DejaVu Serif 12]bold[DejaVu Serif 12] [i DejaVu Serif 12]italic[DejaVu Serif 12] "
         "[u DejaVu Serif 12]underline[DejaVu Serif 12] [s DejaVu Serif 12]strike[DejaVu Serif 12] "
         "[DejaVu Serif 12 #ff0000]red[DejaVu Serif 12] [DejaVu Serif 20]big\n"
         "[DejaVu Serif 12]café ẞ 😀 ｶﾀｶﾅ\n"
         "[b i DejaVu Serif 14 #0000ff]全部[DejaVu Serif 12] tab{brace}\\back"},
        {"writer-japanese.rtf",
         "[IPAPGothic 12]会議の[b IPAPGothic 12]議題[IPAPGothic 12]と[i IPAPGothic 12]日程[IPAPGothic 12]、"
         "[u IPAPGothic 12]場所[IPAPGothic 12]。\n"
         "[IPAPGothic 20 #008000]緑の大きな字[DejaVu Serif 12] and [DejaVu Serif 8]small\n"
         "[IPAPGothic 12]ソ表\\能 ～－￥"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const FileBytes file = readFileBytes(std::string(TARVELIN_TEST_DATA) + c.file, 1 << 20);
        ASSERT_EQ(file.status, ReadStatus::Ok);
        QTextDocument document;
        readRtf(file.bytes, document);
        EXPECT_EQ(formatOutline(document), c.outline);
    }
}

}  // namespace
}  // namespace tarvelin
