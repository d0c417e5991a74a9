#pragma once
#include <QColor>
#include <QString>
#include <cstdint>

// The colour text of the page generators: "#" and six upper-case hexadecimal
// digits, red, green, blue. Colours arrive as the desktop's colour value,
// laid out 0x00BBGGRR (red in the low byte).
namespace ColourText {

// 255 -> "#FF0000"; only the low 24 bits carry a colour.
QString fromColorRef(std::uint32_t colorRef);

// The 0x00BBGGRR value of a colour chosen in a colour dialog.
std::uint32_t colorRef(const QColor& colour);

}
