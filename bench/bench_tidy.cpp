// Checking a page with HTML Tidy while typing pauses: the time of one check
// against the page's size, from which the largest page checked is chosen
// (TidyCheck::kLargestChecked, about 100 ms); and the scans of the whole
// text the status bar makes: the line breaks in use and the characters of a
// selection, on the 20 MB page.
//
//   build-bench/bench/bench_tidy
//   build-bench/bench/bench_tidy --benchmark_filter=TidyCheck
//
// The pages are generated deterministically: a hand-written-style page with
// CR LF line breaks, a style sheet in its head, sections of headings,
// paragraphs with links and inline markup, lists, tables, and forms, some
// text beyond ASCII, and a problem Tidy reports (an unclosed element, an
// unknown attribute, a repeated id, an image without alt text, a bad
// entity) in about every fortieth block (the second argument: every other
// block for a badly broken page).
#include "html/TidyCheck.h"
#include "text/LineBreaks.h"
#include "text/StatusText.h"

#include <QByteArray>
#include <QCoreApplication>

#include "BenchMain.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

QByteArray page(qsizetype target, int problemEvery = 40)
{
    std::mt19937 random{std::uint32_t(target)};
    static const char* const words[] = {"the", "page", "site", "editor", "layout", "header", "footer", "menu",
                                        "link", "table", "cell", "café", "naïve", "price €", "résumé", "list",
                                        "form", "field", "button", "image", "caption", "section", "article"};
    auto word = [&] { return QByteArray(words[random() % (sizeof words / sizeof *words)]); };
    auto sentence = [&](int n) {
        QByteArray s;
        for (int i = 0; i < n; ++i) {
            if (i)
                s += ' ';
            s += word();
        }
        return s;
    };

    QByteArray out = "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                     "<title>Benchmark page</title>\r\n<style>\r\nbody { margin: 0 auto; max-width: 60em; }\r\n"
                     "td, th { padding: 2px 6px; }\r\n</style>\r\n</head>\r\n<body>\r\n";
    long block = 0;
    while (out.size() < target) {
        ++block;
        const QByteArray id = QByteArray::number(block);
        switch (block % 5) {
        case 0:
            out += "<h2 id=\"s" + id + "\">" + sentence(3) + "</h2>\r\n";
            break;
        case 1:
            out += "<p>" + sentence(8) + " <a href=\"page" + id + ".html\">" + sentence(2) + "</a>, <b>" + sentence(2)
                   + "</b> and <em>" + sentence(3) + "</em>.</p>\r\n";
            break;
        case 2:
            out += "<ul>\r\n\t<li>" + sentence(4) + "</li>\r\n\t<li>" + sentence(3) + "</li>\r\n</ul>\r\n";
            break;
        case 3:
            out += "<table>\r\n\t<tr><th>" + word() + "</th><td>" + sentence(3) + "</td></tr>\r\n\t<tr><th>" + word()
                   + "</th><td><img src=\"i" + id + ".png\" alt=\"" + word() + "\"></td></tr>\r\n</table>\r\n";
            break;
        default:
            out += "<form action=\"send.php\" method=\"post\">\r\n\t<label for=\"f" + id + "\">" + word()
                   + "</label>\r\n\t<input id=\"f" + id + "\" name=\"f" + id + "\" type=\"text\">\r\n</form>\r\n";
            break;
        }
        if (block % problemEvery == problemEvery / 2) {
            switch ((block / problemEvery) % 5) {
            case 0: out += "<p>" + sentence(4) + " <b>" + sentence(2) + "</p>\r\n"; break;
            case 1: out += "<p colour=\"red\">" + sentence(4) + "</p>\r\n"; break;
            case 2: out += "<p id=\"s5\">" + sentence(4) + "</p>\r\n"; break;
            case 3: out += "<p><img src=\"x.png\"> " + sentence(3) + "</p>\r\n"; break;
            default: out += "<p>" + sentence(3) + " &amp &bogus; " + word() + "</p>\r\n"; break;
            }
        }
    }
    out += "</body>\r\n</html>\r\n";
    return out;
}

void BM_TidyCheck(benchmark::State& state)
{
    const QByteArray text = page(state.range(0), int(state.range(1)));
    size_t found = 0;
    for (auto _ : state) {
        const Result<std::vector<TidyCheck::Problem>> problems = TidyCheck::check(text);
        if (!problems) {
            state.SkipWithError("Tidy failed");
            return;
        }
        found = problems->size();
    }
    state.counters["problems"] = double(found);
    state.counters["bytes"] = double(text.size());
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
// The usual page (a problem in every fortieth block) from 1 KB to 4 MB, and
// a badly broken one (a problem in every other block) at three sizes.
BENCHMARK(BM_TidyCheck)
    ->ArgsProduct({{1 << 10, 4 << 10, 16 << 10, 64 << 10, 128 << 10, 256 << 10, 512 << 10, 1 << 20, 3 << 19,
                    2 << 20, 4 << 20},
                   {40}})
    ->ArgsProduct({{256 << 10, 1 << 20, 3 << 19}, {2}})
    ->Unit(benchmark::kMillisecond);

const QByteArray& page20Mb()
{
    static const QByteArray text = page(20 << 20);
    return text;
}

// The whole 20 MB page has CR LF breaks only: every byte is read.
void BM_LineBreaks(benchmark::State& state)
{
    const QByteArray& text = page20Mb();
    for (auto _ : state)
        benchmark::DoNotOptimize(LineBreaks::detect(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_LineBreaks)->Unit(benchmark::kMillisecond);

// The characters of the whole page selected, for the status bar.
void BM_SelectedCharacters(benchmark::State& state)
{
    const QByteArray& text = page20Mb();
    for (auto _ : state)
        benchmark::DoNotOptimize(StatusText::characters(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_SelectedCharacters)->Unit(benchmark::kMillisecond);

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
