// Find Next and Replace All on a 20 MB web page, the size of the largest
// files people open by hand. Both must cost time proportional to the text
// they cover, once: a press of Find Next reads as far as the next occurrence
// and copies nothing, and Replace All builds its result in one pass.
#include "find/FindReplace.h"
#include "editor/EngineProbe.h"
#include "editor/RichTextBox.h"

#include <QApplication>
#include <QByteArray>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kDocumentBytes = 20 * 1024 * 1024;

// An HTML-like document of table rows and paragraphs, some of it
// non-ASCII; "<td>" turns up about a million times, "Needle" in assorted
// case once per 500 rows.
const QByteArray& document()
{
    static const QByteArray text = [] {
        QByteArray out;
        out.reserve(kDocumentBytes + 4096);
        out += "<!DOCTYPE html>\r\n<html>\r\n<head><title>Price list</title></head>\r\n<body>\r\n<table>\r\n";
        for (long row = 0; out.size() < kDocumentBytes; ++row) {
            out += "<tr><td>";
            out += QByteArray::number(qlonglong(row));
            out += "</td><td>Gr\xC3\xB6\xC3\x9F" "e aus K\xC3\xB6ln</td><td>\xE2\x82\xAC ";
            out += QByteArray::number(qlonglong(row % 997));
            out += ",50</td><td>ja</td></tr>\r\n";
            if (row % 500 == 250)
                out += row % 1000 == 250 ? "<p>A NEEDLE in the table.</p>\r\n" : "<p>A needle in the table.</p>\r\n";
        }
        out += "</table>\r\n</body>\r\n</html>\r\n";
        return out;
    }();
    return text;
}

RichTextBox& pad()
{
    static RichTextBox* box = [] {
        auto* b = new RichTextBox;
        b->SetText(QString::fromUtf8(document()));
        return b;
    }();
    return *box;
}

qsizetype count(const QByteArray& haystack, const char* needle)
{
    return haystack.count(needle);
}

// Presses Find Next from the top until it reports not found.
void BM_FindNextThroughDocument(benchmark::State& state)
{
    RichTextBox& box = pad();
    const QString what = QStringLiteral("nEEDLE");
    long presses = 0;
    for (auto _ : state) {
        box.SetSelStart(0);
        while (FindReplace::findNext(box, what, FindReplace::Direction::Right))
            ++presses;
    }
    state.counters["presses"] = benchmark::Counter(double(presses) / double(state.iterations()));
    state.SetBytesProcessed(int64_t(state.iterations()) * document().size());
}
BENCHMARK(BM_FindNextThroughDocument)->Unit(benchmark::kMillisecond);

void BM_FindPreviousThroughDocument(benchmark::State& state)
{
    RichTextBox& box = pad();
    const QString what = QStringLiteral("Needle");
    for (auto _ : state) {
        box.SetSelStart(box.TextLength());
        while (FindReplace::findNext(box, what, FindReplace::Direction::Left)) {
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * document().size());
}
BENCHMARK(BM_FindPreviousThroughDocument)->Unit(benchmark::kMillisecond);

// One press that reads the whole document and finds nothing: the worst a
// single press can cost. A non-ASCII first letter takes the slower path of
// decoding every multi-byte character.
void BM_FindNextAbsent(benchmark::State& state)
{
    RichTextBox& box = pad();
    const QString what = state.range(0) ? QStringLiteral("Über") : QStringLiteral("zebra");
    for (auto _ : state) {
        box.SetSelStart(0);
        benchmark::DoNotOptimize(FindReplace::findNext(box, what, FindReplace::Direction::Right));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * document().size());
}
BENCHMARK(BM_FindNextAbsent)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A frequent word from the middle of the document: a press must cost the
// same small amount wherever the caret is, however long the document.
void BM_FindNextFrequentFromMiddle(benchmark::State& state)
{
    RichTextBox& box = pad();
    const QString what = QStringLiteral("<TD>");
    box.SetSelStart(box.TextLength() / 2);
    for (auto _ : state) {
        if (!FindReplace::findNext(box, what, FindReplace::Direction::Right))
            box.SetSelStart(box.TextLength() / 2);
    }
}
BENCHMARK(BM_FindNextFrequentFromMiddle)->Unit(benchmark::kMicrosecond);

// The byte replacement alone, about a million occurrences.
void BM_ReplacedBytes(benchmark::State& state)
{
    const QByteArray& text = document();
    state.counters["occurrences"] = double(count(text, "<td"));
    for (auto _ : state)
        benchmark::DoNotOptimize(FindReplace::replaced(text, "<td", "<th"));
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_ReplacedBytes)->Unit(benchmark::kMillisecond);

// Replace All on the pad, as the user runs it: the replacement and the
// assignment of the whole text. Each run swaps the case of the tag, so the
// next finds as many occurrences again.
void BM_ReplaceAll(benchmark::State& state)
{
    RichTextBox& box = pad();
    EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    state.counters["occurrences"] = double(count(document(), "<td"));
    bool upper = false;
    for (auto _ : state) {
        FindReplace::replaceAll(box, upper ? QStringLiteral("<TD") : QStringLiteral("<td"),
                                upper ? QStringLiteral("<td") : QStringLiteral("<TD"));
        upper = !upper;
    }
    if (upper)
        FindReplace::replaceAll(box, QStringLiteral("<TD"), QStringLiteral("<td"));
    EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
    state.SetBytesProcessed(int64_t(state.iterations()) * document().size());
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond);

// The same with the undo record kept, as in the editor, where Replace All
// can be undone: the old and the new text are both held.
void BM_ReplaceAllWithUndo(benchmark::State& state)
{
    RichTextBox& box = pad();
    bool upper = false;
    for (auto _ : state) {
        FindReplace::replaceAll(box, upper ? QStringLiteral("<TD") : QStringLiteral("<td"),
                                upper ? QStringLiteral("<td") : QStringLiteral("<TD"));
        upper = !upper;
        state.PauseTiming();
        EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        state.ResumeTiming();
    }
    if (upper)
        FindReplace::replaceAll(box, QStringLiteral("<TD"), QStringLiteral("<td"));
    EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    state.SetBytesProcessed(int64_t(state.iterations()) * document().size());
}
BENCHMARK(BM_ReplaceAllWithUndo)->Unit(benchmark::kMillisecond);

// What assigning the whole text costs by itself, for comparison.
void BM_SetTextAlone(benchmark::State& state)
{
    RichTextBox& box = pad();
    EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    const QString text = QString::fromUtf8(document());
    for (auto _ : state)
        box.SetText(text);
    EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
    state.SetBytesProcessed(int64_t(state.iterations()) * document().size());
}
BENCHMARK(BM_SetTextAlone)->Unit(benchmark::kMillisecond);

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
