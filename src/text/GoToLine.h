#pragma once
#include "base/Result.h"

#include <QStringView>
#include <functional>

// What the user typed into the go-to-line box, read against the document.
namespace GoToLine {

// Counted from 0, the column in characters (code points, a tab as one).
struct Target {
    int line = 0;
    int column = 0;
    friend bool operator==(const Target&, const Target&) = default;
};

// The length in characters of a line (counted from 0), without its break.
using LineLength = std::function<int(int line)>;

// Reads "12" or "12:5" (line and column counted from 1, as the status bar
// shows them; blanks around either number allowed) for a document of
// lineCount lines. A column past the end of its line goes to the line's
// end; no column (or nothing after the colon) is the line's start. Fails
// with a sentence for the user when the text is not a line number (or the
// column not a column number), or the line is past the end of the document.
Result<Target> parse(QStringView typed, int lineCount, const LineLength& lineLength);

}
