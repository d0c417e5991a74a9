#include "editor/SyntaxLanguage.h"

#include <QFileInfo>

namespace SyntaxLanguages {

namespace {

struct Extension {
    const char* suffix;
    SyntaxLanguage language;
};

// Pages with server code (ASP, ASP.NET, PHP) are HTML with scripts inside:
// the HTML lexer colours those scripts too.
constexpr Extension kExtensions[] = {
    {"html", SyntaxLanguage::Html},  {"htm", SyntaxLanguage::Html},   {"shtml", SyntaxLanguage::Html},
    {"hta", SyntaxLanguage::Html},   {"asp", SyntaxLanguage::Html},   {"aspx", SyntaxLanguage::Html},
    {"ascx", SyntaxLanguage::Html},  {"asa", SyntaxLanguage::Html},   {"php", SyntaxLanguage::Html},
    {"php3", SyntaxLanguage::Html},  {"php4", SyntaxLanguage::Html},  {"php5", SyntaxLanguage::Html},
    {"phtml", SyntaxLanguage::Html}, {"css", SyntaxLanguage::Css},    {"js", SyntaxLanguage::JavaScript},
    {"mjs", SyntaxLanguage::JavaScript}, {"xml", SyntaxLanguage::Xml}, {"xhtml", SyntaxLanguage::Xml},
    {"xht", SyntaxLanguage::Xml},    {"svg", SyntaxLanguage::Xml},    {"xsl", SyntaxLanguage::Xml},
    {"xslt", SyntaxLanguage::Xml},   {"rss", SyntaxLanguage::Xml},
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}

SyntaxLanguage forFileName(const QString& fileName)
{
    // The last part after a dot of the name alone: a dot in a folder's name
    // is no extension.
    const QString suffix = QFileInfo(fileName).suffix();
    for (const Extension& e : kExtensions)
        if (suffix.compare(QLatin1String(e.suffix), Qt::CaseInsensitive) == 0)
            return e.language;
    return SyntaxLanguage::Plain;
}

SyntaxLanguage forUntitledText(QByteArrayView leadingText)
{
    for (const char c : leadingText) {
        if (isBlank(c))
            continue;
        return c == '<' ? SyntaxLanguage::Html : SyntaxLanguage::Plain;
    }
    return SyntaxLanguage::Plain;
}

}
