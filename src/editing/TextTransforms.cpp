#include "editing/TextTransforms.h"

#include <QList>
#include <QStringView>
#include <QTextBoundaryFinder>

namespace TextTransforms {

QString upperCase(const QString& text)
{
    return text.toUpper();
}

QString lowerCase(const QString& text)
{
    return text.toLower();
}

namespace {

bool isLineBreak(QStringView unit)
{
    return unit == u"\r\n" || unit == u"\n" || unit == u"\r";
}

}

QString reversed(const QString& text)
{
    // Grapheme clusters: CR LF is one cluster, so are a surrogate pair and a
    // letter with its combining marks; a lone CR or LF is one of its own.
    // A run of line breaks is kept as one unit too: reversed, the LF CR of a
    // mixed document would otherwise become a CR LF, two line breaks made one.
    QList<QStringView> units;
    const QStringView all(text);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    bool lastWasBreak = false;
    for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        if (end <= start)
            continue;
        const QStringView unit = all.sliced(start, end - start);
        const bool isBreak = isLineBreak(unit);
        if (isBreak && lastWasBreak) {
            const QStringView previous = units.takeLast();
            const qsizetype from = previous.data() - all.data();
            units.append(all.sliced(from, end - from));
        } else {
            units.append(unit);
        }
        lastWasBreak = isBreak;
        start = end;
    }
    if (start < text.size())
        units.append(all.sliced(start));

    QString out;
    out.reserve(text.size());
    for (auto it = units.crbegin(); it != units.crend(); ++it)
        out += *it;
    return out;
}

QString longTimeFormat(const QLocale& locale)
{
    // Qt's long format adds a time-zone field ("t", "tttt", ...) that the
    // regional long time of a desktop does not show. Drop every such field
    // outside quoted literals, with the blank that separates it.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (quoted || c != QLatin1Char('t')) {
            out += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == QLatin1Char('t'))
            ++i;
        if (!out.isEmpty() && out.back().isSpace()) {
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
        } else {
            while (i + 1 < format.size() && format[i + 1].isSpace())
                ++i;
        }
    }
    return out;
}

QString longTimeText(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, longTimeFormat(locale));
}

QString shortDateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString generalDateTimeText(const QDateTime& moment, const QLocale& locale)
{
    const QTime t = moment.time();
    const QString date = shortDateText(moment.date(), locale);
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return date;
    return date + QLatin1Char(' ') + longTimeText(t, locale);
}

}
