// SPDX-License-Identifier: MIT
#include "board/board_compose.h"

#include "raster/capsule.h"
#include "raster/midpoint_circle.h"

#include <algorithm>
#include <cmath>

namespace orvanel {

namespace {

void fillRun(PixelView target, int y, int x0, int x1, Rgb color) {
    Rgb* row = target.row(y);
    std::fill(row + x0, row + x1 + 1, color);
}

int floorPixel(double v) {
    return int(std::floor(clampToPixelLimit(v)));
}

void composeLine(const LineObject& line, PixelView target, const Rect& area) {
    if (!line.visible || !line.bounds().intersects(RectF::of(area))) {
        return;
    }
    if (line.width <= 1 && (line.p1.x == line.p2.x || line.p1.y == line.p2.y)) {
        const RectF span = RectF::spanning(line.p1, line.p2);
        const Rect pixels = Rect::fromEdges(floorPixel(span.left), floorPixel(span.top),
                                            floorPixel(span.right()), floorPixel(span.bottom()))
                                .intersected(area);
        for (int y = pixels.top; y <= pixels.bottom(); ++y) {
            fillRun(target, y, pixels.left, pixels.right(), line.color);
        }
        return;
    }
    forEachCapsuleRun(line.p1, line.p2, std::max(0.5, line.width / 2.0), area,
                      [&](int y, int x0, int x1) { fillRun(target, y, x0, x1, line.color); });
}

void composeCircle(const CursorCircle& circle, PixelView target, const Rect& area) {
    if (!circle.visible || !RectF::of(area).intersects(circle.bounds())) {
        return;
    }
    const auto r = std::int64_t(std::floor(std::max(0.0, circle.diameter()) / 2));
    forEachMidpointCirclePixel(toPixel(circle.centre()), r, [&](std::int64_t x, std::int64_t y) {
        if (area.contains({int(x), int(y)})) {
            target.row(int(y))[x] = circle.color;
        }
    });
}

} // namespace

void composeBoard(const RasterSurface& surface, const BoardLayer& layer, PixelView target,
                  Rect area) {
    area = area.intersected(surface.rect()).intersected(target.rect());
    if (area.isEmpty()) {
        return;
    }
    for (int y = area.top; y <= area.bottom(); ++y) {
        const Rgb* source = surface.pixels().row(y);
        std::copy(source + area.left, source + area.right() + 1, target.row(y) + area.left);
    }
    layer.forEachLineInPaintOrder([&](const LineObject& line) { composeLine(line, target, area); });
    composeCircle(layer.cursorCircle(), target, area);
}

} // namespace orvanel
