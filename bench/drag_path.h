// SPDX-License-Identifier: MIT
// A recorded path of pointer positions for dragging A and D: it sweeps the
// vertex over the board, across the base line and past the board's edges.
#pragma once

#include "raster/geometry.h"

#include <vector>

namespace orvanel::bench {

// Positions for a drag that starts on `vertex`; `count` of them, moving a few
// pixels per event like a hand.
std::vector<PointF> recordedDragPath(PointF vertex, int count);

} // namespace orvanel::bench
