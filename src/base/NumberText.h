#pragma once
#include <QLocale>
#include <QString>
#include <optional>

// Numbers typed by the user: surrounding blanks, a sign, digits with one
// decimal point (the user's separator or "."), an exponent. Nothing else.
namespace NumberText {

std::optional<double> parse(const QString& text, const QLocale& locale = QLocale::system());

// Rounds to the nearest whole number, halves to the even neighbour.
long long roundHalfEven(double value);

// A decimal number without trailing zeros, with the locale's separator and
// no grouping: 9 -> "9", 9.75 -> "9.75" (or "9,75").
QString format(double value, const QLocale& locale = QLocale::system(), int maxDecimals = 2);

}
