#pragma once
#include <QString>

// What the Web Page Wizard asks for, with the values its fields start with.
// Multi-line values carry CR LF line breaks.
struct WebPageFields {
    QString title;
    QString css;
    QString metaAuthor;
    QString metaDesc;
    QString metaKeyWords;
    bool jump = false;
    QString jumpUrl = QStringLiteral("http://");
    QString jumpDelay = QStringLiteral("0");
    QString bgCol;
    QString textCol;
    QString linkCol;
    QString visitedCol;
    QString activeCol;
    QString bgImg;
    QString content = QStringLiteral("<p>Your content here</p>");
};

namespace WebPage {

// The whole page skeleton with CR LF line breaks and no break after
// "</html>". Every value goes in exactly as typed: the user writes HTML here,
// so nothing is escaped, trimmed or checked.
QString build(const WebPageFields& fields);

}
