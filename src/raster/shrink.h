// SPDX-License-Identifier: MIT
// The board's pixels shown smaller than their own size without losing thin
// strokes: each device pixel covers one or two board pixels each way and
// shows the one nearest its centre, unless that is the background and
// another of them is not; then that one. A one-pixel memo line thus stays
// unbroken at any factor from one half up.
#pragma once

#include "raster/pixel_buffer.h"

namespace orvanel {

// Fills `target`, whose pixel (0, 0) is device pixel (left, top), from
// `source` at `kx` by `ky` device pixels per board pixel, both below 1.
void shrinkInto(PixelView target, int left, int top, const PixelBuffer& source, double kx,
                double ky, Rgb background);

} // namespace orvanel
