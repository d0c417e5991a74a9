#pragma once
#include "base/Result.h"
#include "html/TidyCheck.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// The problems of a page as the editor marks them while typing pauses: what
// HTML Tidy is shown of the page, which of its reports are kept, how much
// text a mark underlines, where the next one is, and how they are counted.
namespace PageProblems {

using Problems = std::vector<TidyCheck::Problem>;

// The page as Tidy is shown it: every byte of server code (<?php ?>, <?= ?>,
// <? ?>, <% %>) becomes a blank, or an "x" inside a quoted attribute value
// (a link whose address is written by PHP is a good address); line breaks
// stay. An XML declaration is no server code. The length and every line
// break stay where they were, so that each position Tidy reports is the
// same byte offset in the page.
QByteArray withoutServerCode(QByteArrayView page);

// A page without <!DOCTYPE>, <html>, <head>, <body> or <frameset> is a part
// of a page (an include, a template's piece): what Tidy says about the frame
// it lacks is no problem of it.
bool isFragment(QByteArrayView page);

// The problems worth marking: for a fragment, not those about its missing
// frame (no doctype, no title, an implied body, text or tags "not allowed in
// <head>" that only stand in an implied head); the same message at the same
// place once, as Tidy repeats some for every character they concern.
Problems kept(Problems problems, bool fragment);

// Checks a page (safe on any thread): server code hidden, Tidy's problems
// kept as above, placed by byte offset in the page as given.
Result<Problems> check(QByteArrayView page);

// The text a problem's mark underlines, as byte offsets into `text`, from
// the problem's place: a whole tag that starts there (up to its ">" or its
// line's end), an entity reference, or the word there; at least one whole
// character; at a line's end (or the text's), the character before it.
// Never beyond its line. An empty text gives an empty span.
struct Span {
    qsizetype start = 0;
    qsizetype end = 0;
    friend bool operator==(const Span&, const Span&) = default;
};
Span underlined(QByteArrayView text, qsizetype offset);
// The longest text a mark underlines, so that a caller can pass a window
// of the page rather than the whole of it.
constexpr qsizetype kLongestMark = 512;

// Where F8 (forward) or Shift+F8 goes among the marks' starts (ascending)
// from the caret: the first start after it, or the last before it, round
// from the end to the beginning. -1 when there are none.
qsizetype nextStop(const std::vector<qsizetype>& starts, qsizetype caret, bool forward);

// "2 errors, 1 warning", "1 error", "3 warnings"; "" when there are none.
QString summary(qsizetype errors, qsizetype warnings);

}
