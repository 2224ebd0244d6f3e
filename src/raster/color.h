// SPDX-License-Identifier: MIT
// Colours as 32-bit pixels, and the standard sixteen-colour palette chosen by
// number.
//
// A pixel holds an opaque colour: its alpha byte is always 0xff. The byte
// order follows the shell that shows the pixels, so that they reach the
// screen without conversion: 0xAARRGGBB for the desktop's images, and
// R, G, B, A in memory (0xAABBGGRR on a little-endian machine) for a browser
// canvas, chosen by ORVANEL_PIXELS_RGBA. Nothing in the core depends on the
// order beyond rgb() and the channel readers below.
#pragma once

#include <cstdint>

namespace orvanel {

using Rgb = std::uint32_t;

inline constexpr Rgb kAlphaMask = 0xff000000u;

#ifdef ORVANEL_PIXELS_RGBA
inline constexpr int kRedShift = 0;
inline constexpr int kBlueShift = 16;
#else
inline constexpr int kRedShift = 16;
inline constexpr int kBlueShift = 0;
#endif

constexpr Rgb rgb(int r, int g, int b) {
    return kAlphaMask | Rgb(r & 0xff) << kRedShift | Rgb(g & 0xff) << 8 |
           Rgb(b & 0xff) << kBlueShift;
}
constexpr int redOf(Rgb c) {
    return int(c >> kRedShift & 0xff);
}
constexpr int greenOf(Rgb c) {
    return int(c >> 8 & 0xff);
}
constexpr int blueOf(Rgb c) {
    return int(c >> kBlueShift & 0xff);
}
// The colour with its alpha byte set, as every stored pixel has it.
constexpr Rgb opaque(Rgb c) {
    return c | kAlphaMask;
}

inline constexpr int kPaletteBlack = 0;
inline constexpr int kPaletteGreen = 2; // the board's own green
inline constexpr int kPaletteBlue = 9;
inline constexpr int kPaletteRed = 12;
inline constexpr int kPaletteYellow = 14;
inline constexpr int kPaletteWhite = 15;

// RGB of palette colour n (0 to 15); numbers outside the range give black.
constexpr Rgb paletteColor(int n) {
    constexpr Rgb table[16] = {
        rgb(0, 0, 0),       rgb(0, 0, 128),   rgb(0, 128, 0),   rgb(0, 128, 128),
        rgb(128, 0, 0),     rgb(128, 0, 128), rgb(128, 128, 0), rgb(192, 192, 192),
        rgb(128, 128, 128), rgb(0, 0, 255),   rgb(0, 255, 0),   rgb(0, 255, 255),
        rgb(255, 0, 0),     rgb(255, 0, 255), rgb(255, 255, 0), rgb(255, 255, 255)};
    return n >= 0 && n < 16 ? table[n] : table[0];
}

// The board's background, which the eraser paints and a clear restores.
inline constexpr Rgb kBoardGreen = paletteColor(kPaletteGreen);
// The window's own light green.
inline constexpr Rgb kWindowColor = rgb(192, 255, 192);
// The standard text and outline colour of the desktop the program was made
// on: the grid lines and the cursor circle are drawn in it.
inline constexpr Rgb kWindowText = paletteColor(kPaletteBlack);

} // namespace orvanel
