#pragma once
#include "doctools/SpellingText.h"

#include <QHash>
#include <QString>
#include <vector>

class Speller;

// The misspelt words of a document, found in document order. The work can be
// done in slices, so that a long document shows progress and can be called
// off between two slices. Each distinct word is looked up once.
class MisspellingFinder {
public:
    using Misspelling = SpellingText::Word;

    // The text must outlive the finder. Markup or plain text is decided here.
    MisspellingFinder(QStringView text, Speller& speller);

    // Reads on until at least `characters` more of the text are behind it, or
    // to the end. Returns whether there is more to read.
    bool work(qsizetype characters);
    void finish()
    {
        // The words of the last stretch read come after it has been read.
        while (work(m_text.size() + 1)) {
        }
    }

    bool done() const { return m_done; }
    // How much of the text has been read.
    qsizetype position() const { return m_done ? m_text.size() : m_scanner.position(); }
    const std::vector<Misspelling>& found() const { return m_found; }

private:
    bool isCorrect(const QString& word);

    QStringView m_text;
    Speller& m_speller;
    SpellingText::WordScanner m_scanner;
    QHash<QString, bool> m_known;
    std::vector<Misspelling> m_found;
    bool m_done = false;
};
