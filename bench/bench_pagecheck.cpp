// Typing into a page whose problems are marked as you type, against the
// same with the marking off: the first key's time and the time of each key
// after it at the end of a 1 MB page (1,000,000 bytes, the largest of the
// generated pages under TidyCheck::kLargestChecked), and the time from a key
// to the new marks on screen when typing pauses, with where it goes.
//
//   build-bench/bench/bench_pagecheck
//
// The view is what the main window shows: the page loaded from a file,
// coloured, with line numbers, 860 x 560 pixels, on Qt's offscreen platform
// (set QT_QPA_PLATFORM to override).
#include "editor/EngineProbe.h"
#include "editor/LineNumberMargin.h"
#include "editor/ProblemMarks.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"
#include "html/CheckScheduler.h"
#include "html/PageProblems.h"
#include "services/Fonts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include "BenchMain.h"
#include "BenchPages.h"

#include <atomic>
#include <ctime>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr qsizetype kPageBytes = 1000000;

const QString& pageFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("page-1mb.html"));
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(BenchPages::checkedPage(kPageBytes)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(p));
            std::exit(2);
        }
        return p;
    }();
    return path;
}

// The CPU time of the calling thread.
qint64 threadCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double msSince(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// The page in a shown view, marked or not, with the time each step of a
// check takes where it runs.
struct PageView {
    Document doc;
    RichTextBox box{&doc};
    SyntaxColouring colouring{box};
    LineNumberMargin numbers{box};
    CheckScheduler scheduler{[this] {
        QElapsedTimer t;
        t.start();
        QByteArray text = doc.snapshot();
        snapshotMs = msSince(t);
        return text;
    }};
    std::unique_ptr<ProblemMarks> marks;
    double snapshotMs = 0;
    std::atomic<qint64> checkNs{0};
    std::atomic<qint64> checkCpuNs{0};
    QElapsedTimer applying;
    double applyMs = 0;
    quint64 markedGeneration = 0;

    explicit PageView(bool on)
    {
        // Around the marks' own handling of a result: connected before and after it.
        QObject::connect(&scheduler, &CheckScheduler::checked, [this] { applying.start(); });
        marks = std::make_unique<ProblemMarks>(box, scheduler);
        QObject::connect(&scheduler, &CheckScheduler::checked, [this](quint64 generation) {
            applyMs = msSince(applying);
            markedGeneration = generation;
        });
        scheduler.setChecker([this](QByteArrayView page) {
            QElapsedTimer t;
            t.start();
            const qint64 cpu = threadCpuNs();
            Result<PageProblems::Problems> found = PageProblems::check(page);
            checkNs = t.nsecsElapsed();
            checkCpuNs = threadCpuNs() - cpu;
            return found;
        });
        marks->setEnabled(on);
        numbers.setVisible(true);
        box.resize(860, 560);
        box.show();
        QCoreApplication::processEvents();
    }
    ~PageView() { QThreadPool::globalInstance()->waitForDone(); }

    bool open(benchmark::State& state)
    {
        if (!doc.load(pageFile()).ok()) {
            state.SkipWithError("cannot load");
            return false;
        }
        doc.becomeNamed(pageFile());
        box.repaint();
        QCoreApplication::processEvents();
        return true;
    }
    // Waits (idle, leaving the processor to the check) for the marks of
    // the text as it is now.
    bool marked()
    {
        QEventLoop wait;
        QTimer tick;
        QElapsedTimer waited;
        waited.start();
        QObject::connect(&tick, &QTimer::timeout, &wait, [&] {
            if (markedGeneration == scheduler.generation() || waited.elapsed() > 60000)
                wait.quit();
        });
        tick.start(2);
        wait.exec();
        return markedGeneration == scheduler.generation();
    }
    void caretToEnd()
    {
        const long length = EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(length));
        box.setFocus();
        box.repaint();
        QCoreApplication::processEvents();
    }
    // One typed character, up to the end of its repaint.
    double type()
    {
        QElapsedTimer t;
        t.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QCoreApplication::sendEvent(&box, &press);
        QCoreApplication::sendEvent(&box, &release);
        box.repaint();
        QCoreApplication::processEvents();
        return msSince(t);
    }
};

enum class Checking { Off, On, Always };

// Keys at the end of the page. Off: nothing marked. On: the page's marks
// shown, keys quicker than the pause, so no check runs meanwhile (as when
// typing on). Always: no pause at all, so that Tidy works on a worker
// thread through every key, the worst a key can meet.
void BM_TypingAtEnd(benchmark::State& state, Checking checking)
{
    PageView v(checking != Checking::Off);
    if (!v.open(state))
        return;
    if (checking != Checking::Off && !v.marked()) {
        state.SkipWithError("no marks came");
        return;
    }
    const std::size_t marks = v.marks->marks().size();
    v.caretToEnd();
    if (checking == Checking::Always)
        v.scheduler.setPause(std::chrono::milliseconds(0));
    const double firstKey = v.type();
    for (auto _ : state)
        v.type();
    state.counters["first_key_ms"] = firstKey;
    state.counters["marks"] = double(marks);
}

// From a key to the marks of the new text, with the editor's pause of half a
// second: what the main thread spends (the snapshot when the pause ends,
// the marks when the result comes) and the check itself on its worker (its
// wall time, and its thread's CPU time).
void BM_KeyToMarks(benchmark::State& state)
{
    PageView v(true);
    if (!v.open(state) || !v.marked()) {
        state.SkipWithError("no marks came");
        return;
    }
    v.caretToEnd();
    double snapshot = 0, check = 0, checkCpu = 0, apply = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        v.type();
        if (!v.marked()) {
            state.SkipWithError("no marks came");
            return;
        }
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
        snapshot += v.snapshotMs;
        check += double(v.checkNs) / 1e6;
        checkCpu += double(v.checkCpuNs) / 1e6;
        apply += v.applyMs;
    }
    const auto n = double(state.iterations());
    state.counters["pause_ms"] = double(CheckScheduler::kPause.count());
    state.counters["snapshot_ms"] = snapshot / n;
    state.counters["check_ms"] = check / n;
    state.counters["check_cpu_ms"] = checkCpu / n;
    state.counters["apply_ms"] = apply / n;
    state.counters["marks"] = double(v.marks->marks().size());
}

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Fonts::installDefaultSubstitute();
    for (const auto& [name, checking] : {std::pair{"off", Checking::Off}, std::pair{"on", Checking::On},
                                         std::pair{"always-checking", Checking::Always}})
        benchmark::RegisterBenchmark((std::string("TypingAtEnd/") + name).c_str(), BM_TypingAtEnd, checking)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(50);
    benchmark::RegisterBenchmark("KeyToMarks", BM_KeyToMarks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    return runBenchmarks(argc, argv);
}
