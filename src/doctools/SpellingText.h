#pragma once
#include <QString>
#include <QStringView>
#include <deque>
#include <optional>

// Which words of a document a spelling check looks at. Web pages are mostly
// markup: tags with their names, attributes and values, comments, script and
// style contents, server-side code blocks (<?php ... ?>, <% ... %>) are
// code, not prose, and are passed over. So are addresses (URLs, e-mail, file
// names) and words with digits or underscores, which are identifiers more
// often than words. A page's character references are read as the
// characters they stand for: &nbsp; or &amp; stands between words, and
// caf&eacute; is the word "café".
namespace SpellingText {

struct Word {
    // The word's characters in the document, references inside it included.
    qsizetype start = 0;
    qsizetype length = 0;
    // The word as the page shows it, when that differs from its characters
    // (a reference or a soft hyphen inside it); empty otherwise.
    QString shown;
    friend bool operator==(const Word&, const Word&) = default;
};

// The word to check: as the page shows it.
QString spelling(QStringView text, const Word& word);

// Whether the text is a web page (or a piece of one) rather than plain text:
// it holds a tag, a comment, a declaration or a server-side code block. A
// lone "<" as in "a < b" is no markup.
bool isMarkup(QStringView text);

// Words longer than this are data or run-together code, never prose.
constexpr qsizetype kLongestWord = 64;

// The words to check, in document order, one at a time, so that a long
// document can be taken in slices.
class WordScanner {
public:
    WordScanner(QStringView text, bool markup);

    std::optional<Word> next();
    // How far the scanner has read.
    qsizetype position() const { return m_pos; }

private:
    bool skipMarkup();
    void skipTagBody(qsizetype from);
    void skipPast(qsizetype from, QLatin1StringView end);
    void scanChunk();
    struct Unit;
    Unit unitAt(qsizetype at, qsizetype limit) const;
    // Reads the word that begins with `first` at `start`, within the chunk
    // that ends at `end`; keeps it to be checked when it is a word of the
    // language. Returns where it ends.
    qsizetype readWord(qsizetype start, Unit first, qsizetype end, bool keep);

    QStringView m_text;
    bool m_markup;
    qsizetype m_pos = 0;
    std::deque<Word> m_pending;
};

}
