// Reading a memo of the given megabytes of RTF with a formatting change every few characters into a
// QTextDocument, beside its floor in the same run: Qt's own setHtml of the same content as HTML.
// BM_MemoRatios, registered last, prints the ratio. BM_RtfShapeRatios compares memos of the same size and
// other shapes (a huge font table, many short paragraphs) with one paragraph of plain text: reading grows
// with the bytes, not with the count of fonts or paragraphs.
#include <benchmark/benchmark.h>

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "bench_timing.h"
#include "lists/rtf_reader.h"
#include "lists/rtf_writer.h"

namespace {

struct BenchMemo {
    std::string rtf;
    QString html;
};

// Runs of Japanese and Latin text, each in the next of eight formats, a paragraph every ten runs.
void addRuns(QTextDocument& document, size_t runs) {
    static const char* const kTexts[] = {"資料を整理する", "note 42 ", "会議の議題と日程", "plain text, "};
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    for (size_t i = 0; i < runs; ++i) {
        QTextCharFormat format;
        switch (i % 8) {
            case 1:
                format.setFontWeight(QFont::Bold);
                break;
            case 2:
                format.setFontItalic(true);
                break;
            case 3:
                format.setFontUnderline(true);
                break;
            case 4:
                format.setForeground(QColor(200, 0, 0));
                break;
            case 5:
                format.setFontPointSize(20);
                break;
            case 6:
                format.setFontFamilies({QStringLiteral("IPAPGothic")});
                break;
            case 7:
                format.setForeground(QColor(0, 0, 200));
                format.setFontWeight(QFont::Bold);
                break;
            default:
                break;
        }
        cursor.insertText(QString::fromUtf8(kTexts[i % 4]), format);
        if (i % 10 == 9) cursor.insertBlock();
    }
}

const BenchMemo& benchMemo(size_t megabytes) {
    static std::map<size_t, BenchMemo> built;
    if (auto it = built.find(megabytes); it != built.end()) return it->second;
    QTextDocument sample;
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(15);
    sample.setDefaultFont(font);
    addRuns(sample, 1000);
    const size_t bytesPerRun = tarvelin::writeRtf(sample).size() / 1000 + 1;
    QTextDocument document;
    document.setDefaultFont(font);
    addRuns(document, (megabytes << 20) / bytesPerRun);
    BenchMemo memo;
    memo.rtf = tarvelin::writeRtf(document);
    QTextDocument read;
    tarvelin::readRtf(memo.rtf, read);
    memo.html = read.toHtml();
    return built[megabytes] = std::move(memo);
}

// megabytes of RTF: a header, then copies of unit up to the size, then the end.
std::string repeated(size_t megabytes, std::string_view head, std::string_view unit, std::string_view tail) {
    std::string rtf(head);
    rtf.reserve((megabytes << 20) + unit.size() + tail.size());
    while (rtf.size() < (megabytes << 20)) rtf += unit;
    return rtf += tail;
}

// Numbered font entries up to the size: "{\fN Font N;}" for N from 0.
std::string numbered(size_t megabytes, std::string_view head, std::string_view before, std::string_view after,
                     std::string_view tail) {
    std::string rtf(head);
    for (size_t n = 0; rtf.size() < (megabytes << 20); ++n) {
        const std::string number = std::to_string(n);
        ((((rtf += before) += number) += ' ') += after) += number;
        rtf += ";}";
    }
    return rtf += tail;
}

enum Shape { kPlain, kFontTable, kParagraphs };
constexpr std::string_view kShortParagraph = "a short line\\par\r\n";

const std::string& shapedRtf(Shape shape, size_t megabytes) {
    static std::map<std::pair<Shape, size_t>, std::string> built;
    std::string& rtf = built[{shape, megabytes}];
    if (!rtf.empty()) return rtf;
    switch (shape) {
        case kPlain:
            rtf = repeated(megabytes, "{\\rtf1\\ansi\\deff0 ", "plain text of a memo, ", "\\par}");
            break;
        case kFontTable:
            rtf = numbered(megabytes, "{\\rtf1\\ansi\\deff0{\\fonttbl", "{\\f", "Font ", "}\\f7 text\\par}");
            break;
        case kParagraphs:
            rtf = repeated(megabytes, "{\\rtf1\\ansi\\deff0 ", kShortParagraph, "}");
            break;
    }
    return rtf;
}

void readShaped(Shape shape, size_t megabytes) {
    QTextDocument document;
    tarvelin::readRtf(shapedRtf(shape, megabytes), document);
    benchmark::DoNotOptimize(document.characterCount());
}

void BM_ReadRtfPlain(benchmark::State& state) {
    for (auto _ : state) readShaped(kPlain, static_cast<size_t>(state.range(0)));
}
BENCHMARK(BM_ReadRtfPlain)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadRtfFontTable(benchmark::State& state) {
    for (auto _ : state) readShaped(kFontTable, static_cast<size_t>(state.range(0)));
}
BENCHMARK(BM_ReadRtfFontTable)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadRtfParagraphs(benchmark::State& state) {
    for (auto _ : state) readShaped(kParagraphs, static_cast<size_t>(state.range(0)));
}
BENCHMARK(BM_ReadRtfParagraphs)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Qt's own cost of the paragraphs' blocks: the document built from the same lines as plain text.
void setParagraphsAsPlainText(size_t megabytes) {
    static std::map<size_t, QString> built;
    QString& text = built[megabytes];
    if (text.isEmpty()) {
        const size_t lines = (megabytes << 20) / kShortParagraph.size() + 1;
        text.reserve(static_cast<qsizetype>(lines * 13));
        for (size_t i = 0; i < lines; ++i) text += QStringLiteral("a short line\n");
    }
    QTextDocument document;
    document.setPlainText(text);
    benchmark::DoNotOptimize(document.characterCount());
}

void BM_RtfShapeRatios(benchmark::State& state) {
    const auto megabytes = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        const auto best = [&](Shape shape) {
            return tarvelin::bench::bestSeconds([&] { readShaped(shape, megabytes); }, 3);
        };
        const double floor = best(kPlain);
        const double fonts = best(kFontTable);
        const double paragraphs = best(kParagraphs);
        const double blocks = tarvelin::bench::bestSeconds([&] { setParagraphsAsPlainText(megabytes); }, 3);
        state.counters["FontTableRatio"] = fonts / floor;
        state.counters["ParagraphsRatio"] = paragraphs / floor;
        state.counters["ParagraphsToBlocksRatio"] = paragraphs / blocks;
        std::fprintf(stderr,
                     "rtf shapes: %zu MB each\n"
                     "  ReadRtfFontTable %.1f ms = %.2f x ReadRtfPlain %.1f ms  target <= 2.0\n"
                     "  ReadRtfParagraphs %.1f ms = %.2f x ReadRtfPlain  target <= 2.0\n"
                     "  ReadRtfParagraphs = %.2f x FloorSetPlainTextLines %.1f ms (Qt's blocks alone)\n",
                     megabytes, fonts * 1e3, fonts / floor, floor * 1e3, paragraphs * 1e3, paragraphs / floor,
                     paragraphs / blocks, blocks * 1e3);
    }
}
BENCHMARK(BM_RtfShapeRatios)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void readMemo(const BenchMemo& memo) {
    QTextDocument document;
    tarvelin::readRtf(memo.rtf, document);
    benchmark::DoNotOptimize(document.characterCount());
}

void setHtml(const BenchMemo& memo) {
    QTextDocument document;
    document.setHtml(memo.html);
    benchmark::DoNotOptimize(document.characterCount());
}

void BM_FloorSetHtml(benchmark::State& state) {
    const BenchMemo& memo = benchMemo(static_cast<size_t>(state.range(0)));
    for (auto _ : state) setHtml(memo);
}
BENCHMARK(BM_FloorSetHtml)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadRtf(benchmark::State& state) {
    const BenchMemo& memo = benchMemo(static_cast<size_t>(state.range(0)));
    for (auto _ : state) readMemo(memo);
}
BENCHMARK(BM_ReadRtf)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemoRatios(benchmark::State& state) {
    const BenchMemo& memo = benchMemo(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const double floor = tarvelin::bench::bestSeconds([&] { setHtml(memo); });
        const double read = tarvelin::bench::bestSeconds([&] { readMemo(memo); });
        state.counters["ReadRtfRatio"] = read / floor;
        std::fprintf(stderr,
                     "memo: %zu bytes of RTF, %lld bytes of HTML\n"
                     "  ReadRtf %.1f ms = %.2f x FloorSetHtml %.1f ms  target <= 1.0\n",
                     memo.rtf.size(), static_cast<long long>(memo.html.toUtf8().size()), read * 1e3,
                     read / floor, floor * 1e3);
    }
}
BENCHMARK(BM_MemoRatios)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
