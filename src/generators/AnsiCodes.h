#pragma once
#include <QString>
#include <optional>

// Character codes of the single-byte code page the editor reads files in
// (Windows-1252, see platform/Cp1252), both ways, as the ANSI Converter
// shows them. Nothing means the lookup cannot be done and the result box
// keeps what it showed.
namespace AnsiCodes {

// A typed code (blanks, sign, fraction and exponent allowed; halves round
// to even) to its character. Code 0 gives the empty text: a NUL can be
// neither shown nor copied as text.
std::optional<QString> characterFor(const QString& typedCode);

// The code of the first character typed, in decimal, as the user sees it:
// composed first, so that "e" with a combining acute answers 233 as "é"
// does. A character the code page does not hold has no code (the platform
// would answer 63, the code of "?", which is wrong).
std::optional<QString> codeFor(const QString& typedCharacter);

}
