// SPDX-License-Identifier: MIT
// The memo pens: three colours in a thin and a bold width, and two erasers
// that paint with the board's own green.
#pragma once

#include "raster/color.h"

#include <array>

namespace orvanel {

struct Pen {
    int colorIndex; // palette number
    int width;      // pixels
    bool isEraser;  // an eraser shows the cursor circle, as wide as the pen
};

// One pen per option button of Option1: the thin row, then the bold row.
inline constexpr auto kPens = std::to_array<Pen>({
    {kPaletteRed, 3, false},
    {kPaletteYellow, 3, false},
    {kPaletteBlue, 3, false},
    {kPaletteGreen, 15, true},
    {kPaletteRed, 6, false},
    {kPaletteYellow, 6, false},
    {kPaletteBlue, 6, false},
    {kPaletteGreen, 25, true},
});

// The pen the memo tool starts with: the thin red one.
inline constexpr int kFirstPen = 0;

// The board's line width at start-up and after every reset: the thin pens'.
inline constexpr int kStartLineWidth = kPens[kFirstPen].width;

} // namespace orvanel
