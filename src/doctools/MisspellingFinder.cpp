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
        else if (!isCorrect(m_text.mid(w->start, w->length)))
            m_found.push_back(*w);
    }
    return !m_done;
}

bool MisspellingFinder::isCorrect(QStringView word)
{
    const QString key = word.toString();
    const auto known = m_known.constFind(key);
    if (known != m_known.cend())
        return *known;
    // A word of another writing system than the dictionary's is not the
    // dictionary's to judge.
    const bool correct = WebWords::contains(word) || !m_speller.handles(key) || m_speller.check(key);
    m_known.insert(key, correct);
    return correct;
}
