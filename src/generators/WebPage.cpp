#include "generators/WebPage.h"

namespace WebPage {
namespace {

const QString Q = QStringLiteral("\"");
const QString CRLF = QStringLiteral("\r\n");

QString metaName(const QString& name, const QString& content)
{
    return CRLF + QStringLiteral("<meta name=") + Q + name + Q + QStringLiteral(" content=") + Q + content + Q +
           QLatin1Char('>');
}

// A blank colour field still counts as set: only an empty one takes the default.
QString colourAttribute(const char* name, const QString& value, const char* fallback)
{
    return QLatin1Char(' ') + QLatin1String(name) + QLatin1Char('=') + Q +
           (value.isEmpty() ? QLatin1String(fallback) : value) + Q;
}

}

QString build(const WebPageFields& f)
{
    QString page = QStringLiteral("<html>") + CRLF + CRLF + QStringLiteral("<head>") + CRLF +
                   QStringLiteral("<title>") + f.title + QStringLiteral("</title>");
    if (!f.css.isEmpty())
        page += CRLF + QStringLiteral("<link href=") + Q + f.css + Q + QStringLiteral(" type=") + Q +
                QStringLiteral("text/css") + Q + QStringLiteral(" rel=") + Q + QStringLiteral("stylesheet") + Q +
                QLatin1Char('>');
    if (!f.metaAuthor.isEmpty())
        page += metaName(QStringLiteral("author"), f.metaAuthor);
    if (!f.metaDesc.isEmpty())
        page += metaName(QStringLiteral("description"), f.metaDesc);
    if (!f.metaKeyWords.isEmpty())
        page += metaName(QStringLiteral("keywords"), f.metaKeyWords);
    if (f.jump && !f.jumpUrl.isEmpty())
        page += CRLF + QStringLiteral("<meta http-equiv=") + Q + QStringLiteral("refresh") + Q +
                QStringLiteral(" content=") + Q + f.jumpDelay + QStringLiteral(";url=") + f.jumpUrl + Q +
                QLatin1Char('>');
    page += CRLF + QStringLiteral("</head>") + CRLF + CRLF + QStringLiteral("<body");
    page += colourAttribute("bgcolor", f.bgCol, "white");
    page += colourAttribute("text", f.textCol, "black");
    page += colourAttribute("link", f.linkCol, "blue");
    page += colourAttribute("vlink", f.visitedCol, "purple");
    page += colourAttribute("alink", f.activeCol, "red");
    if (!f.bgImg.isEmpty())
        page += QStringLiteral(" background=") + Q + f.bgImg + Q;
    page += QLatin1Char('>') + CRLF + f.content + CRLF + QStringLiteral("</body>") + CRLF + CRLF +
            QStringLiteral("</html>");
    return page;
}

}
