// Keeping unsaved work for recovery while a 20 MB page is edited. What
// counts is the window's own thread: the copy of the text taken between two
// keystrokes and handed to the writing thread. The disk write happens
// beside the typing and is reported as a counter.
//
//   time            snapshot + hand-off on the window's thread (the goal:
//                   under 20 ms), after one typed character
//   disk_ms         the write of the copy on its own thread, until it is on disk
//   keystroke_ms    one typed character (InsertText) while that write runs
//
// The caret sits at the end of the page, or in its middle (the control
// keeps the text in two parts around the last edit; both are copied where
// they lie). CharacterPointerCopy is the way not taken: a copy of the
// control's contiguous text, which makes the control move half the page
// after an edit in the middle, and again on the next keystroke there; its
// time is the copy and that next keystroke.
//
//   build-bench/bench/bench_recovery
#include "services/QtPrompts.h"
#include "editor/RichTextBox.h"
#include "services/SettingsStore.h"
#include "services/Shell.h"
#include "shell/RecoveryKeeper.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kPageBytes = 20 * 1024 * 1024;

// A hand-written-style page with CR LF breaks and some text beyond ASCII.
QByteArray page()
{
    const char* const words[] = {"page", "editor", "<em>layout</em>", "caf\xC3\xA9", "\xE2\x82\xAC" "12",
                                 "<a href=\"menu.html\">menu</a>", "the", "gr\xC3\xB6\xC3\x9F" "er", "article"};
    QByteArray out;
    out.reserve(kPageBytes + 256);
    unsigned n = 0;
    while (out.size() < kPageBytes) {
        out += "<p>";
        for (int w = 0; w < 12; ++w) {
            n = n * 1103515245u + 12345u;
            out += words[(n >> 16) % 9];
            out += ' ';
        }
        out += "</p>\r\n";
    }
    return out;
}

struct Editor {
    QtPrompts prompts;
    DesktopShell shell;
    SettingsStore settings;
    frmMain window{{&prompts, &shell, &settings}};
    RecoveryKeeper& recovery = *window.findChild<RecoveryKeeper*>();

    explicit Editor(bool caretInMiddle)
    {
        static const QByteArray text = page();
        window.pad()->SetTextUtf8(text);
        window.pad()->SetSelStart(caretInMiddle ? window.pad()->TextLength() / 2 : window.pad()->TextLength());
        recovery.setQuietTime(1000 * 1000);   // copies are taken by the benchmark alone
    }
    void type() { window.pad()->InsertText(QStringLiteral("x")); }
};

void BM_RecoverySnapshot(benchmark::State& state)
{
    Editor editor(state.range(0) == 1);
    double diskMs = 0, keystrokeMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.type();
        state.ResumeTiming();
        editor.recovery.writeNow();
        state.PauseTiming();
        QElapsedTimer t;
        t.start();
        editor.type();
        keystrokeMs += t.nsecsElapsed() / 1e6;
        editor.recovery.waitForDisk();
        diskMs += t.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["disk_ms"] = diskMs / double(state.iterations());
    state.counters["keystroke_ms"] = keystrokeMs / double(state.iterations());
    state.SetBytesProcessed(state.iterations() * kPageBytes);
    state.SetLabel(state.range(0) == 1 ? "caret in the middle" : "caret at the end");
}
BENCHMARK(BM_RecoverySnapshot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_CharacterPointerCopy(benchmark::State& state)
{
    Editor editor(state.range(0) == 1);
    for (auto _ : state) {
        state.PauseTiming();
        editor.type();
        state.ResumeTiming();
        const QByteArray copy = editor.window.pad()->document().utf8().toByteArray();
        editor.type();   // the next keystroke where the caret is
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetLabel(state.range(0) == 1 ? "caret in the middle" : "caret at the end");
}
BENCHMARK(BM_CharacterPointerCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Copies go to a folder of the benchmark's own, never the user's.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (state.path() + QStringLiteral("/config")).toLocal8Bit());
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    return runBenchmarks(argc, argv);
}
