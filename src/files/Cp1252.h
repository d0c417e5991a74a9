#pragma once
#include <cstdint>

// Windows-1252, the single-byte code page of the documents and character codes
// this editor deals with. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so every
// byte has a character and every such character its byte again.
namespace Cp1252 {

char16_t toUnicode(std::uint8_t byte);

// The byte for a character, or -1 when the code page has none.
int fromUnicode(char32_t codePoint);

}
