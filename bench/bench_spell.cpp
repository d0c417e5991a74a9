// Finding the misspelt words of a web page with the system's English
// (United States) dictionary: the wait before the spelling dialog opens.
// A 1 MB page must take well under a second; a 20 MB one is read in slices
// behind a progress dialog, so its time is what the bar spans.
#include "doctools/MisspellingFinder.h"
#include "doctools/SpellingSession.h"
#include "services/HunspellSpeller.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

namespace {

const QString kDictionary = QStringLiteral("en_US");

// The dictionary's own stems: a page with a far larger vocabulary than
// prose has, so that few lookups are saved by repetition.
const QStringList& vocabulary()
{
    static const QStringList words = [] {
        QStringList out;
        QFile dic(HunspellSpeller::systemFolder() + QStringLiteral("/en_US.dic"));
        if (dic.open(QIODevice::ReadOnly)) {
            dic.readLine();
            while (!dic.atEnd()) {
                const QString word = QString::fromUtf8(dic.readLine()).section(QLatin1Char('/'), 0, 0).trimmed();
                if (!word.isEmpty() && word.size() < 14)
                    out << word;
            }
        }
        return out;
    }();
    return words;
}

// A hand-written-looking page of paragraphs, links and table rows, every
// fiftieth word with two letters swapped; the same page for the same size.
QString page(qsizetype size)
{
    QRandomGenerator random(2004);
    const QStringList& words = vocabulary();
    QString out = QStringLiteral("<!DOCTYPE html>\r\n<html>\r\n<head><title>Notes</title>\r\n"
                                 "<style>p { margin: 0 }</style></head>\r\n<body>\r\n");
    long n = 0;
    while (out.size() < size) {
        out += (n % 7 == 0) ? QStringLiteral("<tr><td class=\"cell\">") : QStringLiteral("<p>");
        for (int i = 0; i < 12; ++i, ++n) {
            QString w = words.at(int(random.bounded(qsizetype(words.size()))));
            if (n % 50 == 25 && w.size() > 3)
                std::swap(w[1], w[2]);
            if (i == 6)
                out += QStringLiteral("<a href=\"page") + QString::number(n) + QStringLiteral(".html\">") + w
                       + QStringLiteral("</a> ");
            else
                out += w + QLatin1Char(' ');
        }
        out += (n % 7 == 0) ? QStringLiteral("</td></tr>\r\n") : QStringLiteral("&nbsp;done.</p>\r\n");
    }
    out += QStringLiteral("</body>\r\n</html>\r\n");
    return out;
}

// Nothing when the dictionary is not installed.
Speller* speller()
{
    static const std::unique_ptr<Speller> s =
        HunspellSpeller::open(HunspellSpeller::systemFolder(), kDictionary).valueOr({});
    return s.get();
}

void BM_LoadDictionary(benchmark::State& state)
{
    for (auto _ : state) {
        const Result<std::unique_ptr<Speller>> s = HunspellSpeller::open(HunspellSpeller::systemFolder(), kDictionary);
        benchmark::DoNotOptimize(s.ok());
    }
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

// The whole search, as the Spell Checker runs it (in 64 KB slices).
void BM_FindMisspellings(benchmark::State& state)
{
    if (!speller()) {
        state.SkipWithError("the en_US dictionary is not installed (hunspell-en-us)");
        return;
    }
    const QString text = page(state.range(0));
    size_t found = 0;
    for (auto _ : state) {
        MisspellingFinder finder(text, *speller());
        while (finder.work(1 << 16)) {
        }
        found = finder.found().size();
    }
    state.counters["misspelt"] = double(found);
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size() * 2);
}
BENCHMARK(BM_FindMisspellings)->Arg(1 << 20)->Arg(20 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();

// What one question of the dialog waits for.
void BM_SuggestOneWord(benchmark::State& state)
{
    const QStringList words{QStringLiteral("recieve"), QStringLiteral("teh"), QStringLiteral("jumpd"),
                            QStringLiteral("seperate"), QStringLiteral("Wendesday")};
    if (!speller()) {
        state.SkipWithError("the en_US dictionary is not installed (hunspell-en-us)");
        return;
    }
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(speller()->suggest(words.at(i++ % words.size())));
}
BENCHMARK(BM_SuggestOneWord)->Unit(benchmark::kMillisecond);

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
