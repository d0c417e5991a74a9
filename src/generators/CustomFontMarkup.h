#pragma once
#include <QString>

// What the Custom Font window wraps around a text. Font and colour count as
// chosen when they are not empty; a blank is a choice like any other.
struct CustomFontChoice {
    enum Style { NoStyle = -1, Html = 0, Css = 1 };   // the style list's indexes

    QString text;
    QString font;
    QString colour;
    int style = Html;
    bool bold = false;
    bool underlined = false;
    bool italic = false;
};

namespace CustomFontMarkup {

// The text inside a font element (Html) or a styled span (Css), then b, u
// and i in that order, each closed in reverse so the elements nest. One
// line; nothing is escaped, as the user writes HTML here.
QString build(const CustomFontChoice& choice);

}
