#include "text/Indentation.h"

namespace Indentation {
namespace {

template <typename View>
View leading(View line)
{
    qsizetype n = 0;
    while (n < line.size() && (line[n] == ' ' || line[n] == '\t'))
        ++n;
    return line.first(n);
}

}

QStringView leadingBlanks(QStringView line)
{
    return leading(line);
}

QByteArrayView leadingBlanks(QByteArrayView utf8Line)
{
    return leading(utf8Line);
}

}
