#include "base/NumberText.h"

#include <cmath>

namespace NumberText {

std::optional<double> parse(const QString& text, const QLocale& locale)
{
    const QString t = text.trimmed();
    const QChar decimal = locale.decimalPoint().isEmpty() ? QLatin1Char('.') : locale.decimalPoint().at(0);
    QString plain;
    plain.reserve(t.size());
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        plain += t[i++];
    int digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            plain += c;
            ++digits;
        } else if (!point && (c == QLatin1Char('.') || c == decimal)) {
            plain += QLatin1Char('.');
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        plain += QLatin1Char('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            plain += t[i++];
        int expDigits = 0;
        for (; i < n && t[i].isDigit() && t[i].unicode() < 128; ++i, ++expDigits)
            plain += t[i];
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

long long roundHalfEven(double value)
{
    return static_cast<long long>(std::nearbyint(value));   // default rounding mode: to even
}

QString format(double value, const QLocale& locale, int maxDecimals)
{
    QString s = QString::number(value, 'f', maxDecimals);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    const QString decimal = locale.decimalPoint();
    if (!decimal.isEmpty() && decimal != QLatin1String("."))
        s.replace(QLatin1Char('.'), decimal);
    return s;
}

}
