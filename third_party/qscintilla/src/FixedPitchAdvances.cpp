// Quirkpad: fast measuring of text in a fixed-pitch font (see the header).

#include "FixedPitchAdvances.h"

#include <cmath>

#include <QFontInfo>
#include <QPaintDevice>
#include <QString>
#include <QTextLayout>
#include <QTextLine>

namespace {

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Text in which a font with kerning or ligatures would place some character
// away from the sum of the advances before it.
QString checkText()
{
    QString text = QStringLiteral(
        "The quick brown fox jumps over the lazy dog. AV AW AY Ta Te To Tr "
        "Ty Va Wa Ya LT LV Fa P. r, y. fi fl ff ffi ffl -> => != == === !== "
        "<= >= <> <!-- --> /* */ // :: ... www 0x1F 1/2 ~~ ** ++ -- || && "
        "|> <| #{ }</p> <a href=\"#\">'x'</a> ");
    for (char16_t c = 0x20; c < 0x7F; ++c)
        text += QChar(c);
    return text;
}

}

bool QsciFixedPitchAdvances::isSimple(char32_t cp)
{
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || cp == 0xAD)
        return false;   // controls and the soft hyphen are drawn otherwise
    if (cp < 0x300)
        return true;    // Latin, IPA, spacing modifier letters
    if (cp >= 0x483 && cp <= 0x489)
        return false;   // Cyrillic combining marks
    if (cp >= 0x370 && cp < 0x590)
        return true;    // Greek, Cyrillic, Armenian
    if (cp >= 0x1E00 && cp < 0x2000)
        return true;    // precomposed Latin and Greek
    if (cp >= 0x2010 && cp < 0x2028)
        return true;    // dashes, quotes, bullets, ellipsis
    if (cp >= 0x2030 && cp < 0x205F)
        return true;    // per mille, primes, other punctuation
    if (cp >= 0x20A0 && cp < 0x20D0)
        return true;    // currency
    if (cp >= 0x2100 && cp < 0x2C00)
        return true;    // letterlike, arrows, operators, boxes, shapes
    return false;
}

bool QsciFixedPitchAdvances::measure(const QFont &font, QPaintDevice *pd,
        const char *s, int len, float *positions)
{
    if (!pd || !usable(font, pd))
        return false;

    qreal x = 0;
    int i = 0;

    while (i < len)
    {
        const unsigned char b = s[i];
        char32_t cp;
        int n;

        if (b < 0x80)
        {
            cp = b;
            n = 1;
        }
        else if ((b & 0xE0) == 0xC0 && i + 1 < len && isContinuation(s[i + 1]))
        {
            cp = ((b & 0x1F) << 6) | (s[i + 1] & 0x3F);
            n = 2;
        }
        else if ((b & 0xF0) == 0xE0 && i + 2 < len && isContinuation(s[i + 1])
                && isContinuation(s[i + 2]))
        {
            cp = ((b & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            n = 3;
        }
        else
        {
            return false;   // four-byte or malformed sequences
        }

        // Overlong forms are not the characters they seem to be.
        if ((n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || !isSimple(cp))
            return false;

        const qreal a = advance(cp);

        if (a < 0)
            return false;

        x += a;

        for (int k = 0; k < n; ++k)
            positions[i++] = static_cast<float>(x);
    }

    return true;
}

bool QsciFixedPitchAdvances::usable(const QFont &font, QPaintDevice *pd)
{
    // The same font is measured for the screen and for a printer.
    if (pd->logicalDpiX() != dpiX || pd->logicalDpiY() != dpiY)
    {
        dpiX = pd->logicalDpiX();
        dpiY = pd->logicalDpiY();
        verdict = Verdict::Unknown;
        asciiFilled = false;
        others.clear();
        metrics.emplace(font, pd);
    }

    if (verdict == Verdict::Unknown)
        verdict = (QFontInfo(font).fixedPitch() && matchesLayout(font, pd))
                ? Verdict::Usable : Verdict::Unusable;

    return verdict == Verdict::Usable;
}

bool QsciFixedPitchAdvances::matchesLayout(const QFont &font, QPaintDevice *pd)
{
    QString text = checkText();

    // Common non-ASCII characters of web pages, where the font has them.
    for (char16_t c : {0xE9, 0xFC, 0x20AC, 0x201C, 0x201D, 0x2013, 0x2192})
        if (advance(c) >= 0)
            text += QChar(c);

    QTextLayout layout(text, font, pd);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();

    qreal x = 0;

    for (int i = 0; i < text.size(); ++i)
    {
        const qreal a = advance(text.at(i).unicode());

        if (a < 0)
            return false;

        x += a;

        if (std::abs(x - line.cursorToX(i + 1)) > 1e-3)
            return false;
    }

    return true;
}

qreal QsciFixedPitchAdvances::advance(char32_t cp)
{
    if (cp < 0x80)
    {
        if (!asciiFilled)
        {
            for (char16_t c = 0; c < 0x80; ++c)
                ascii[c] = metrics->inFont(QChar(c))
                        ? metrics->horizontalAdvance(QChar(c)) : -1;
            asciiFilled = true;
        }

        return ascii[cp];
    }

    auto it = others.find(cp);

    if (it == others.end())
    {
        const QChar c(static_cast<char16_t>(cp));
        it = others.emplace(cp, metrics->inFont(c)
                ? metrics->horizontalAdvance(c) : -1).first;
    }

    return it->second;
}
