#pragma once
#include "html/HtmlElementPath.h"
#include "html/HtmlParser.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

namespace Html {

// A stretch of the page's bytes, [begin, end).
struct ByteRange {
    qsizetype begin = -1;
    qsizetype end = -1;
    bool isNull() const { return begin < 0; }
    bool operator==(const ByteRange&) const = default;
};

// The start and end tag of one element, each whole ("<div class=a>") and by
// its name alone ("div"). The end ranges are null when the element has no
// end tag in the text (its end is implied, or it runs to the end of the page).
struct TagPair {
    ByteRange start, startName;
    ByteRange end, endName;
};

}

// What the markup of one document means at a caret: the closing tag to type
// for the user, the element around the caret and its path in the preview.
// The page is given to every query as the document's UTF-8 bytes, and every
// position is a byte offset in it (0 <= position <= page.size()).
//
// A caret is in an element from just after the '<' of its start tag up to
// just before the '>' of its end tag: "<p>te|xt</p>", "<p>|", "<p cl|ass>",
// "|</p>" and "</p|>" are in p; "|<p>" and "</p>|" are not. An element whose
// end is implied holds the caret up to where the next token begins
// ("<li>one|<li>two": the first li).
//
// One object serves one document and keeps, every `interval` bytes, the
// parse state at a tag's end, so that a query near the caret reads only from
// the last kept state before it: typing at the end of a large page reads a
// few kilobytes, not the page. Each edit must be told (textChanged) before
// the next query; a query never needs more than one pass over the page, and
// the first query after opening (or after an edit near the start of the
// page) makes that pass once. A tag pair whose end lies far ahead is found
// from the last kept state in which its element is still open. A kept state
// whose last 32 bytes changed untold is noticed and dropped; other untold
// changes are not. One thread at a time.
class HtmlOutline {
public:
    // `interval`: the bytes between kept states (smaller: faster queries
    // near the caret, more memory; 16 KB keeps about 4 % of the page).
    explicit HtmlOutline(Html::Syntax syntax = Html::Syntax::Html, qsizetype interval = 16 * 1024);

    Html::Syntax syntax() const { return m_syntax; }
    // HTML or XML (e.g. when the document's language changes); forgets all.
    void setSyntax(Html::Syntax syntax);
    // The bytes from `position` on may have changed (inserted, removed or
    // replaced): what was kept about them is forgotten.
    void textChanged(qsizetype position);

    // The memory the kept states take.
    qsizetype keptBytes() const;

    // The closing tag to insert after `caret`, when the byte before the
    // caret is the '>' that ends a start tag: "</Div>" after "<Div class=x>"
    // (the name as the user wrote it). None when that '>' ends no start tag
    // (an end tag, "<x/>", "<!DOCTYPE>", "<!-- -->", "<?xml ?>", a '>' inside
    // a quoted value or in server code), when the tag stands inside a
    // comment, script, style or other raw text, in HTML for void elements
    // (area base br col embed hr img input link meta param source track wbr,
    // and basefont bgsound frame image keygen), and when the very same end
    // tag already follows the caret ("<div>|</div>"). The element need not be
    // one the parser would accept there ("<tr>" outside a table gets "</tr>").
    std::optional<QByteArray> closingTagAfter(QByteArrayView page, qsizetype caret);

    // The name to complete when "</" was just typed before `caret` (the two
    // bytes before it): the innermost element still open there that has a
    // start tag in the text, as it was written ("Div"), for the caller to
    // insert with the closing '>'. Inside script, style, textarea or title
    // that is the element itself. None inside a comment, a tag, server code
    // or plaintext, or when no element is open.
    std::optional<QByteArray> nameToClose(QByteArrayView page, qsizetype caret);

    // The start and end tags of the element at `position`: the element whose
    // tag holds the position or begins there ("|<p>" is at p), else the
    // innermost element that holds it and has a start tag in the text. None
    // for a void or self-closed element, inside a tag the parser ignores (a
    // stray "</div>"), and outside every element. The end tag is the one that
    // closed the element; for body and html, their own end tag where it
    // counted (they are never closed: what follows still goes into body).
    std::optional<Html::TagPair> tagPairAt(QByteArrayView page, qsizetype position);

    // HTML only: the path of the element holding `position` (inside a start
    // tag, its element; inside an end tag, the element it closes; in text
    // that a table moves before itself, the table). None outside every
    // element below body (text directly in body included), in head, script,
    // style and template, and for XML. The path is the element's place as the
    // parse reaches the position: where a later misnested formatting end
    // moves the element in the browser ("<b>1<p>2|</b>3"), the browser finds
    // no element at that path.
    std::optional<Html::ElementPath> elementPathAt(QByteArrayView page, qsizetype position);

    // HTML only: the position of the '<' of the start tag of the element at
    // `path`. None when the text holds no such element, when the element has
    // no start tag of its own (implied, like tbody, or reopened by the
    // parser, like a b continued into the next paragraph), when ids disagree,
    // and for XML. Reads from the page's start.
    std::optional<qsizetype> startTagOf(QByteArrayView page, const Html::ElementPath& path);

private:
    struct Checkpoint {
        qsizetype position;
        size_t check;
        Html::Parser parser;
    };
    // The parse up to a position: every token that ends at or before it
    // applied, and the token that holds it, if one does, not applied.
    struct Reach {
        Html::Parser parser;
        std::optional<Html::Token> holding;
    };
    Reach reach(QByteArrayView page, qsizetype position);
    Html::Parser resumeBefore(QByteArrayView page, qsizetype position);
    void advance(QByteArrayView page, Html::Parser& parser, const Html::Token& token);
    bool keptStillHolds(QByteArrayView page, const Html::Element& element, qsizetype after, Html::Parser& parser);
    size_t checkOf(QByteArrayView page, qsizetype position) const;

    Html::Syntax m_syntax;
    qsizetype m_interval;
    std::vector<Checkpoint> m_checkpoints;
};
