// SPDX-License-Identifier: MIT
// The board as the screen shows it, composed into any 32-bit image: the
// surface, the lines above it in their paint order, and the cursor circle.
// The vertex letters need a font and are left to the shell.
#pragma once

#include "board/board_layer.h"
#include "raster/pixel_buffer.h"
#include "raster/raster_surface.h"

namespace orvanel {

// Composes board pixels `area` into `target`, whose pixel (0, 0) is board
// pixel (0, 0); what lies outside the board or the target is left alone.
//
// Lines 1 pixel wide that run along a row or a column (the grid) cover the
// pixels they run through, both ends included; all others cover the pixels
// whose centres lie within half their width (at least half a pixel) of the
// line. The cursor circle is the midpoint circle of radius half its diameter,
// rounded down, around its rounded centre: its ring lies on the outermost
// pixels an eraser of that width covers.
void composeBoard(const RasterSurface& surface, const BoardLayer& layer, PixelView target,
                  Rect area);

} // namespace orvanel
