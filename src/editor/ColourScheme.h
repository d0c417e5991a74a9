#pragma once
#include "editor/SyntaxLanguage.h"

#include <QColor>
#include <QList>

// The one colour scheme of syntax colouring: calm colours that read well on
// white, foregrounds only (every style keeps the editor's font and white
// paper; nothing is bold or italic).
namespace ColourScheme {

// The text of a style sheet inside a page has the CSS lexer's style plus
// this (the HTML lexer's own styles are all below it).
constexpr int kStyleSheetBase = 128;

struct StyleColour {
    int style;
    QColor colour;
};

// The styles of the language's lexer that are not in the text's own colour.
QList<StyleColour> styles(SyntaxLanguage language);

QColor lineNumberText();
QColor lineNumberBackground();

// The squiggles and margin marks of a page's problems.
QColor problemError();
QColor problemWarning();
// The marks around the caret: the caret's line, a bracket pair behind its
// characters, and the box around a tag pair's names (filled lightly with
// this colour and outlined in it).
QColor caretLineBackground();
QColor matchBackground();
QColor matchOutline();

}
