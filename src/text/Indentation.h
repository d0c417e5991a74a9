#pragma once
#include <QByteArrayView>
#include <QStringView>

// Auto-indent: a new line after Enter starts with the leading blanks
// (spaces and tabs, as they stand) of the line that was broken.
namespace Indentation {

QStringView leadingBlanks(QStringView line);
QByteArrayView leadingBlanks(QByteArrayView utf8Line);

}
