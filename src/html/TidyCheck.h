#pragma once
#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// The problems HTML Tidy (libtidy, HTML5-aware) finds in a page: its errors
// and warnings, each where Tidy says it is, in Tidy's own English words.
// Safe to call from any thread, several at once.
namespace TidyCheck {

enum class Severity { Warning, Error };

struct Problem {
    Severity severity = Severity::Warning;
    // As Tidy counts them, from 1: lines end at CR LF, LF or a lone CR;
    // columns count characters (code points), a tab moving to the next
    // stop of kTabSize columns, a leading byte-order mark not at all.
    int line = 1;
    int column = 1;
    // Where that is in the text that was checked, in bytes (see offsetOf).
    qsizetype offset = 0;
    QString message;   // "<foo> is not recognized!"
    QByteArray key;    // Tidy's stable name of the message, "UNKNOWN_ELEMENT"
    friend bool operator==(const Problem&, const Problem&) = default;
};

// The tab stops Tidy is told to count columns with.
constexpr int kTabSize = 8;

// The largest page, in bytes of UTF-8, that is checked while typing pauses.
// Measured with bench_tidy on the 2-core build machine (Release, Tidy
// 5.6.0): one check of a hand-written-style page takes about 70 ms of CPU
// at 1 MiB (about 105 ms when a problem stands in every other block), 135 ms
// at 1.5 MiB; so about 100 ms at this size (bench/README.md).
constexpr qsizetype kLargestChecked = 1 << 20;

// Checks the page's UTF-8 text. The problems come in the order of their
// position (Tidy reports some later than others after them); a page
// without problems gives none. Only errors and warnings are returned, never
// Tidy's information, accessibility or configuration notes or its summary.
// Fails only when Tidy cannot take the text at all.
Result<std::vector<Problem>> check(QByteArrayView utf8);

// The byte offset in the text of Tidy's line and column: a column past the
// end of its line gives the line's end (before its line break), a line past
// the last gives the end of the text. An invalid UTF-8 sequence counts as one
// column, as Tidy counts it.
qsizetype offsetOf(QByteArrayView utf8, int line, int column);

}
