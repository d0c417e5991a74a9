#pragma once
#include <QByteArrayView>
#include <QString>

// The caret and the selection as the status bar tells them. Characters are
// Unicode code points: a tab is one, an accented letter typed as a letter
// and a combining mark is two, an emoji is one.
namespace StatusText {

// "Ln 12, Col 5" for the caret on line 11, column 4, both counted from 0.
QString caret(int line, int column);

// The caret's column in characters: the characters of its line's UTF-8
// text before it.
int column(QByteArrayView lineBeforeCaret);

// The characters of a selection's UTF-8 text; a CR LF is one line break.
qsizetype characters(QByteArrayView utf8);

// "12 selected"; "" when nothing is selected.
QString selection(qsizetype characters);

}
