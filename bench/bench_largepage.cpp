// Whole-page commands on a 200 MB page, as a user runs them one after
// another: the page is opened into a shown control (860×560, as the main
// window has it), all of it is selected, and one command runs five times
// (Upper and Lower Case take turns), the text selected again before each.
// Each case is a fresh child process:
//   time                  the five commands (with the selecting)
//   open_ms               opening the file
//   rss_open_MB           resident memory once the page is open
//   rss_after_MB          resident memory after the fifth command (and a
//                         pass of the event loop), what the session keeps
//   rss_peak_MB           the highest resident memory from the start (VmHWM)
//   peak_per_page, after_per_page   the two over the page's size
//   undo_MB               the text the undo history keeps at the end
//   open_unanswered_ms, unanswered_ms   the longest time an event posted to
//                         the window's thread waited to be handled while
//                         opening and during the commands: how long the
//                         window did not answer
//
//   build-bench/bench/bench_largepage                      # ~2 min
//   build-bench/bench/bench_largepage --benchmark_filter=Case
#include "BenchDoubles.h"
#include "document/Document.h"
#include "editing/EditingCommands.h"
#include "editor/EngineProbe.h"
#include "find/FindReplace.h"
#include "editor/RichTextBox.h"
#include "shell/FileCommands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr qsizetype kPageBytes = 200 * 1024 * 1024;

// A web page of paragraphs with CR LF line breaks and some text beyond
// ASCII (accented letters, "ß", a combining mark, the euro sign, an emoji).
QByteArray page()
{
    const char* const words[] = {"page", "editor", "<em>layout</em>", "caf\xC3\xA9", "\xE2\x82\xAC" "12",
                                 "ne\xCC\x81" "e", "\xF0\x9F\x98\x80", "<a href=\"menu.html\">menu</a>", "the",
                                 "gr\xC3\xB6\xC3\x9F" "er", "article", "summer"};
    QByteArray out;
    out.reserve(kPageBytes + 256);
    unsigned n = 0;
    while (out.size() < kPageBytes) {
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

// Posts an event to the window's thread every 5 ms and keeps the longest
// wait of one before it was handled.
class AnswerProbe {
public:
    AnswerProbe()
        : m_thread([this] {
              while (!m_stop) {
                  QMetaObject::invokeMethod(qApp, [this, posted = now()] {
                      m_longest = std::max(m_longest.load(), now() - posted);
                  }, Qt::QueuedConnection);
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          })
    {
    }
    ~AnswerProbe()
    {
        m_stop = true;
        m_thread.join();
    }
    // The longest wait since the last call.
    double takeLongestMs()
    {
        QCoreApplication::processEvents();
        return m_longest.exchange(0) / 1e6;
    }

private:
    static qint64 now() { return std::chrono::steady_clock::now().time_since_epoch().count(); }
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_longest{0};
    std::thread m_thread;
};

using Command = void (*)(RichTextBox&);

void replaceLetters(RichTextBox& pad)
{
    FindReplace::replaceAll(pad, QStringLiteral("page"), QStringLiteral("PAGE"));
}

// The five commands of a case, in turn.
QList<Command> commandsNamed(const char* name)
{
    if (std::strcmp(name, "Case") == 0)
        return {&EditingCommands::upperCase, &EditingCommands::lowerCase, &EditingCommands::upperCase,
                &EditingCommands::lowerCase, &EditingCommands::upperCase};
    if (std::strcmp(name, "Reverse") == 0)
        return QList<Command>(5, &EditingCommands::reverse);
    if (std::strcmp(name, "ReplaceAll") == 0)
        return QList<Command>(5, &replaceLetters);
    return {};
}

// The child: prints the page's bytes, the times (ms), memory (kB), the
// undo history's bytes and the longest waits (ms).
int childRun(const char* name, const QString& file)
{
    const QList<Command> commands = commandsNamed(name);
    if (commands.isEmpty())
        return 2;
    Document doc;
    RichTextBox pad(&doc);
    SilentPrompts prompts;
    MemorySettings settings;
    FileCommands files(doc, pad, prompts, settings);
    pad.resize(860, 560);
    pad.show();
    QCoreApplication::processEvents();
    AnswerProbe probe;
    probe.takeLongestMs();
    QElapsedTimer t;
    t.start();
    // Opened as the editor opens a file, with its progress.
    if (!files.loadAsDocument(file))
        return 3;
    QCoreApplication::processEvents();
    const double openMs = t.nsecsElapsed() / 1e6;
    const double openUnanswered = probe.takeLongestMs();
    const double rssOpen = procKb("VmRSS:");
    const long bytes = doc.byteLength();
    t.restart();
    for (Command command : commands) {
        pad.selectBytes(0, doc.byteLength());
        command(pad);
        QCoreApplication::processEvents();
    }
    const double ms = t.nsecsElapsed() / 1e6;
    const double unanswered = probe.takeLongestMs();
    std::printf("ok %ld %.3f %.0f %.0f %.0f %.0f %lld %.1f %.1f\n", bytes, ms, openMs, rssOpen, procKb("VmRSS:"),
                procKb("VmHWM:"), static_cast<long long>(doc.undoMemory()), openUnanswered, unanswered);
    std::fflush(stdout);
    std::_Exit(0);
}

QString pageFile()
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page-200mb.html"));
    if (!QFile::exists(path)) {
        const QByteArray bytes = page();
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
    }
    return path;
}

void BM_FiveCommands(benchmark::State& state, const char* name)
{
    const QString file = pageFile();
    QList<QByteArray> reply;
    for (auto _ : state) {
        reply = runChild(state, {QStringLiteral("--child"), QLatin1String(name), file}, 900000, 10);
        if (reply.isEmpty())
            return;
        state.SetIterationTime(reply[2].toDouble() / 1e3);
    }
    const double pageMb = reply[1].toDouble() / (1024.0 * 1024.0);
    state.counters["open_ms"] = reply[3].toDouble();
    state.counters["rss_open_MB"] = reply[4].toDouble() / 1024.0;
    state.counters["rss_after_MB"] = reply[5].toDouble() / 1024.0;
    state.counters["rss_peak_MB"] = reply[6].toDouble() / 1024.0;
    state.counters["after_per_page"] = reply[5].toDouble() / 1024.0 / pageMb;
    state.counters["peak_per_page"] = reply[6].toDouble() / 1024.0 / pageMb;
    state.counters["undo_MB"] = reply[7].toDouble() / (1024.0 * 1024.0);
    state.counters["open_unanswered_ms"] = reply[8].toDouble();
    state.counters["unanswered_ms"] = reply[9].toDouble();
}

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool child = argc == 4 && std::strcmp(argv[1], "--child") == 0;
    int qtArgc = child ? 1 : argc;
    QApplication app(qtArgc, argv);
    if (child)
        return childRun(argv[2], QString::fromLocal8Bit(argv[3]));

    for (const char* name : {"Case", "Reverse", "ReplaceAll"})
        benchmark::RegisterBenchmark((std::string(name) + "/200mb").c_str(), BM_FiveCommands, name)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    return runBenchmarks(argc, argv);
}
