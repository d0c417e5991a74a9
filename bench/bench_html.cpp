// The HTML queries that run on key presses and caret moves (HtmlOutline),
// at the end of a 20 MB page:
//  - the closing tag after a typed '>', the name to complete after "</",
//    the tag pair and the element path at the caret, each as typing calls
//    them (the outline kept, the edit just before the caret told) and as the
//    first query after opening (a fresh outline: one pass from the start);
//  - the tag pair with the caret in body at the top of the page, whose end
//    tag is the page's last: the longest read forward, after a caret move
//    and while typing there;
//  - the start tag of the path of the page's last paragraph (a click in the
//    preview): one pass from the start;
//  - a whole parse, for its speed per byte.
//
// The page is made in memory, deterministically: a hand-written-style page
// with CR LF line breaks, a style sheet in its head, and sections of
// paragraphs with links and entities, tables with and without tbody, lists
// whose items are not closed, forms with PHP, scripts and comments; it ends
// with a paragraph where "<div class=\"note\">" has just been typed.
//
//   build-bench/bench/bench_html
//   build-bench/bench/bench_html --benchmark_filter=Kept
#include "html/HtmlOutline.h"

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

const char* const kWords[] = {"the",   "page",    "site",  "web",     "editor", "layout", "header", "menu",
                              "link",  "table",   "cell",  "form",    "price",  "offer",  "garden", "recipe",
                              "photo", "caf\xc3\xa9", "na\xc3\xafve", "lorem", "ipsum",  "dolor",  "amet",   "magna"};

class Page {
public:
    explicit Page(qsizetype target) : m_gen(20)
    {
        m_out.reserve(target + 4096);
        for (const char* l : {"<!DOCTYPE html>", "<html lang=\"en\">", "<head>", "<meta charset=\"utf-8\">",
                              "<title>Benchmark page</title>", "<style type=\"text/css\">",
                              "  body { font-family: Verdana, sans-serif; margin: 0 auto; max-width: 960px; }",
                              "  p > a, .box { border: 1px solid #ccc; padding: 8px !important; }", "</style>",
                              "</head>", "<body>", "<p>Top of the page, in body.</p>"})
            put(l);
        for (int n = 0; m_out.size() < target - 256; ++n)
            section(n);
        put("<section id=\"end\">");
        put("  <p>Last words</p>");
        put("  <p>The end: <div class=\"note\">");
        m_caret = m_out.size() - 2;
        put("</section>");
        put("</body>");
        put("</html>");
    }
    const QByteArray& bytes() const { return m_out; }
    // Just after the '>' typed last.
    qsizetype caret() const { return m_caret; }

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
        m_out.append("\r\n");
    }
    void section(int n)
    {
        const std::string id = std::to_string(n);
        put("<section id=\"s" + id + "\" class=\"card\">");
        put("  <h2>" + sentence(2, 5) + "</h2>");
        switch (n % 6) {
        case 0:
            for (int i = 1 + int(below(3)); i > 0; --i)
                put("  <p>" + sentence() + "</p>");
            break;
        case 1:
            put("  <ul>");
            for (int i = 2 + int(below(4)); i > 0; --i)
                put("    <li>" + sentence(2, 6));
            put("  </ul>");
            break;
        case 2:
            put(below(2) ? "  <table border=\"1\">" : "  <table border=\"1\"><tbody>");
            for (int i = 1 + int(below(5)); i > 0; --i)
                put("    <tr><td>" + std::to_string(i) + "</td><td>" + sentence(2, 6) + "</td><td>&euro; " +
                    std::to_string(below(999)) + "</td></tr>");
            put("  </table>");
            break;
        case 3:
            put("  <form action=\"<?php echo $url; ?>\" method=\"post\">");
            put("    <label for=\"n" + id + "\">Name</label> <input type=\"text\" id=\"n" + id + "\" name=\"name\">");
            put("    <p>Total: <?php echo number_format($total, 2); ?> &euro;<br>");
            put("  </form>");
            break;
        case 4:
            put("  <script type=\"text/javascript\">");
            put("    if (a < b && c > d) document.getElementById('s" + id + "').innerHTML = \"<p>" + id + "</p>\";");
            put("  </script>");
            break;
        default:
            put("  <!-- <p>" + sentence(2, 4) + "</p> -->");
            put("  <p>" + sentence() + "<img src=\"i" + id + ".png\" alt=\"\"></p>");
            break;
        }
        put("</section>");
    }

    std::mt19937 m_gen;
    QByteArray m_out;
    qsizetype m_caret = 0;
};

const Page& page()
{
    static const Page p(20 << 20);
    return p;
}

qsizetype lastParagraphText()
{
    return page().bytes().lastIndexOf("Last words") + 4;
}

qsizetype afterLastEndTagOpen()
{
    return page().bytes().lastIndexOf("</p>") + 2;
}

// As typing calls a query: the outline kept, the edit just before the caret told.
template <typename Query>
void kept(benchmark::State& state, qsizetype caret, Query query)
{
    const QByteArray& bytes = page().bytes();
    HtmlOutline outline;
    query(outline, bytes, caret); // the first pass, once
    for (auto _ : state) {
        outline.textChanged(caret - 1);
        benchmark::DoNotOptimize(query(outline, bytes, caret));
    }
}

// As the first query after opening the page.
template <typename Query>
void fresh(benchmark::State& state, qsizetype caret, Query query)
{
    const QByteArray& bytes = page().bytes();
    qsizetype kept = 0;
    for (auto _ : state) {
        HtmlOutline outline;
        benchmark::DoNotOptimize(query(outline, bytes, caret));
        kept = outline.keptBytes();
    }
    state.SetBytesProcessed(state.iterations() * caret);
    state.counters["kept_kB"] = double(kept) / 1024;
}

const auto closingTag = [](HtmlOutline& o, QByteArrayView p, qsizetype c) { return o.closingTagAfter(p, c); };
const auto nameToClose = [](HtmlOutline& o, QByteArrayView p, qsizetype c) { return o.nameToClose(p, c); };
const auto tagPair = [](HtmlOutline& o, QByteArrayView p, qsizetype c) { return o.tagPairAt(p, c).has_value(); };
const auto elementPath = [](HtmlOutline& o, QByteArrayView p, qsizetype c) { return o.elementPathAt(p, c); };

void ClosingTagAfterKept(benchmark::State& state)
{
    kept(state, page().caret(), closingTag);
    if (HtmlOutline().closingTagAfter(page().bytes(), page().caret()) != QByteArray("</div>"))
        state.SkipWithError("wrong answer");
}
void ClosingTagAfterFresh(benchmark::State& state)
{
    fresh(state, page().caret(), closingTag);
}
void NameToCloseKept(benchmark::State& state)
{
    kept(state, afterLastEndTagOpen(), nameToClose);
}
void NameToCloseFresh(benchmark::State& state)
{
    fresh(state, afterLastEndTagOpen(), nameToClose);
}
void TagPairKept(benchmark::State& state)
{
    kept(state, lastParagraphText(), tagPair);
}
void TagPairFresh(benchmark::State& state)
{
    fresh(state, lastParagraphText(), tagPair);
}
void ElementPathKept(benchmark::State& state)
{
    kept(state, lastParagraphText(), elementPath);
}
void ElementPathFresh(benchmark::State& state)
{
    fresh(state, lastParagraphText(), elementPath);
}

// The caret in body at the top: its pair ends with the page. Moved there
// (/0: nothing edited since the last query) or typing there (/1: each
// keystroke forgets what was kept after it).
void TagPairBodyAtTop(benchmark::State& state)
{
    const QByteArray& bytes = page().bytes();
    const qsizetype caret = bytes.indexOf("<p>Top") - 1;
    const bool typing = state.range(0) == 1;
    HtmlOutline outline;
    outline.tagPairAt(bytes, caret);
    for (auto _ : state) {
        if (typing)
            outline.textChanged(caret - 1);
        benchmark::DoNotOptimize(outline.tagPairAt(bytes, caret));
    }
}

// A click in the preview on the page's last paragraph.
void StartTagOfPath(benchmark::State& state)
{
    const QByteArray& bytes = page().bytes();
    HtmlOutline outline;
    const std::optional<Html::ElementPath> path = outline.elementPathAt(bytes, lastParagraphText());
    if (!path) {
        state.SkipWithError("no path");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(outline.startTagOf(bytes, *path));
    state.SetBytesProcessed(state.iterations() * lastParagraphText());
    state.counters["steps"] = double(path->size());
}

void WholeParse(benchmark::State& state)
{
    const QByteArray& bytes = page().bytes();
    int elements = 0;
    for (auto _ : state) {
        Html::Parser parser;
        while (parser.position() < bytes.size())
            parser.consume(bytes, parser.peek(bytes));
        elements = parser.depth();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["open_at_end"] = elements;
}

}

BENCHMARK(ClosingTagAfterKept)->Unit(benchmark::kMicrosecond);
BENCHMARK(ClosingTagAfterFresh)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(NameToCloseKept)->Unit(benchmark::kMicrosecond);
BENCHMARK(NameToCloseFresh)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(TagPairKept)->Unit(benchmark::kMicrosecond);
BENCHMARK(TagPairFresh)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ElementPathKept)->Unit(benchmark::kMicrosecond);
BENCHMARK(ElementPathFresh)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(TagPairBodyAtTop)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(StartTagOfPath)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(WholeParse)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
