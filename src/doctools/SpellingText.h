#pragma once
#include <QString>
#include <QStringView>
#include <deque>
#include <optional>

// Which words of a document a spelling check looks at. Web pages are mostly
// markup: tags with their names, attributes and values, comments, entities,
// script and style contents, server-side code blocks (<?php ... ?>,
// <% ... %>) are code, not prose, and are passed over. So are addresses
// (URLs, e-mail, file names) and words with digits or underscores, which are
// identifiers more often than words.
namespace SpellingText {

struct Word {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const Word&, const Word&) = default;
};

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
    qsizetype entityEnd(qsizetype at, qsizetype limit) const;

    QStringView m_text;
    bool m_markup;
    qsizetype m_pos = 0;
    std::deque<Word> m_pending;
};

}
