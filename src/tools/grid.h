// SPDX-License-Identifier: MIT
// The grid of 25-pixel squares: 26 horizontal and 33 vertical line objects
// over the board, built hidden at start-up and only shown or hidden later.
#pragma once

#include "board/board_layer.h"

namespace orvanel {

inline constexpr int kGridStep = 25;
inline constexpr int kGridRows = 26;    // y = 0, 25, ... 625
inline constexpr int kGridColumns = 33; // x = 0, 25, ... 800

// Builds the rows Line2 and Line3 from their first members, which the layout
// provides: each further member is a hidden copy of member 0 with its own ends.
void buildGrid(BoardLayer& layer);

void setGridVisible(BoardLayer& layer, bool visible);

} // namespace orvanel
