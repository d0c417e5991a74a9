#include "text/GoToLine.h"

#include <QString>

#include <algorithm>
#include <climits>
#include <optional>

namespace GoToLine {
namespace {

const QString kHowTo = QStringLiteral("Type a line number, such as 12, or a line and a column, such as 12:5.");

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimmedBlanks(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

// The digits as a number, with leading zeros dropped; nothing when the text
// is not all ASCII digits. A number too large for an int stays its digits
// (it is past any end), with value INT_MAX.
struct Number {
    QString digits;
    int value = 0;
};

std::optional<Number> readNumber(QStringView s)
{
    if (s.isEmpty())
        return std::nullopt;
    Number n;
    qint64 value = 0;
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = std::min<qint64>(value * 10 + (c.unicode() - '0'), qint64(INT_MAX));
        if (!n.digits.isEmpty() || c != QLatin1Char('0'))
            n.digits += c;
    }
    if (n.digits.isEmpty())
        n.digits = QStringLiteral("0");
    n.value = int(value);
    return n;
}

QString quoted(QStringView s)
{
    return QLatin1Char('"') + s.toString() + QLatin1Char('"');
}

}

Result<Target> parse(QStringView typed, int lineCount, const LineLength& lineLength)
{
    const QStringView text = trimmedBlanks(typed);
    if (text.isEmpty())
        return Failure(kHowTo);
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QStringView linePart = trimmedBlanks(colon < 0 ? text : text.left(colon));
    const std::optional<Number> line = readNumber(linePart);
    if (!line)
        return Failure(quoted(linePart.isEmpty() ? text : linePart) + QStringLiteral(" is not a line number. ")
                       + kHowTo);
    if (line->value == 0)
        return Failure(QStringLiteral("There is no line 0: lines are counted from 1."));
    if (line->value > lineCount)
        return Failure(QStringLiteral("Line %1 is past the end: the document has %2 %3.")
                           .arg(line->digits)
                           .arg(lineCount)
                           .arg(lineCount == 1 ? QStringLiteral("line") : QStringLiteral("lines")));

    Target target{line->value - 1, 0};
    const QStringView columnPart = colon < 0 ? QStringView() : trimmedBlanks(text.mid(colon + 1));
    if (!columnPart.isEmpty()) {
        const std::optional<Number> column = readNumber(columnPart);
        if (!column)
            return Failure(quoted(columnPart) + QStringLiteral(" is not a column number. ") + kHowTo);
        if (column->value == 0)
            return Failure(QStringLiteral("There is no column 0: columns are counted from 1."));
        target.column = std::min(column->value - 1, std::max(0, lineLength(target.line)));
    }
    return target;
}

}
