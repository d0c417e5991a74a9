#include "platform/TextFormat.h"

#include <cstdint>
#include <cstring>

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

bool isValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Runs of ASCII, eight bytes at a time: most web pages are mostly ASCII.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        const std::uint8_t c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        std::uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            const std::uint8_t cc = p[i];
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
            || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += extra + 1;
    }
    return true;
}

bool isValidUtf16(QByteArrayView bytes, bool bigEndian)
{
    if (bytes.size() % 2)
        return false;
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    auto unit = [&](qsizetype i) -> std::uint16_t {
        return bigEndian ? std::uint16_t(p[2 * i] << 8 | p[2 * i + 1])
                         : std::uint16_t(p[2 * i + 1] << 8 | p[2 * i]);
    };
    for (qsizetype i = 0; i < units; ++i) {
        const std::uint16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= units)
                return false;
            const std::uint16_t low = unit(i + 1);
            if (low < 0xDC00 || low > 0xDFFF)
                return false;
            ++i;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

namespace {

// The style of the first CR or LF among n code units.
template <typename UnitAt>
LineBreak firstLineBreak(qsizetype n, UnitAt unitAt)
{
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = unitAt(i);
        if (u == '\n')
            return LineBreak::Lf;
        if (u == '\r')
            return (i + 1 < n && unitAt(i + 1) == '\n') ? LineBreak::CrLf : LineBreak::Cr;
    }
    return LineBreak::CrLf;
}

}

LineBreak detectLineBreak(QByteArrayView utf8)
{
    return firstLineBreak(utf8.size(), [utf8](qsizetype i) { return char16_t(std::uint8_t(utf8[i])); });
}

LineBreak detectLineBreakUtf16(QByteArrayView bytes, bool bigEndian)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return firstLineBreak(bytes.size() / 2, [p, bigEndian](qsizetype i) {
        return bigEndian ? char16_t(p[2 * i] << 8 | p[2 * i + 1]) : char16_t(p[2 * i + 1] << 8 | p[2 * i]);
    });
}

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
