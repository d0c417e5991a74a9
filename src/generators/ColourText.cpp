#include "generators/ColourText.h"

namespace ColourText {

QString fromColorRef(std::uint32_t colorRef)
{
    // Written out in full, then read back in pairs: blue, green, red.
    const QString hex = QStringLiteral("%1").arg(colorRef & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
    return QLatin1Char('#') + hex.mid(4, 2) + hex.mid(2, 2) + hex.mid(0, 2);
}

std::uint32_t colorRef(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return std::uint32_t(rgb.red()) | std::uint32_t(rgb.green()) << 8 | std::uint32_t(rgb.blue()) << 16;
}

}
