// The standard sixteen-colour palette, chosen by number.
#pragma once

#include <QRgb>

namespace orvanel {

inline constexpr int kPaletteGreen = 2; // the board's own green
inline constexpr int kPaletteBlue = 9;
inline constexpr int kPaletteRed = 12;
inline constexpr int kPaletteYellow = 14;
inline constexpr int kPaletteWhite = 15;

// RGB of palette colour n (0 to 15); numbers outside the range give black.
constexpr QRgb paletteColor(int n) {
    constexpr QRgb table[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255)};
    return n >= 0 && n < 16 ? table[n] : table[0];
}

} // namespace orvanel
