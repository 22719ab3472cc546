// Reading a memo of the given megabytes of RTF with a formatting change every few characters into a
// QTextDocument, beside its floor in the same run: Qt's own setHtml of the same content as HTML.
// BM_MemoRatios, registered last, prints the ratio.
#include <benchmark/benchmark.h>

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

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
