// Merge Documents on three large files: the Merge button of the window, run
// as the user runs it (three path boxes filled, lines "0", an unchanged
// document with a caret), up to the merged text in the document. Each
// iteration is a fresh child process, so that its peak resident memory
// belongs to the merge alone:
//   time               the Merge click, from reading the files to the text in place
//   rss_before_MB      resident memory with the window open, before the click
//   rss_peak_MB        the highest resident memory during the merge
//   rss_after_MB       resident memory once the merge is done
//   peak_per_merged    (peak - before) over the merged text's bytes (UTF-8):
//                      the document's copy of it and the control's undo
//                      record of the insertion take 2 of it
//
//   build-bench/bench/bench_merge
//   build-bench/bench/bench_merge --benchmark_filter=3x40mb
#include "doctools/frmMergeDocs.h"
#include "editor/EngineProbe.h"
#include "BenchDoubles.h"
#include "editor/RichTextBox.h"
#include "services/SettingsStore.h"
#include "shell/FileCommands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr qsizetype kFileBytes = 40 * 1024 * 1024;

// A hand-written page of the given size with LF line breaks (the document
// has CR LF, so every line break is converted on the way in) and some text
// beyond ASCII.
QByteArray page(qsizetype bytes, unsigned seed)
{
    const char* const words[] = {"page", "editor", "<em>layout</em>", "caf\xC3\xA9", "\xE2\x82\xAC" "12",
                                 "<a href=\"menu.html\">menu</a>", "the", "gr\xC3\xB6\xC3\x9F" "er", "summer"};
    QByteArray out;
    out.reserve(bytes + 256);
    unsigned n = seed;
    while (out.size() < bytes) {
        out += "<p>";
        for (int w = 0; w < 12; ++w) {
            n = n * 1103515245u + 12345u;
            out += words[(n >> 16) % 9];
            out += ' ';
        }
        out += "</p>\n";
    }
    out.truncate(bytes);
    return out;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// The child: writes the three files, opens the window over a small CR LF
// document and presses Merge. Prints the merged bytes, the memory before,
// at the peak and after (kB) and the merge's time (ms).
int childMerge(qsizetype fileBytes)
{
    QTemporaryDir dir;
    QStringList paths;
    for (unsigned i = 0; i < 3; ++i) {
        paths << dir.filePath(QStringLiteral("part%1.html").arg(i));
        QFile f(paths.last());
        if (!f.open(QIODevice::WriteOnly) || f.write(page(fileBytes, i + 1)) != fileBytes)
            return 2;
    }
    Document doc;
    RichTextBox pad(&doc);
    pad.SetText(QStringLiteral("<html>\r\n<body>\r\n</body>\r\n</html>\r\n"));
    pad.SetSelStart(16);
    SilentPrompts prompts;
    MemorySettings settings;
    FileCommands files(doc, pad, prompts, settings);
    frmMergeDocs merge(files, prompts, nullptr);
    for (int i = 0; i < 3; ++i)
        merge.document(i + 1)->setText(paths[i]);
    merge.lines()->setText(QStringLiteral("0"));
    const long startBytes = doc.byteLength();
    QCoreApplication::processEvents();
    resetPeak();
    const double before = procKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    merge.Merge();
    const double ms = t.nsecsElapsed() / 1e6;
    const double peak = procKb("VmHWM:");
    const long merged = doc.byteLength() - startBytes;
    std::printf("ok %ld %.0f %.0f %.0f %.3f\n", merged, before, peak, procKb("VmRSS:"), ms);
    std::fflush(stdout);
    std::_Exit(0);
}

void BM_Merge(benchmark::State& state)
{
    const qsizetype fileBytes = state.range(0) * 1024 * 1024;
    QList<QByteArray> reply;
    for (auto _ : state) {
        reply = runChild(state, {QStringLiteral("--child"), QString::number(fileBytes)}, 600000, 6);
        if (reply.isEmpty())
            return;
        state.SetIterationTime(reply[5].toDouble() / 1e3);
    }
    const double merged = reply[1].toDouble();
    const double before = reply[2].toDouble();
    const double peak = reply[3].toDouble();
    state.counters["rss_before_MB"] = before / 1024.0;
    state.counters["rss_peak_MB"] = peak / 1024.0;
    state.counters["rss_after_MB"] = reply[4].toDouble() / 1024.0;
    state.counters["peak_per_merged"] = (peak - before) * 1024.0 / merged;
    state.SetBytesProcessed(state.iterations() * qint64(merged));
}

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool child = argc == 3 && std::strcmp(argv[1], "--child") == 0;
    int qtArgc = child ? 1 : argc;
    QApplication app(qtArgc, argv);
    if (child)
        return childMerge(qsizetype(std::atoll(argv[2])));

    benchmark::RegisterBenchmark("Merge/3x40mb", BM_Merge)
        ->Arg(kFileBytes / (1024 * 1024))
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    return runBenchmarks(argc, argv);
}
