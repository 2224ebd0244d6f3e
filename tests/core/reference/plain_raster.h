// SPDX-License-Identifier: MIT
// The plain way to draw a mark's circle and fill it, pixel by pixel: the
// reference the program's outline fill is checked against. The program never
// draws a circle into the surface nor fills by searching its pixels; it works
// a mark out on the mark's own outline.
#pragma once

#include "raster/pixel_buffer.h"
#include "raster/pixel_math.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <vector>

namespace orvanel::test {

// The one-pixel circle of `radius` around `centre`, both rounded to whole
// pixels (halves to even), clipped to `pixels`, drawn from what it is rather
// than how the program draws it: in each octant, one pixel a column, the
// one nearest the true circle, i.e. the y with
// (y - 1/2)^2 < r^2 - x^2 < (y + 1/2)^2 (never equal for whole r and x),
// for x from 0 while x <= y; the other seven octants by symmetry.
inline void drawCircle(PixelBuffer& pixels, PointF centre, double radius, Rgb color) {
    const Point c = toPixel(centre);
    const std::int64_t r = std::max<std::int64_t>(0, roundHalfEven(radius));
    const auto plot = [&](std::int64_t x, std::int64_t y) {
        if (x >= 0 && y >= 0 && x < pixels.width() && y < pixels.height()) {
            pixels.row(int(y))[x] = color;
        }
    };
    if (r == 0) {
        plot(c.x, c.y);
        return;
    }
    for (std::int64_t x = 0;; ++x) {
        const std::int64_t inside = 4 * (r * r - x * x); // (2 sqrt(r^2 - x^2))^2
        auto y = std::int64_t(std::sqrt(double(r * r - x * x)) + 0.5);
        while ((2 * y - 1) * (2 * y - 1) >= inside) {
            --y;
        }
        while ((2 * y + 1) * (2 * y + 1) <= inside) {
            ++y;
        }
        if (x > y) {
            return;
        }
        for (const auto& [px, py] :
             {std::pair{x, y}, {y, x}, {-x, y}, {-y, x}, {x, -y}, {y, -x}, {-x, -y}, {-y, -x}}) {
            plot(c.x + px, c.y + py);
        }
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
