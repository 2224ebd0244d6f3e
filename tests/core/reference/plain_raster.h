// SPDX-License-Identifier: MIT
// The plain way to draw a mark's circle and fill it, pixel by pixel: the
// reference the program's outline fill is checked against. The program never
// draws a circle into the surface nor fills by searching its pixels; it works
// a mark out on the mark's own outline.
#pragma once

#include "raster/pixel_buffer.h"
#include "raster/pixel_math.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <vector>

namespace orvanel::test {

// The closed, 8-connected one-pixel midpoint circle of `radius` around
// `centre`, both rounded to whole pixels (halves to even), clipped to `pixels`.
inline void drawCircle(PixelBuffer& pixels, PointF centre, double radius, Rgb color) {
    const Point c = toPixel(centre);
    const std::int64_t r = std::max<std::int64_t>(0, roundHalfEven(radius));
    const auto plot = [&](std::int64_t x, std::int64_t y) {
        if (x >= 0 && y >= 0 && x < pixels.width() && y < pixels.height()) {
            pixels.row(int(y))[x] = color;
        }
    };
    std::int64_t x = 0;
    std::int64_t y = r;
    std::int64_t d = 1 - r;
    while (x <= y) {
        for (const auto& [px, py] :
             {std::pair{x, y}, {y, x}, {-x, y}, {-y, x}, {x, -y}, {y, -x}, {-x, -y}, {-y, -x}}) {
            plot(c.x + px, c.y + py);
        }
        d += d < 0 ? 2 * x + 3 : 2 * (x - y--) + 5;
        ++x;
    }
}

// Paints with `fill` the start pixel and every pixel reachable from it
// through left/right/up/down neighbours without crossing a pixel of `border`,
// breadth first with a visited flag per pixel. Returns false, painting
// nothing, when the start lies off the pixels or has the border colour.
inline bool floodFill(PixelBuffer& pixels, Point start, Rgb border, Rgb fill) {
    const auto at = [&](Point p) -> Rgb& { return pixels.row(p.y)[p.x]; };
    if (!pixels.rect().contains(start) || at(start) == border) {
        return false;
    }
    const auto w = std::size_t(pixels.width());
    std::vector<char> visited(w * std::size_t(pixels.height()), 0);
    const auto visit = [&](Point p) {
        char& seen = visited[std::size_t(p.y) * w + std::size_t(p.x)];
        const bool fresh = !seen && at(p) != border;
        seen = 1;
        return fresh;
    };
    visit(start);
    std::deque<Point> queue{start};
    while (!queue.empty()) {
        const Point p = queue.front();
        queue.pop_front();
        at(p) = fill;
        for (const Point n :
             {Point{p.x + 1, p.y}, Point{p.x - 1, p.y}, Point{p.x, p.y + 1}, Point{p.x, p.y - 1}}) {
            if (pixels.rect().contains(n) && visit(n)) {
                queue.push_back(n);
            }
        }
    }
    return true;
}

} // namespace orvanel::test
