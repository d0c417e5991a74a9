// Checking a page with HTML Tidy while typing pauses: the time of one check
// against the page's size, from which the largest page checked is chosen
// (TidyCheck::kLargestChecked, about 100 ms); and the scans of the whole
// text the status bar makes: the line breaks in use and the characters of a
// selection, on the 20 MB page.
//
//   build-bench/bench/bench_tidy
//   build-bench/bench/bench_tidy --benchmark_filter=TidyCheck
//
// The pages are BenchPages::checkedPage (a problem Tidy reports in about
// every fortieth block; the second argument: every other block for a badly
// broken page).
#include "html/PageProblems.h"
#include "html/TidyCheck.h"
#include "text/LineBreaks.h"
#include "text/StatusText.h"

#include <QByteArray>
#include <QCoreApplication>

#include "BenchMain.h"
#include "BenchPages.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TidyCheck(benchmark::State& state)
{
    const QByteArray text = BenchPages::checkedPage(state.range(0), int(state.range(1)));
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

// The check the editor runs while typing pauses (PageProblems::check):
// server code hidden from Tidy, then Tidy, then the problems kept; beside
// TidyCheck alone, the cost of what it adds. 1,000,000 bytes is the largest
// of these pages under TidyCheck::kLargestChecked.
void BM_PageProblemsCheck(benchmark::State& state)
{
    const QByteArray text = BenchPages::checkedPage(state.range(0), int(state.range(1)));
    size_t found = 0;
    for (auto _ : state) {
        const Result<PageProblems::Problems> problems = PageProblems::check(text);
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
BENCHMARK(BM_PageProblemsCheck)
    ->ArgsProduct({{64 << 10, 256 << 10, 1000000}, {40}})
    ->Args({1000000, 2})
    ->Unit(benchmark::kMillisecond);

const QByteArray& page20Mb()
{
    static const QByteArray text = BenchPages::checkedPage(20 << 20);
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
