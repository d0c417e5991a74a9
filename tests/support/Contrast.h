#pragma once
#include <QColor>

#include <algorithm>
#include <cmath>

// The contrast ratio of two colours, from 1 (the same) to 21 (black on
// white), by their relative luminance as the web's accessibility rules
// define it.
inline double contrastRatio(QRgb a, QRgb b)
{
    auto luminance = [](QRgb c) {
        auto linear = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
