#include "files/TextFormat.h"

QString TextFormat::encodingName() const
{
    switch (encoding) {
    case Encoding::Utf8: return bom ? QStringLiteral("UTF-8 with BOM") : QStringLiteral("UTF-8");
    case Encoding::Utf16LE: return QStringLiteral("UTF-16 LE");
    case Encoding::Utf16BE: return QStringLiteral("UTF-16 BE");
    case Encoding::Cp1252: return QStringLiteral("Windows-1252");
    }
    return {};
}

QString TextFormat::lineBreakName() const
{
    switch (lineBreak) {
    case LineBreak::CrLf: return QStringLiteral("CR LF");
    case LineBreak::Lf: return QStringLiteral("LF");
    case LineBreak::Cr: return QStringLiteral("CR");
    }
    return {};
}

namespace TextFormats {

const char* lineBreakBytes(LineBreak style)
{
    switch (style) {
    case LineBreak::Lf: return "\n";
    case LineBreak::Cr: return "\r";
    case LineBreak::CrLf: break;
    }
    return "\r\n";
}

QString withLineBreaks(const QString& crlfText, LineBreak style)
{
    if (style == LineBreak::CrLf || !crlfText.contains(QLatin1Char('\r')))
        return crlfText;
    QString out = crlfText;
    out.replace(QStringLiteral("\r\n"), QLatin1String(lineBreakBytes(style)));
    return out;
}

}

namespace TextFormats {

QString normalizedLineBreaks(const QString& text, LineBreak style)
{
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    const QString eol = QLatin1String(lineBreakBytes(style));
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            out += eol;
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += eol;
        } else {
            out += c;
        }
    }
    return out;
}

}
