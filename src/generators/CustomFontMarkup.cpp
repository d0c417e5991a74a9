#include "generators/CustomFontMarkup.h"

#include <QStringList>

namespace CustomFontMarkup {
namespace {

const QString Q = QStringLiteral("\"");

struct Wrapper {
    QString opening;
    QString closing;
};

Wrapper styleElement(const CustomFontChoice& c)
{
    const bool font = !c.font.isEmpty();
    const bool colour = !c.colour.isEmpty();
    if (!font && !colour)
        return {};
    switch (c.style) {
    case CustomFontChoice::Html: {
        QString open = QStringLiteral("<font");
        if (font)
            open += QStringLiteral(" face=") + Q + c.font + Q;
        if (colour)
            open += QStringLiteral(" color=") + Q + c.colour + Q;
        return {open + QLatin1Char('>'), QStringLiteral("</font>")};
    }
    case CustomFontChoice::Css: {
        QStringList declarations;
        if (font)
            declarations << QStringLiteral("font-family:") + c.font + QLatin1Char(';');
        if (colour)
            declarations << QStringLiteral("color:") + c.colour + QLatin1Char(';');
        return {QStringLiteral("<span style=") + Q + declarations.join(QLatin1Char(' ')) + Q + QLatin1Char('>'),
                QStringLiteral("</span>")};
    }
    default:
        return {};
    }
}

}

QString build(const CustomFontChoice& c)
{
    Wrapper w = styleElement(c);
    const struct {
        bool on;
        const char* tag;
    } emphasis[] = {{c.bold, "b"}, {c.underlined, "u"}, {c.italic, "i"}};
    for (const auto& e : emphasis) {
        if (!e.on)
            continue;
        w.opening += QStringLiteral("<%1>").arg(QLatin1String(e.tag));
        w.closing.prepend(QStringLiteral("</%1>").arg(QLatin1String(e.tag)));
    }
    return w.opening + c.text + w.closing;
}

}
