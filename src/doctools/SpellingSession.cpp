#include "doctools/SpellingSession.h"
#include "services/Speller.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace SpellingSession {

namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

}

SpellingDialog::Question question(QStringView text, qsizetype start, qsizetype length,
                                  const std::vector<Correction>& made)
{
    qsizetype lineStart = start;
    while (lineStart > 0 && !isLineBreak(text[lineStart - 1]))
        --lineStart;
    qsizetype lineEnd = start + length;
    while (lineEnd < text.size() && !isLineBreak(text[lineEnd]))
        ++lineEnd;

    QString line = text.mid(lineStart, lineEnd - lineStart).toString();
    qsizetype wordAt = start - lineStart;
    // Earlier corrections in the same line, last first so that the earlier
    // positions stay valid.
    for (auto c = made.rbegin(); c != made.rend() && c->start >= lineStart; ++c) {
        line.replace(c->start - lineStart, c->length, c->replacement);
        wordAt += c->replacement.size() - c->length;
    }

    if (line.size() > kLongestLine) {
        const QString ellipsis = QStringLiteral("...");
        const qsizetype width = std::max(kLongestLine, length);
        const qsizetype from = std::clamp<qsizetype>(wordAt - (width - length) / 2, 0, line.size() - width);
        const qsizetype to = from + width;
        QString cut = line.mid(from, width);
        wordAt -= from;
        if (from > 0) {
            cut.prepend(ellipsis);
            wordAt += ellipsis.size();
        }
        if (to < line.size())
            cut.append(ellipsis);
        line = cut;
    }
    return {text.mid(start, length).toString(), line, wordAt, length, {}};
}

Outcome run(QStringView text, const std::vector<MisspellingFinder::Misspelling>& misspellings, Speller& speller,
            SpellingDialog& dialog)
{
    Outcome out;
    QHash<QString, QString> changeAll;
    QSet<QString> ignoreAll;
    QHash<QString, QStringList> suggestions;
    bool added = false;

    auto correct = [&out](const MisspellingFinder::Misspelling& m, const QString& word, const QString& replacement) {
        if (replacement != word)
            out.corrections.push_back({m.start, m.length, replacement});
    };

    for (const MisspellingFinder::Misspelling& m : misspellings) {
        // Asked, remembered and compared as the page shows it: caf&eacute;
        // and café are one word.
        const QString word = SpellingText::spelling(text, m);
        if (ignoreAll.contains(word))
            continue;
        // A word added to the dictionary may have made this one right too.
        if (added && speller.check(word)) {
            ignoreAll.insert(word);
            continue;
        }
        if (const auto to = changeAll.constFind(word); to != changeAll.cend()) {
            correct(m, word, *to);
            continue;
        }
        SpellingDialog::Question q = question(text, m.start, m.length, out.corrections);
        q.word = word;
        auto s = suggestions.find(word);
        if (s == suggestions.end())
            s = suggestions.insert(word, speller.suggest(word));
        q.suggestions = *s;

        const SpellingDialog::Reply reply = dialog.ask(q);
        switch (reply.action) {
        case SpellingDialog::Action::Change:
            correct(m, word, reply.replacement);
            break;
        case SpellingDialog::Action::ChangeAll:
            changeAll.insert(word, reply.replacement);
            correct(m, word, reply.replacement);
            break;
        case SpellingDialog::Action::Ignore:
            break;
        case SpellingDialog::Action::IgnoreAll:
            ignoreAll.insert(word);
            break;
        case SpellingDialog::Action::AddToDictionary:
            if (const Result<> kept = speller.addWord(word); !kept && out.wordsKept)
                out.wordsKept = kept;
            ignoreAll.insert(word);
            added = true;
            break;
        case SpellingDialog::Action::Cancel:
            out.cancelled = true;
            return out;
        }
    }
    return out;
}

QString corrected(QStringView text, const std::vector<Correction>& corrections)
{
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (const Correction& c : corrections) {
        out += text.mid(from, c.start - from);
        out += c.replacement;
        from = c.start + c.length;
    }
    out += text.mid(from);
    return out;
}

}
