// SPDX-License-Identifier: MIT
// The straight-line tool's bookkeeping: five numbered lines, each with a
// marker box that is ticked while its number is taken.
#pragma once

#include "raster/color.h"

#include <array>
#include <span>

namespace orvanel {

inline constexpr int kLineCount = 5;
// A line not in use lies at this x, right of the board, where it is not seen.
inline constexpr double kParkedX = 1000;

// Colours chosen by the option buttons of Option2: red, yellow, blue, white.
inline constexpr auto kLineColors =
    std::to_array<int>({kPaletteRed, kPaletteYellow, kPaletteBlue, kPaletteWhite});
// The colour every switching on starts with: white.
inline constexpr int kWhiteLineOption = 3;

// The number (1 to 5) of the line placed next: one more than the index of the
// first unticked box, or 0 when all five are ticked.
int nextFreeLineNumber(std::span<const bool, kLineCount> ticked);

} // namespace orvanel
