// SPDX-License-Identifier: MIT
// The midpoint circle: the closed, 8-connected one-pixel outline of a circle
// of whole radius r around a whole pixel, drawn in eight symmetric octants.
#pragma once

#include "raster/geometry.h"

#include <cstdint>

namespace orvanel {

// Calls plot(x, y) for every pixel of the outline; a few pixels where the
// octants meet come twice.
template <typename Plot> void forEachMidpointCirclePixel(Point c, std::int64_t r, Plot plot) {
    std::int64_t x = 0;
    std::int64_t y = r;
    std::int64_t d = 1 - r;
    while (x <= y) {
        plot(c.x + x, c.y + y);
        plot(c.x + y, c.y + x);
        plot(c.x - x, c.y + y);
        plot(c.x - y, c.y + x);
        plot(c.x + x, c.y - y);
        plot(c.x + y, c.y - x);
        plot(c.x - x, c.y - y);
        plot(c.x - y, c.y - x);
        if (d < 0) {
            d += 2 * x + 3;
        } else {
            d += 2 * (x - y) + 5;
            --y;
        }
        ++x;
    }
}

} // namespace orvanel
