#include "generators/AnsiCodes.h"
#include "files/Cp1252.h"
#include "base/NumberText.h"

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
    if (typedCharacter.isEmpty())
        return std::nullopt;
    // The whole character, also when it takes two UTF-16 units; half of a
    // pair alone is no character of the code page.
    const QChar lead = typedCharacter.at(0);
    char32_t first = lead.unicode();
    if (lead.isHighSurrogate() && typedCharacter.size() > 1 && typedCharacter.at(1).isLowSurrogate())
        first = QChar::surrogateToUcs4(lead, typedCharacter.at(1));
    const int code = Cp1252::fromUnicode(first);
    if (code < 0)
        return std::nullopt;
    return QString::number(code);
}

}
