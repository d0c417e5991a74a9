#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

class RichTextBox;

// The searching and replacing behind the Find/Replace window, with no
// widgets involved, so it can be driven and measured on its own.
namespace FindReplace {

enum class Direction { Left, Right };

// Searches the pad once for `what`, ignoring case, and selects the
// occurrence found. Returns false when there is none (or `what` is empty);
// the selection is then left as it was.
//
// Toward the end (Right) the search starts at the caret when nothing is
// selected, and one character past the start of the selection otherwise, so
// that repeated searches step from one occurrence to the next and an
// occurrence right at the caret is found. Toward the start (Left) it finds
// the last occurrence lying wholly before the start of the selection.
// There is no wrap-around.
bool findNext(RichTextBox& pad, const QString& what, Direction direction);

// What the user is told when findNext finds nothing.
QString notFoundMessage(const QString& what);

// The occurrences of `what` that overlap the bytes [from, to) of the pad's
// text, found as findNext finds them (case ignored), left to right without
// overlap, as byte ranges [start, end). Only the bytes near that stretch
// are read, so it costs what the stretch costs, whatever the document.
struct Occurrence {
    long start = 0;
    long end = 0;
};
QList<Occurrence> occurrencesNear(const RichTextBox& pad, long from, long to, const QString& what);

// Every occurrence of `find` in `text` replaced by `replacement`: an exact
// comparison, left to right, without overlap, and text put in is never
// searched again. An empty `find` replaces nothing. Works on UTF-8 bytes:
// for valid UTF-8 a byte match is exactly a character match.
QByteArray replaced(QByteArrayView text, QByteArrayView find, QByteArrayView replacement);

// Replace All on the pad's whole text. The result is always assigned as the
// pad's new text, even when nothing was replaced: that is one change of the
// document, and the caret goes back to the start. The new text goes in a
// piece at a time as it is made, so a long one shows its progress and the
// old and new text are never both whole in memory.
void replaceAll(RichTextBox& pad, const QString& find, const QString& replacement);

}
