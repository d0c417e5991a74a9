// Syntax colouring against the same editor with colouring off, on the pages
// it is meant for and on the ones it must step aside for:
//  - opening a page into a shown control (with the line numbers, as the main
//    window has them) until the control settles: nothing left to colour for
//    what is shown, no more work queued;
//  - Ctrl+End to the end of the page, until it settles (the colouring of
//    everything before the end, done a little at a time between events);
//  - a keystroke at the end, up to the end of the work it causes;
//  - a fresh process that opens and shows the page, with its resident memory
//    at the end and at the peak;
//  - every aid against none, on the coloured page: the typing aids, the
//    marks around the caret, the status bar and the marks of a searched
//    text; keys typed at its end (closing tags offered and typed over), and
//    caret moves there.
//
// Inputs are made on the first run into a temporary folder, deterministically:
// a hand-written-style page (head with a style sheet, sections of paragraphs,
// tables, forms, scripts, now and then a style element and PHP in the body)
// with CR LF line breaks, at 20 MB (page-20mb) and at 40 MB, above the size
// colouring is done for (page-40mb); and 5 MB of the same on one line
// (oneline-5mb), above the line length colouring is done for, and 1,000,000
// bytes on one line, just below it (oneline-1mb).
//
//   build-bench/bench/bench_colouring                              # ~3 min
//   build-bench/bench/bench_colouring --benchmark_filter='page-20mb'
#include "BenchDoubles.h"
#include "services/Fonts.h"
#include "editor/EngineProbe.h"
#include "editor/LineNumberMargin.h"
#include "editor/MatchMarks.h"
#include "editor/PageOutline.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"
#include "editor/TypingAids.h"
#include "find/FindSession.h"
#include "shell/StatusBar.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

using Sci = QsciScintillaBase;

// ---------------------------------------------------------------- inputs

const char* const kWords[] = {
    "the", "page", "site", "web", "editor", "layout", "header", "footer", "menu", "link", "table", "cell",
    "form", "input", "button", "image", "gallery", "article", "news", "contact", "about", "price", "offer",
    "order", "weather", "garden", "recipe", "travel", "photo", "music", "caf\xc3\xa9", "na\xc3\xafve",
    "\xe2\x82\xac", "lorem", "ipsum", "dolor", "sit", "amet", "magna", "aliqua"};

class Page {
public:
    Page(qsizetype target, std::uint32_t seed, bool oneLine) : m_gen(seed), m_oneLine(oneLine)
    {
        m_out.reserve(target + 4096);
        for (const char* l : {"<!DOCTYPE html>", "<html lang=\"en\">", "<head>", "<meta charset=\"utf-8\">",
                              "<title>Benchmark page</title>", "<style type=\"text/css\">",
                              "  body { font-family: Verdana, sans-serif; margin: 0 auto; max-width: 960px; }",
                              "  .card, .box { border: 1px solid #ccc; padding: 8px !important; }",
                              "  /* links */ a:hover { color: #c00; text-decoration: underline; }",
                              "  @media print { #menu { display: none } }", "</style>", "</head>", "<body>"})
            put(l);
        for (int n = 0; m_out.size() < target - 64; ++n)
            section(n);
        for (const char* l : {"<p>&copy; 2026 Example</p>", "</body>", "</html>"})
            put(l);
    }
    QByteArray bytes() const { return m_out; }

private:
    std::uint32_t below(std::uint32_t n) { return m_gen() % n; }
    std::string sentence(int lo = 6, int hi = 16)
    {
        std::string s;
        for (int i = lo + int(below(std::uint32_t(hi - lo + 1))); i > 0; --i) {
            std::string w = kWords[below(std::size(kWords))];
            switch (below(12)) {
            case 0: w = "<a href=\"" + w + ".html\">" + w + "</a>"; break;
            case 1: w = "<strong>" + w + "</strong>"; break;
            case 2: w += " &amp;"; break;
            default: break;
            }
            s += (s.empty() ? "" : " ") + w;
        }
        return s + ".";
    }
    void put(const std::string& line)
    {
        m_out.append(line.data(), qsizetype(line.size()));
        if (!m_oneLine)
            m_out.append("\r\n");
    }
    void section(int n)
    {
        const std::string id = std::to_string(n);
        put("<section id=\"s" + id + "\" class=\"card\">");
        put("  <h2>" + sentence(2, 5) + "</h2>");
        switch (n % 6) {
        case 0:
        case 1:
            put("  <p>");
            for (int i = 1 + int(below(4)); i > 0; --i)
                put("    " + sentence());
            put("  </p>");
            break;
        case 2:
            put("  <table border=\"1\" cellpadding=\"4\">");
            for (int i = 1 + int(below(6)); i > 0; --i)
                put("    <tr><td>" + std::to_string(i) + "</td><td>" + sentence(2, 6) + "</td><td>&euro; " +
                    std::to_string(below(999)) + "</td></tr>");
            put("  </table>");
            break;
        case 3:
            put("  <form action=\"send.php\" method=\"post\">");
            put("    <label for=\"n" + id + "\">Name</label> <input type=\"text\" id=\"n" + id + "\" name=\"name\">");
            put("    <p>Total: <?php echo number_format($total, 2); ?> &euro;</p>");
            put("  </form>");
            break;
        case 4:
            put("  <script type=\"text/javascript\">");
            put("    // section " + id);
            put("    document.getElementById('s" + id + "').onclick = function (e) { alert(\"" + id + "\"); };");
            put("  </script>");
            break;
        default:
            put("  <style>");
            put("    #s" + id + " h2 { color: #" + std::to_string(100 + below(800)) + "; margin: 0 0 4px; }");
            put("  </style>");
            put("  <p>" + sentence() + "</p>");
            break;
        }
        put("</section>");
    }

    std::mt19937 m_gen;
    bool m_oneLine;
    QByteArray m_out;
};

enum class Shape { Page20Mb, Page40Mb, OneLine5Mb, OneLine1Mb };

const char* shapeName(Shape s)
{
    switch (s) {
    case Shape::Page20Mb: return "page-20mb";
    case Shape::Page40Mb: return "page-40mb";
    case Shape::OneLine5Mb: return "oneline-5mb";
    case Shape::OneLine1Mb: return "oneline-1mb";
    }
    return "?";
}

class Inputs {
public:
    static Inputs& get()
    {
        static Inputs inputs;
        return inputs;
    }
    QString dir() const { return m_dir.path(); }
    QString file(Shape s)
    {
        const QString path = m_dir.filePath(QLatin1String(shapeName(s)) + QStringLiteral(".html"));
        if (QFile::exists(path))
            return path;
        const QByteArray bytes = s == Shape::Page20Mb     ? Page(20 << 20, 20, false).bytes()
                                 : s == Shape::Page40Mb   ? Page(40 << 20, 40, false).bytes()
                                 : s == Shape::OneLine5Mb ? Page(5 << 20, 5, true).bytes()
                                                          : Page(1000 * 1000, 1, true).bytes();
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(path));
            std::exit(2);
        }
        return path;
    }

private:
    Inputs() = default;
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/qp-bench-colouring-XXXXXX")};
};

// ---------------------------------------------------------------- helpers

// The editor's text area as the main window has it: coloured (or not), with
// line numbers, shown at the window's size.
struct Editor {
    std::unique_ptr<RichTextBox> pad{new RichTextBox};
    SyntaxColouring colouring{*pad};
    LineNumberMargin numbers{*pad};

    // Every aid, as the main window has them, when asked for: the typing
    // aids, the marks around the caret, the status bar (shown below the
    // text's place) and an open Find window's text marked where it shows.
    std::unique_ptr<PageOutline> outline;
    std::unique_ptr<TypingAids> aids;
    std::unique_ptr<MatchMarks> marks;
    std::unique_ptr<StatusBar> statusBar;
    SilentPrompts prompts;
    std::unique_ptr<FindSession> find;

    explicit Editor(bool coloured, bool withAids = false)
    {
        if (withAids) {
            outline = std::make_unique<PageOutline>(pad->document(), colouring);
            aids = std::make_unique<TypingAids>(*pad, *outline);
            marks = std::make_unique<MatchMarks>(*pad, *outline);
            statusBar = std::make_unique<StatusBar>(*pad, &colouring);
            statusBar->setGeometry(0, 600, 860, 24);
            statusBar->show();
            find = std::make_unique<FindSession>(*pad, prompts);
            find->windowOpened();
            find->setSearch(QStringLiteral("one"), FindReplace::Direction::Right);
        }
        colouring.setEnabled(coloured);
        numbers.setVisible(true);
        pad->resize(860, 560);
        pad->show();
        QCoreApplication::processEvents();
    }
    bool open(const QString& path)
    {
        colouring.prepareForLoad(path);
        if (!pad->document().load(path).ok())
            return false;
        colouring.setDocumentName(path);
        pad->repaint();
        settle();
        return true;
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(pad.get(), &press);
        QCoreApplication::sendEvent(pad.get(), &release);
        pad->repaint();
        settle();
    }
    // Events until colouring has nothing left to do: what it does between
    // events goes in steps, each moving the end of the coloured text on.
    void settle()
    {
        long before = -1;
        for (int quiet = 0; quiet < 3;) {
            QCoreApplication::processEvents();
            const long styled = EngineProbe::of(*pad).SendScintilla(Sci::SCI_GETENDSTYLED);
            quiet = styled == before ? quiet + 1 : 0;
            before = styled;
        }
    }
};

// ---------------------------------------------------------------- cases

void BM_OpenAndSettle(benchmark::State& state, Shape s, bool coloured)
{
    const QString path = Inputs::get().file(s);
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(coloured);
        state.ResumeTiming();
        if (!editor->open(path)) {
            state.SkipWithError("cannot load");
            return;
        }
        state.PauseTiming();
        editor.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

// Ctrl+End, until the control settles; then one typed character at a time
// at the end, each until the work it causes is done.
void BM_TypingAtTheEnd(benchmark::State& state, Shape s, bool coloured)
{
    const QString path = Inputs::get().file(s);
    Editor editor(coloured);
    QElapsedTimer t;
    t.start();
    if (!editor.open(path)) {
        state.SkipWithError("cannot load");
        return;
    }
    const double openMs = t.nsecsElapsed() / 1e6;
    editor.pad->setFocus();
    t.start();
    editor.key(Qt::Key_End, Qt::ControlModifier, QString());
    const double endMs = t.nsecsElapsed() / 1e6;
    const long length = EngineProbe::of(*editor.pad).SendScintilla(Sci::SCI_GETLENGTH);
    for (auto _ : state)
        editor.key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    if (EngineProbe::of(*editor.pad).SendScintilla(Sci::SCI_GETLENGTH) != length + long(state.iterations()))
        state.SkipWithError("the keystrokes did not reach the text");
    state.counters["open_ms"] = openMs;
    state.counters["ctrl_end_ms"] = endMs;
    state.counters["coloured"] = editor.colouring.language() != SyntaxLanguage::Plain;
}

// The coloured page with the typing aids and marks (or without), Ctrl+End;
// then, in turn, the keys of "<p>one</p>" and Enter, each until the work it
// causes is done. With the aids, '>' offers "</p>", "</p>" is typed over,
// and every key moves the marks: the text grows by the same keys either way.
void BM_TypingWithAids(benchmark::State& state, Shape s, bool withAids)
{
    const QString path = Inputs::get().file(s);
    Editor editor(true, withAids);
    if (!editor.open(path)) {
        state.SkipWithError("cannot load");
        return;
    }
    editor.pad->setFocus();
    editor.key(Qt::Key_End, Qt::ControlModifier, QString());
    const long length = EngineProbe::of(*editor.pad).SendScintilla(Sci::SCI_GETLENGTH);
    const QString keys = QStringLiteral("<p>one</p>\r");
    qsizetype n = 0;
    for (auto _ : state) {
        const QChar c = keys[n++ % keys.size()];
        if (c == QLatin1Char('\r'))
            editor.key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        else
            editor.key(Qt::Key(c.toUpper().unicode()), Qt::NoModifier, QString(c));
    }
    // Each round of keys adds "<p>one</p>" and a CR LF.
    const long grown = EngineProbe::of(*editor.pad).SendScintilla(Sci::SCI_GETLENGTH) - length;
    if (n % keys.size() != 0 || grown != long(n / keys.size()) * (keys.size() + 1))
        state.SkipWithError("the text is not what was typed");
    state.counters["aids"] = withAids;
}

// The coloured page with the marks (or without), Ctrl+End and a pause, then
// Left and Right in turn, each until the work it causes is done: the marks
// looked for after every caret move.
void BM_CaretMovesWithMarks(benchmark::State& state, Shape s, bool withAids)
{
    const QString path = Inputs::get().file(s);
    Editor editor(true, withAids);
    if (!editor.open(path)) {
        state.SkipWithError("cannot load");
        return;
    }
    editor.pad->setFocus();
    editor.key(Qt::Key_End, Qt::ControlModifier, QString());
    // The marks of a large page wait for a pause after the load, its last edit.
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < MatchMarks::kTypingPauseMs * 2)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    bool left = true;
    for (auto _ : state) {
        editor.key(left ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier, QString());
        left = !left;
    }
    state.counters["aids"] = withAids;
}

// The child side of BM_OpenInFreshProcess: prints the resident memory (kB)
// before, once shown and settled, and at the peak, and the time (ms).
int openChild(const QString& path, bool coloured)
{
    Editor editor(coloured);
    const double before = procKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    const bool ok = editor.open(path);
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("%s %.0f %.0f %.0f %.3f %d\n", ok ? "ok" : "failed", before, procKb("VmRSS:"), procKb("VmHWM:"), ms,
                int(editor.colouring.language() != SyntaxLanguage::Plain));
    std::fflush(stdout);
    std::_Exit(0);
}

void BM_OpenInFreshProcess(benchmark::State& state, Shape s, bool coloured)
{
    const QString path = Inputs::get().file(s);
    QList<QByteArray> reply;
    for (auto _ : state) {
        reply = runChild(state,
                         {QStringLiteral("--open-child"), path, coloured ? QStringLiteral("1") : QStringLiteral("0")},
                         120000, 6);
        if (reply.isEmpty())
            return;
        state.SetIterationTime(reply[4].toDouble() / 1e3);
    }
    const double mb = 1024.0;
    const double fileMb = QFileInfo(path).size() / 1048576.0;
    state.counters["rss_shown_MB"] = reply[2].toDouble() / mb;
    state.counters["rss_peak_MB"] = reply[3].toDouble() / mb;
    state.counters["peak_added_per_file_byte"] = (reply[3].toDouble() - reply[1].toDouble()) / mb / fileMb;
    state.counters["coloured"] = reply[5].toDouble();
}

void registerAll()
{
    for (const bool coloured : {false, true}) {
        const std::string mode = coloured ? "/coloured" : "/plain";
        for (Shape s : {Shape::Page20Mb, Shape::OneLine5Mb, Shape::OneLine1Mb}) {
            const std::string shape = shapeName(s);
            benchmark::RegisterBenchmark(("OpenAndSettle/" + shape + mode).c_str(), BM_OpenAndSettle, s, coloured)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(s == Shape::Page20Mb ? 5 : 3);
            benchmark::RegisterBenchmark(("TypingAtTheEnd/" + shape + mode).c_str(), BM_TypingAtTheEnd, s, coloured)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(s == Shape::Page20Mb ? 30 : 5);
        }
        for (Shape s : {Shape::Page20Mb, Shape::Page40Mb, Shape::OneLine5Mb})
            benchmark::RegisterBenchmark(("OpenInFreshProcess/" + std::string(shapeName(s)) + mode).c_str(),
                                         BM_OpenInFreshProcess, s, coloured)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
    }
    for (const bool withAids : {false, true}) {
        const std::string aids = withAids ? "/aids" : "/no-aids";
        benchmark::RegisterBenchmark(("TypingWithAids/page-20mb" + aids).c_str(), BM_TypingWithAids,
                                     Shape::Page20Mb, withAids)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(33);
        benchmark::RegisterBenchmark(("CaretMovesWithMarks/page-20mb" + aids).c_str(), BM_CaretMovesWithMarks,
                                     Shape::Page20Mb, withAids)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(30);
    }
}

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool child = argc == 4 && std::strcmp(argv[1], "--open-child") == 0;
    int qtArgc = child ? 1 : argc;
    QApplication app(qtArgc, argv);
    Fonts::installDefaultSubstitute();
    if (child)
        return openChild(QString::fromLocal8Bit(argv[2]), std::strcmp(argv[3], "1") == 0);

    registerAll();
    std::fprintf(stderr, "inputs in %s\n", qPrintable(Inputs::get().dir()));
    return runBenchmarks(argc, argv);
}
