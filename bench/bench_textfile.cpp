// Opening and saving documents, from the file to the editing control and back:
//  - TextFile::read into a sink that only counts, and TextFile::write from a
//    UTF-8 buffer: the decoding and encoding alone (the file is in the page
//    cache after the first iteration, so this is CPU work, not the disk);
//  - Document::load, for a view, into a fresh control that is not shown, the same
//    into a shown control up to the end of its first paint, and SaveFile;
//  - a keystroke in a loaded document (the end of the 20 MB page, the end of
//    the 5 MB single line), up to the end of the repaint it causes; setting
//    the font the control already has; the repaint of a blinking caret;
//  - a fresh process that makes the control, loads one file into it while it
//    is hidden and then shows it, as the main window does at start-up, and
//    reports the times and its resident memory at each step and at the peak.
//
// Inputs are made on the first run into a temporary folder, deterministically:
// a hand-written-style HTML page with CR LF line breaks and a few characters
// beyond ASCII (1 MB and 20 MB; 200 MB for the fresh-process memory case
// alone), and 5 MB of the same markup on one line,
// each stored as UTF-8, as Windows-1252 and as UTF-16 LE with a byte-order
// mark. Bytes per second count the file's bytes on disk.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise, e.g.
//   build-bench/bench/bench_textfile --benchmark_filter='page-20mb'
#include "services/Fonts.h"
#include "editor/EngineProbe.h"
#include "editor/RichTextBox.h"
#include "files/TextFile.h"
#include "files/TextFormat.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

// ---------------------------------------------------------------- inputs

// The generator draws from a fixed-seed mt19937 with plain modulo, so that the
// same bytes come out on every machine and standard library.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : m_gen(seed) {}
    std::uint32_t below(std::uint32_t n) { return m_gen() % n; }
    std::uint32_t between(std::uint32_t lo, std::uint32_t hi) { return lo + below(hi - lo + 1); }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) { return items[below(N)]; }

private:
    std::mt19937 m_gen;
};

// Words of a web page; a few are outside ASCII but inside Windows-1252, so
// every input can be stored in all three encodings.
const char* const kWords[] = {
    "the", "page", "site", "web", "editor", "layout", "header", "footer", "navigation", "menu", "link",
    "table", "cell", "row", "column", "form", "input", "button", "image", "gallery", "article", "section",
    "news", "contact", "about", "services", "price", "offer", "customer", "order", "shipping", "weather",
    "garden", "recipe", "travel", "photo", "music", "video", "school", "club", "meeting", "Monday",
    "Tuesday", "summer", "winter", "caf\xc3\xa9", "r\xc3\xa9sum\xc3\xa9", "na\xc3\xafve",
    "\xe2\x80\x9cquoted\xe2\x80\x9d", "\xe2\x80\x93", "\xe2\x82\xac", "lorem", "ipsum", "dolor", "sit",
    "amet", "consectetur", "adipiscing", "elit", "sed", "do", "eiusmod", "tempor", "incididunt", "ut",
    "labore", "et", "dolore", "magna", "aliqua"};

std::string sentence(Draw& d, int lo = 6, int hi = 18)
{
    std::vector<std::string> ws;
    const int n = int(d.between(lo, hi));
    for (int i = 0; i < n; ++i)
        ws.emplace_back(d.pick(kWords));
    for (int k = int(d.below(3)); k > 0; --k) {
        std::string& w = ws[d.below(std::uint32_t(ws.size()))];
        switch (d.below(4)) {
        case 0: w = "<a href=\"" + w + ".html\">" + w + "</a>"; break;
        case 1: w = "<strong>" + w + "</strong>"; break;
        case 2: w = "<em>" + w + "</em>"; break;
        default: w += " &amp;"; break;
        }
    }
    std::string s;
    for (const std::string& w : ws)
        s += (s.empty() ? "" : " ") + w;
    if (s[0] >= 'a' && s[0] <= 'z')
        s[0] = char(s[0] - 'a' + 'A');
    const char* const ends[] = {".", ".", ".", "!", "?"};
    return s + d.pick(ends);
}

void section(Draw& d, int n, std::vector<std::string>& out)
{
    const std::string ind = "      ";
    const char* const classes[] = {"intro", "news", "card", "box"};
    out.push_back("    <section id=\"s" + std::to_string(n) + "\" class=\"" + d.pick(classes) + "\">");
    out.push_back(ind + "<h2>" + sentence(d, 2, 5) + "</h2>");
    switch (n % 5) {
    case 0:
    case 1:
        for (int p = int(d.between(1, 3)); p > 0; --p) {
            out.push_back(ind + "<p>");
            for (int s = int(d.between(1, 4)); s > 0; --s)
                out.push_back(ind + "  " + sentence(d));
            out.push_back(ind + "</p>");
        }
        break;
    case 2:
        out.push_back(ind + "<ul>");
        for (int i = int(d.between(3, 8)); i > 0; --i)
            out.push_back(ind + "  <li>" + sentence(d, 3, 9) + "</li>");
        out.push_back(ind + "</ul>");
        break;
    case 3:
        out.push_back(ind + "<table border=\"1\" cellpadding=\"4\" width=\"100%\">");
        out.push_back(ind + "  <tr><th>Item</th><th>Description</th><th>Price</th></tr>");
        for (int i = 1, rows = int(d.between(3, 8)); i <= rows; ++i)
            out.push_back(ind + "  <tr><td>" + std::to_string(i) + "</td><td>" + sentence(d, 2, 6) +
                          "</td><td align=\"right\">&euro; " + std::to_string(d.between(1, 999)) + "." +
                          std::to_string(d.between(10, 99)) + "</td></tr>");
        out.push_back(ind + "</table>");
        break;
    default:
        out.push_back(ind + "<div class=\"gallery\">");
        for (int i = int(d.between(2, 6)); i > 0; --i)
            out.push_back(ind + "  <img src=\"img/photo" + std::to_string(d.below(10000)) + ".jpg\" alt=\"" +
                          sentence(d, 2, 4) + "\" width=\"160\" height=\"120\">");
        out.push_back(ind + "</div>");
        out.push_back(ind + "<script>document.getElementById('s" + std::to_string(n) +
                      "').onclick = function () { alert('" + std::to_string(n) + "'); };</script>");
        break;
    }
    out.push_back("    </section>");
}

// A page of about `target` bytes of UTF-8. With CR LF breaks every line ends
// in one; on one line the indentation goes and nothing separates the lines.
QByteArray makePage(qsizetype target, std::uint32_t seed, bool oneLine)
{
    const std::vector<std::string> head = {
        "<!DOCTYPE html>", "<html lang=\"en\">", "  <head>", "    <meta charset=\"utf-8\">",
        "    <title>Benchmark page</title>", "    <link rel=\"stylesheet\" href=\"style.css\">", "  </head>",
        "  <body>"};
    const std::vector<std::string> tail = {"    <p>&copy; 2026 Example</p>", "  </body>", "</html>"};
    QByteArray out;
    out.reserve(target + 4096);
    auto put = [&](const std::string& line) {
        if (oneLine) {
            const std::size_t start = line.find_first_not_of(' ');
            out.append(line.data() + start, qsizetype(line.size() - start));
        } else {
            out.append(line.data(), qsizetype(line.size()));
            out.append("\r\n");
        }
    };
    for (const std::string& l : head)
        put(l);
    Draw d(seed);
    std::vector<std::string> lines;
    for (int n = 0; out.size() < target - 64; ++n) {
        lines.clear();
        section(d, n, lines);
        for (const std::string& l : lines)
            put(l);
    }
    for (const std::string& l : tail)
        put(l);
    return out;
}

enum class Shape { Page1Mb, Page20Mb, OneLine5Mb, Page200Mb };

struct Input {
    QString path;
    qint64 fileBytes = 0;
    qsizetype utf8Bytes = 0;
};

const char* shapeName(Shape s)
{
    switch (s) {
    case Shape::Page1Mb: return "page-1mb";
    case Shape::Page20Mb: return "page-20mb";
    case Shape::OneLine5Mb: return "oneline-5mb";
    case Shape::Page200Mb: return "page-200mb";
    }
    return "?";
}

const char* encodingName(Encoding e)
{
    switch (e) {
    case Encoding::Utf8: return "utf8";
    case Encoding::Cp1252: return "cp1252";
    case Encoding::Utf16LE: return "utf16le";
    case Encoding::Utf16BE: return "utf16be";
    }
    return "?";
}

TextFormat formatOf(Encoding e)
{
    TextFormat f;
    f.encoding = e;
    f.bom = e == Encoding::Utf16LE || e == Encoding::Utf16BE;
    return f;
}

class Inputs {
public:
    static Inputs& get()
    {
        static Inputs inputs;
        return inputs;
    }
    QString dir() const { return m_dir.path(); }
    QString scratch(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // The text of a shape, as UTF-8.
    const QByteArray& text(Shape s)
    {
        QByteArray& t = m_text[int(s)];
        if (t.isEmpty()) {
            switch (s) {
            case Shape::Page1Mb: t = makePage(1 << 20, 1, false); break;
            case Shape::Page20Mb: t = makePage(20 << 20, 20, false); break;
            case Shape::OneLine5Mb: t = makePage(5 << 20, 5, true); break;
            case Shape::Page200Mb: t = makePage(200 << 20, 200, false); break;
            }
        }
        return t;
    }

    // The shape stored in the encoding, written on first use.
    const Input& file(Shape s, Encoding e)
    {
        Input& in = m_files[int(s)][int(e)];
        if (in.path.isEmpty()) {
            const QByteArray& utf8 = text(s);
            bool lost = false;
            const QByteArray bytes = TextFile::encode(utf8, formatOf(e), &lost);
            in.path = m_dir.filePath(QStringLiteral("%1-%2.html")
                                         .arg(QLatin1String(shapeName(s)), QLatin1String(encodingName(e))));
            QFile f(in.path);
            if (lost || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
                std::fprintf(stderr, "cannot make %s\n", qPrintable(in.path));
                std::exit(2);
            }
            in.fileBytes = bytes.size();
            in.utf8Bytes = utf8.size();
        }
        return in;
    }

private:
    Inputs() = default;
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/qp-bench-textfile-XXXXXX")};
    QByteArray m_text[4];
    Input m_files[4][4];
};

// ---------------------------------------------------------------- helpers

// The editor's window as the user sees it: the control fills it.
struct ShownPad {
    std::unique_ptr<RichTextBox> pad{new RichTextBox};
    ShownPad()
    {
        pad->resize(860, 560);
        pad->show();
        QCoreApplication::processEvents();
        pad->repaint();
    }
    // Loads a file and paints it, as opening it in the editor does; a file
    // that cannot be loaded ends the case with an error.
    bool loadAndPaint(const QString& path, benchmark::State& state)
    {
        if (!pad->document().load(path).ok()) {
            state.SkipWithError("cannot load");
            return false;
        }
        pad->repaint();
        QCoreApplication::processEvents();
        return true;
    }
};

// ---------------------------------------------------------------- cases

void BM_TextFileRead(benchmark::State& state, Shape s, Encoding e)
{
    const Input& in = Inputs::get().file(s, e);
    qint64 out = 0;
    for (auto _ : state) {
        out = 0;
        const Result<TextFile::ReadInfo> r = TextFile::read(
            in.path,
            [&out](const char* p, qsizetype n) {
                benchmark::DoNotOptimize(p);
                out += n;
            },
            [&out](qsizetype) { out = 0; });
        if (!r || r->format.encoding != e || out != in.utf8Bytes) {
            state.SkipWithError("the file did not read back as written");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * in.fileBytes);
    state.counters["file_MB"] = in.fileBytes / 1048576.0;
}

void BM_TextFileWrite(benchmark::State& state, Shape s, Encoding e)
{
    const Input& in = Inputs::get().file(s, e);
    const QByteArray& utf8 = Inputs::get().text(s);
    const QString target = Inputs::get().scratch("written.html");
    for (auto _ : state) {
        const Result<TextFile::WriteInfo> r = TextFile::write(target, utf8, formatOf(e));
        if (!r || r->switchedToUtf8) {
            state.SkipWithError("cannot write the file");
            return;
        }
    }
    if (QFileInfo(target).size() != in.fileBytes)
        state.SkipWithError("the written file differs in size from the input");
    state.SetBytesProcessed(state.iterations() * in.fileBytes);
}

// A fresh control per iteration, as a start-up with a file argument has;
// making and destroying it is not timed.
void BM_LoadFile(benchmark::State& state, Shape s, Encoding e)
{
    const Input& in = Inputs::get().file(s, e);
    for (auto _ : state) {
        state.PauseTiming();
        auto pad = std::make_unique<RichTextBox>();
        state.ResumeTiming();
        const auto r = pad->document().load(in.path);
        state.PauseTiming();
        if (!r || pad->document().utf8().size() != in.utf8Bytes) {
            state.SkipWithError("the control does not hold the file's text");
            return;
        }
        pad.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * in.fileBytes);
}

// Into a shown control, up to the end of the first paint of the loaded text.
void BM_LoadFileAndPaint(benchmark::State& state, Shape s, Encoding e)
{
    const Input& in = Inputs::get().file(s, e);
    QElapsedTimer t;
    double loadNs = 0, paintNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<ShownPad>();
        state.ResumeTiming();
        t.start();
        const auto r = shown->pad->document().load(in.path);
        loadNs += t.nsecsElapsed();
        t.start();
        shown->pad->repaint();
        QCoreApplication::processEvents();
        paintNs += t.nsecsElapsed();
        state.PauseTiming();
        if (!r) {
            state.SkipWithError("cannot load");
            return;
        }
        shown.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * in.fileBytes);
    state.counters["load_ms"] = loadNs / 1e6 / double(state.iterations());
    state.counters["paint_ms"] = paintNs / 1e6 / double(state.iterations());
}

void BM_SaveFile(benchmark::State& state, Shape s, Encoding e)
{
    const Input& in = Inputs::get().file(s, e);
    RichTextBox pad;
    if (!pad.document().load(in.path).ok()) {
        state.SkipWithError("cannot load");
        return;
    }
    const QString target = Inputs::get().scratch("saved.html");
    for (auto _ : state) {
        const auto r = pad.document().save(target);
        if (!r || pad.document().format().encoding != e) {
            state.SkipWithError("cannot save");
            return;
        }
    }
    QFile a(in.path), b(target);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.readAll() != b.readAll())
        state.SkipWithError("the saved file is not the loaded one byte for byte");
    state.SetBytesProcessed(state.iterations() * in.fileBytes);
}

// ---------------------------------------------------------------- typing

// One typed character, up to the end of the repaint it causes, with the caret
// at the end of the document: the worst place for anything that counts
// characters from the start (in the single line, also the end of the line).
void BM_Keystroke(benchmark::State& state, Shape s)
{
    const Input& in = Inputs::get().file(s, Encoding::Utf8);
    ShownPad shown;
    RichTextBox& pad = *shown.pad;
    QElapsedTimer t;
    t.start();
    if (!shown.loadAndPaint(in.path, state))
        return;
    const double openMs = t.nsecsElapsed() / 1e6;
    const long length = EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    t.start();
    EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(length));
    pad.setFocus();
    pad.repaint();
    QCoreApplication::processEvents();
    const double caretMs = t.nsecsElapsed() / 1e6;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QCoreApplication::sendEvent(&pad, &press);
        QCoreApplication::sendEvent(&pad, &release);
        pad.repaint();
        QCoreApplication::processEvents();
    }
    if (EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_GETLENGTH) != length + long(state.iterations()))
        state.SkipWithError("the keystrokes did not reach the text");
    state.counters["open_and_paint_ms"] = openMs;
    state.counters["caret_to_end_ms"] = caretMs;
}

// Setting the font and size the control already has, as the main window does
// each time it is activated. Applying a font throws every line layout away,
// so the control must notice that nothing changes.
void BM_ReapplySameFont(benchmark::State& state, Shape s)
{
    const Input& in = Inputs::get().file(s, Encoding::Utf8);
    ShownPad shown;
    RichTextBox& pad = *shown.pad;
    if (!shown.loadAndPaint(in.path, state))
        return;
    const QString name = pad.FontName();
    const double size = pad.FontSize();
    for (auto _ : state) {
        pad.SetFontName(name);
        pad.SetFontSize(size);
        pad.repaint();
        QCoreApplication::processEvents();
    }
}

// The repaint of the caret's few pixels, twice a second while the caret
// blinks; the whole caret line is drawn for it. caret_period_ms is the
// control's blink period after loading (0: the caret does not blink).
void BM_CaretBlinkRepaint(benchmark::State& state, Shape s)
{
    const Input& in = Inputs::get().file(s, Encoding::Utf8);
    ShownPad shown;
    RichTextBox& pad = *shown.pad;
    if (!shown.loadAndPaint(in.path, state))
        return;
    const long caret = EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const int x = int(EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, caret));
    const int y = int(EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, caret));
    const int h = int(EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
    for (auto _ : state)
        pad.viewport()->repaint(QRect(x - 1, y, 3, h));
    state.counters["caret_period_ms"] = double(EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_GETCARETPERIOD));
}

// ---------------------------------------------------------------- memory

// The child side of BM_LoadInFreshProcess, in the main window's order: the
// control is made, the file loaded into it while it is hidden, then it is
// shown at the window's size and painted. Prints the memory at each step (kB)
// and the times (ms).
int loadChild(const QString& path)
{
    RichTextBox pad;
    QCoreApplication::processEvents();
    const double before = procKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    const auto r = pad.document().load(path);
    const double loadMs = t.nsecsElapsed() / 1e6;
    const double loaded = procKb("VmRSS:");
    t.start();
    pad.resize(860, 560);
    pad.show();
    QCoreApplication::processEvents();
    pad.repaint();
    QCoreApplication::processEvents();
    const double paintMs = t.nsecsElapsed() / 1e6;
    const double painted = procKb("VmRSS:");
    const long lines = EngineProbe::of(pad).SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    std::printf("%s %.0f %.0f %.0f %.0f %.3f %.3f %ld\n", r.ok() ? "ok" : "failed", before, loaded, painted,
                procKb("VmHWM:"), loadMs, paintMs, lines);
    std::fflush(stdout);
    std::_Exit(0);
}

// Resident memory of a fresh process: an empty control, then the file loaded
// and shown. Iteration time: the load and the first paint.
void BM_LoadInFreshProcess(benchmark::State& state, Shape s, Encoding e)
{
    const Input& in = Inputs::get().file(s, e);
    QList<QByteArray> reply;
    for (auto _ : state) {
        reply = runChild(state, {QStringLiteral("--load-child"), in.path}, 120000, 8);
        if (reply.isEmpty())
            return;
        state.SetIterationTime((reply[5].toDouble() + reply[6].toDouble()) / 1e3);
    }
    const double mb = 1024.0;
    state.counters["load_ms"] = reply[5].toDouble();
    state.counters["show_paint_ms"] = reply[6].toDouble();
    state.counters["rss_empty_MB"] = reply[1].toDouble() / mb;
    state.counters["rss_loaded_MB"] = reply[2].toDouble() / mb;
    state.counters["rss_shown_MB"] = reply[3].toDouble() / mb;
    state.counters["rss_peak_MB"] = reply[4].toDouble() / mb;
    state.counters["added_per_text_byte"] = (reply[3].toDouble() - reply[1].toDouble()) * 1024.0 / in.utf8Bytes;
    state.counters["peak_per_file_byte"] = reply[4].toDouble() * 1024.0 / double(in.fileBytes);
    state.counters["lines"] = reply[7].toDouble();
    state.SetBytesProcessed(state.iterations() * in.fileBytes);
}

void registerAll()
{
    const Shape shapes[] = {Shape::Page1Mb, Shape::Page20Mb, Shape::OneLine5Mb};
    const Encoding encodings[] = {Encoding::Utf8, Encoding::Cp1252, Encoding::Utf16LE};
    auto name = [](const char* what, Shape s, Encoding e) {
        return std::string(what) + "/" + shapeName(s) + "/" + encodingName(e);
    };
    using PerFile = void (*)(benchmark::State&, Shape, Encoding);
    const std::pair<const char*, PerFile> perFile[] = {
        {"TextFileRead", BM_TextFileRead}, {"TextFileWrite", BM_TextFileWrite}, {"LoadFile", BM_LoadFile},
        {"LoadFileAndPaint", BM_LoadFileAndPaint}, {"SaveFile", BM_SaveFile}};
    for (const auto& [what, fn] : perFile)
        for (Shape s : shapes)
            for (Encoding e : encodings)
                benchmark::RegisterBenchmark(name(what, s, e).c_str(), fn, s, e)->Unit(benchmark::kMillisecond);
    for (Shape s : {Shape::Page20Mb, Shape::OneLine5Mb})
        benchmark::RegisterBenchmark((std::string("Keystroke/") + shapeName(s)).c_str(), BM_Keystroke, s)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(s == Shape::OneLine5Mb ? 5 : 50);
    for (Shape s : {Shape::Page20Mb, Shape::OneLine5Mb}) {
        benchmark::RegisterBenchmark((std::string("ReapplySameFont/") + shapeName(s)).c_str(), BM_ReapplySameFont, s)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(s == Shape::OneLine5Mb ? 3 : 20);
        benchmark::RegisterBenchmark((std::string("CaretBlinkRepaint/") + shapeName(s)).c_str(), BM_CaretBlinkRepaint,
                                     s)
            ->Unit(benchmark::kMillisecond);
    }
    for (Shape s : {Shape::Page1Mb, Shape::Page20Mb, Shape::OneLine5Mb, Shape::Page200Mb})
        for (Encoding e : encodings)
            benchmark::RegisterBenchmark(name("LoadInFreshProcess", s, e).c_str(), BM_LoadInFreshProcess, s, e)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
}

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool child = argc == 3 && std::strcmp(argv[1], "--load-child") == 0;
    int qtArgc = child ? 1 : argc;
    QApplication app(qtArgc, argv);
    Fonts::installDefaultSubstitute();
    if (child)
        return loadChild(QString::fromLocal8Bit(argv[2]));

    registerAll();
    std::fprintf(stderr, "inputs in %s\n", qPrintable(Inputs::get().dir()));
    return runBenchmarks(argc, argv);
}
