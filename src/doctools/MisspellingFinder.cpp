#include "doctools/MisspellingFinder.h"
#include "doctools/WebWords.h"
#include "services/Speller.h"

MisspellingFinder::MisspellingFinder(QStringView text, Speller& speller)
    : m_text(text), m_speller(speller), m_scanner(text, SpellingText::isMarkup(text))
{
}

bool MisspellingFinder::work(qsizetype characters)
{
    const qsizetype until = m_scanner.position() + characters;
    while (!m_done && m_scanner.position() < until) {
        const std::optional<SpellingText::Word> w = m_scanner.next();
        if (!w)
            m_done = true;
        else if (!isCorrect(SpellingText::spelling(m_text, *w)))
            m_found.push_back(std::move(*w));
    }
    return !m_done;
}

bool MisspellingFinder::isCorrect(const QString& word)
{
    const auto known = m_known.constFind(word);
    if (known != m_known.cend())
        return *known;
    // A word of another writing system than the dictionary's is not the
    // dictionary's to judge.
    const bool correct = WebWords::contains(word) || !m_speller.handles(word) || m_speller.check(word);
    m_known.insert(word, correct);
    return correct;
}
