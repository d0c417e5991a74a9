#include "text/StatusText.h"

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
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const qsizetype size = utf8.size();
    qsizetype n = 0;
    for (qsizetype i = 0; i < size; ++i)
        n += (p[i] & 0xC0) != 0x80;
    for (qsizetype i = 1; i < size; ++i)
        n -= (p[i] == '\n') & (p[i - 1] == '\r');
    return n;
}

QString selection(qsizetype characters)
{
    return characters > 0 ? QStringLiteral("%1 selected").arg(characters) : QString();
}

}
