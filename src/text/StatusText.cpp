#include "text/StatusText.h"
#include "text/ByteScan.h"

namespace StatusText {

QString caret(int line, int column)
{
    return QStringLiteral("Ln %1, Col %2").arg(line + 1).arg(column + 1);
}

int column(QByteArrayView lineBeforeCaret)
{
    return int(characters(lineBeforeCaret));
}

qsizetype characters(QByteArrayView utf8)
{
    // Every byte that does not continue a UTF-8 sequence starts a character
    // (a stray byte of broken text counts as one); the LF of a CR LF does not.
    const ByteScan::Counts c = ByteScan::scan(utf8.data(), utf8.size(), 0, utf8.size());
    return utf8.size() - c.continuation - c.crLf;
}

QString selection(qsizetype characters)
{
    return characters > 0 ? QStringLiteral("%1 selected").arg(characters) : QString();
}

}
