// The selection transforms of the Edit > Extra menu on a 20 MB selection:
// Reverse, Upper Case and Lower Case, each run as the command runs it
// (EditingCommands on a RichTextBox holding the whole document, all of it
// selected). Each iteration is a fresh child process, so that its peak
// resident memory belongs to the one command:
//   time               the command alone, from the menu click to the text in place
//   rss_before_MB      resident memory with the document loaded and selected
//   rss_peak_MB        the highest resident memory while the command ran
//   added_per_byte     (peak - before) per byte of the selection: what the
//                      command costs on top of the document; the control's undo
//                      record of the replaced and the new text takes 2 of it
//
//   build-bench/bench/bench_editing
//   build-bench/bench/bench_editing --benchmark_filter=Reverse
#include "editing/EditingCommands.h"
#include "editor/EngineProbe.h"
#include "editor/RichTextBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr qsizetype kSelectionBytes = 20 * 1024 * 1024;

// A web page of paragraphs with CR LF line breaks and some text beyond
// ASCII: accented letters, a letter with a combining mark, the euro sign and
// a character outside the basic plane (a surrogate pair in UTF-16).
QByteArray document()
{
    const char* const words[] = {"page", "editor", "<em>layout</em>", "caf\xC3\xA9", "\xE2\x82\xAC" "12",
                                 "ne\xCC\x81" "e", "\xF0\x9F\x98\x80", "<a href=\"menu.html\">menu</a>", "the",
                                 "gr\xC3\xB6\xC3\x9F" "er", "article", "summer"};
    QByteArray out;
    out.reserve(kSelectionBytes + 256);
    unsigned n = 0;
    while (out.size() < kSelectionBytes) {
        out += "<p>";
        for (int w = 0; w < 12; ++w) {
            n = n * 1103515245u + 12345u;
            out += words[(n >> 16) % 12];
            out += ' ';
        }
        out += "</p>\r\n";
    }
    return out;
}


// The peak resident memory starts again from what is resident now.
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

using Command = void (*)(RichTextBox&);

Command commandNamed(const char* name)
{
    if (std::strcmp(name, "Reverse") == 0)
        return &EditingCommands::reverse;
    if (std::strcmp(name, "UpperCase") == 0)
        return &EditingCommands::upperCase;
    if (std::strcmp(name, "LowerCase") == 0)
        return &EditingCommands::lowerCase;
    return nullptr;
}

// The child: the document in a control (without an undo record of its
// loading, as after File > Open), all of it selected, then the command.
// Prints the selection's bytes, the memory before and at the peak (kB) and
// the command's time (ms).
int childTransform(const char* name)
{
    const Command command = commandNamed(name);
    if (!command)
        return 2;
    RichTextBox pad;
    {
        const QByteArray text = document();
        pad.SetTextUtf8(text);
    }
    EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    pad.SetSelStart(0);
    pad.SetSelLength(pad.TextLength());
    const long bytes = EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    QCoreApplication::processEvents();
    resetPeak();
    const double before = procKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    command(pad);
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("ok %ld %.0f %.0f %.3f\n", bytes, before, procKb("VmHWM:"), ms);
    std::fflush(stdout);
    std::_Exit(0);
}

void BM_Transform(benchmark::State& state, const char* name)
{
    QList<QByteArray> reply;
    for (auto _ : state) {
        reply = runChild(state, {QStringLiteral("--child"), QLatin1String(name)}, 300000, 5);
        if (reply.isEmpty())
            return;
        state.SetIterationTime(reply[4].toDouble() / 1e3);
    }
    const double bytes = reply[1].toDouble();
    const double before = reply[2].toDouble();
    const double peak = reply[3].toDouble();
    state.counters["rss_before_MB"] = before / 1024.0;
    state.counters["rss_peak_MB"] = peak / 1024.0;
    state.counters["added_per_byte"] = (peak - before) * 1024.0 / bytes;
    state.SetBytesProcessed(state.iterations() * qint64(bytes));
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
        return childTransform(argv[2]);

    for (const char* name : {"Reverse", "UpperCase", "LowerCase"})
        benchmark::RegisterBenchmark((std::string(name) + "/20mb").c_str(), BM_Transform, name)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    return runBenchmarks(argc, argv);
}
