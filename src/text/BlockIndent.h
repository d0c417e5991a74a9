#pragma once
#include <QStringList>

// Tab and Shift+Tab on a selection of several lines: each line indented or
// outdented by one level, the lines staying selected.
//
// Columns are indices into the lines' QStrings. Only blanks (spaces and
// tabs) are inserted or removed, at the start of a line, and a blank is one
// unit in UTF-8 bytes, UTF-16 and characters alike: a caller that counts
// columns in bytes can take the new columns as they are.
namespace BlockIndent {

struct Position {
    int line = 0;
    int column = 0;
    friend bool operator==(const Position&, const Position&) = default;
};

struct Selection {
    Position anchor;
    Position caret;
    friend bool operator==(const Selection&, const Selection&) = default;
};

// Whether Tab indents the selection's lines (it spans more than one line)
// rather than typing a tab.
bool spansLines(const Selection& selection);

// The lines a selection acts on, counted from 0: from its first line to its
// last, except that a selection ending at column 0 of a line does not take
// that line in (the line break before it is all that is selected of it).
struct Lines {
    int first = 0;
    int last = 0;
    friend bool operator==(const Lines&, const Lines&) = default;
};
Lines linesOf(const Selection& selection);

// One level of indentation. `spaces` is how many spaces a level is where
// spaces are used (also in a document indented with tabs, for its lines
// that are indented with spaces).
struct Unit {
    bool tabs = true;
    int spaces = 4;
    friend bool operator==(const Unit&, const Unit&) = default;
};

// The document's level, guessed from a sample of its lines (the lines
// around the block, or the first few thousand), as VS Code guesses it:
// spaces when more of the indented lines begin with a space than with a
// tab, and then as many as the indentation most often grows by from one
// non-blank line to the next (the first growing from none; 1 to 8, the
// fewer on a tie). A tab otherwise, also when no line is indented; `spaces`
// is then the tab width.
Unit detect(const QStringList& sample, int tabWidth);

struct Outcome {
    QStringList lines;        // the block's new text, line by line
    Selection selection;      // the same lines selected in the new text
    bool changed = false;     // false: nothing to do (no undo step wanted)
};

// `lines` are the texts of the lines linesOf() gives (without their line
// breaks), the first of them being line `firstLine` of the document.
//
// Indent: each line gets one level in front, of the kind its indentation
// already begins with (a tab, or `unit.spaces` spaces); a line with no
// indentation gets the document's unit. Empty lines stay empty.
Outcome indent(const QStringList& lines, int firstLine, const Selection& selection, const Unit& unit);

// Outdent: each line loses one level from its front: a leading tab, or up to
// `unit.spaces` leading spaces. Lines without indentation stay as they are.
Outcome outdent(const QStringList& lines, int firstLine, const Selection& selection, const Unit& unit);

}
