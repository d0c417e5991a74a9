#include "generators/AnsiCodes.h"
#include "files/Cp1252.h"
#include "base/NumberText.h"

#include <QTextBoundaryFinder>

namespace AnsiCodes {

std::optional<QString> characterFor(const QString& typedCode)
{
    const std::optional<double> value = NumberText::parse(typedCode);
    // Far outside the code page: no rounding needed, and none that overflows.
    if (!value || !(*value > -1.0 && *value < 256.0))
        return std::nullopt;
    const long long code = NumberText::roundHalfEven(*value);
    if (code < 0 || code > 255)
        return std::nullopt;
    if (code == 0)
        return QString();
    return QString(QChar(Cp1252::toUnicode(std::uint8_t(code))));
}

std::optional<QString> codeFor(const QString& typedCharacter)
{
    // The first character as the user sees it, composed: "e" with a combining
    // acute is "é", 233, not the "e" it starts with. What composes to more
    // than one code point (a mark no letter of its own takes) has no code;
    // a character outside the basic plane is one code point of two units.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, typedCharacter);
    const qsizetype end = characters.toNextBoundary();
    if (end <= 0)
        return std::nullopt;
    const QList<uint> points = typedCharacter.first(end).normalized(QString::NormalizationForm_C).toUcs4();
    if (points.size() != 1)
        return std::nullopt;
    const int code = Cp1252::fromUnicode(char32_t(points.first()));
    if (code < 0)
        return std::nullopt;
    return QString::number(code);
}

}
