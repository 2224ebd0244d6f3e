// SPDX-License-Identifier: MIT
#include "board/board_compose.h"

#include "raster/capsule.h"
#include "raster/midpoint_circle.h"
#include "raster/shrink.h"

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

int roundDevice(double v) {
    return int(std::floor(clampToPixelLimit(v) + 0.5));
}

// The device pixels [first, last] a board pixel's row or column `b` covers.
std::pair<int, int> block(int first, int last, double k) {
    return {roundDevice(first * k), roundDevice((last + 1.0) * k) - 1};
}

void composeSurface(const RasterSurface& surface, BoardScale scale, PixelView target,
                    const Rect& area) {
    const PixelBuffer& pixels = surface.pixels();
    if (scale.exact()) {
        for (int y = area.top; y <= area.bottom(); ++y) {
            const Rgb* source = pixels.row(y);
            std::copy(source + area.left, source + area.right() + 1, target.row(y) + area.left);
        }
        return;
    }
    const double kx = scale.kx();
    const double ky = scale.ky();
    if (kx < 1 || ky < 1) {
        const PixelView part{target.row(area.top) + area.left, area.width, area.height,
                             target.stride};
        shrinkInto(part, area.left, area.top, pixels, kx, ky, surface.background());
        return;
    }
    // Enlarged: device pixel X shows board pixel floor((X + 0.5) / k).
    for (int y = area.top; y <= area.bottom(); ++y) {
        const Rgb* source = pixels.row(std::min(pixels.height() - 1, int((y + 0.5) / ky)));
        Rgb* out = target.row(y);
        int x = area.left;
        while (x <= area.right()) {
            const int b = std::min(pixels.width() - 1, int((x + 0.5) / kx));
            const int end = std::min(area.right(), roundDevice((b + 1) * kx) - 1);
            std::fill(out + x, out + std::max(x, end) + 1, source[b]);
            x = std::max(x, end) + 1;
        }
    }
}

// Whether what lies within board bounds `b` may reach device area `area`:
// an object far from a repainted part is passed by at the cost of a test.
bool mayReach(const RectF& b, BoardScale scale, const Rect& area) {
    const double kx = scale.kx();
    const double ky = scale.ky();
    return RectF{b.left * kx, b.top * ky, b.width * kx, b.height * ky}
        .adjusted(-2, -2, 2, 2)
        .intersects(RectF::of(area));
}

void composeLine(const LineObject& line, BoardScale scale, PixelView target, const Rect& area) {
    if (!line.visible || !mayReach(line.bounds(), scale, area)) {
        return;
    }
    const double kx = scale.kx();
    const double ky = scale.ky();
    if (line.width <= 1 && (line.p1.x == line.p2.x || line.p1.y == line.p2.y)) {
        const RectF span = RectF::spanning(line.p1, line.p2);
        const bool upright = line.p1.x == line.p2.x;
        const double k = upright ? kx : ky;
        const double v = upright ? span.left : span.top;
        const int size = std::max(1, roundDevice(k));
        const int across = roundDevice((floorPixel(v) + 0.5) * k - size / 2.0);
        const auto [along0, along1] =
            upright ? block(floorPixel(span.top), floorPixel(span.bottom()), ky)
                    : block(floorPixel(span.left), floorPixel(span.right()), kx);
        const Rect pixels = (upright ? Rect::fromEdges(across, along0, across + size - 1, along1)
                                     : Rect::fromEdges(along0, across, along1, across + size - 1))
                                .intersected(area);
        for (int y = pixels.top; y <= pixels.bottom(); ++y) {
            fillRun(target, y, pixels.left, pixels.right(), line.color);
        }
        return;
    }
    const double radius = std::max(0.5, line.width / 2.0 * std::min(kx, ky));
    // Cut to the whole board, the same for every repaint, so that a line's
    // pixels do not depend on which part of the board is repainted.
    const RectF reach =
        RectF::of(scale.rect()).adjusted(-radius - 1, -radius - 1, radius + 2, radius + 2);
    forEachCapsuleRun(Capsule(scale.device(line.p1), scale.device(line.p2), radius, area, reach),
                      [&](int y, int x0, int x1) { fillRun(target, y, x0, x1, line.color); });
}

void composeCircle(const CursorCircle& circle, BoardScale scale, PixelView target,
                   const Rect& area) {
    if (!circle.visible || !mayReach(circle.bounds(), scale, area)) {
        return;
    }
    const double k = std::min(scale.kx(), scale.ky());
    const double r = std::floor(std::max(0.0, circle.diameter()) / 2) * k;
    const PointF c = scale.device(circle.centre());
    if (k <= 1) {
        forEachMidpointCirclePixel(toPixel(c), std::int64_t(std::floor(r + 0.5)),
                                   [&](std::int64_t x, std::int64_t y) {
                                       if (area.contains({int(x), int(y)})) {
                                           target.row(int(y))[x] = circle.color;
                                       }
                                   });
        return;
    }
    // The ring one board pixel wide, at the screen's resolution.
    const double inner = std::max(0.0, r - k / 2);
    const double outer = r + k / 2;
    const Rect box = Rect::fromEdges(floorPixel(c.x - outer), floorPixel(c.y - outer),
                                     floorPixel(c.x + outer) + 1, floorPixel(c.y + outer) + 1)
                         .intersected(area);
    for (int y = box.top; y <= box.bottom(); ++y) {
        for (int x = box.left; x <= box.right(); ++x) {
            const double d2 = (x - c.x) * (x - c.x) + (y - c.y) * (y - c.y);
            if (d2 >= inner * inner && d2 < outer * outer) {
                target.row(y)[x] = circle.color;
            }
        }
    }
}

} // namespace

BoardScale BoardScale::at(double k) {
    return {std::max(1, roundDevice(kBoardSize.width * k)),
            std::max(1, roundDevice(kBoardSize.height * k))};
}

Rect BoardScale::deviceRect(const Rect& r) const {
    if (exact()) {
        return r;
    }
    const double kx = this->kx();
    const double ky = this->ky();
    return Rect::fromEdges(floorPixel(r.left * kx) - 1, floorPixel(r.top * ky) - 1,
                           int(std::ceil((r.right() + 1) * kx)) + 1,
                           int(std::ceil((r.bottom() + 1) * ky)) + 1)
        .intersected(rect());
}

void fillBoardPixels(BoardScale scale, const Rect& r, Rgb color, PixelView target,
                     const Rect& area) {
    const auto [x0, x1] = block(r.left, r.right(), scale.kx());
    const auto [y0, y1] = block(r.top, r.bottom(), scale.ky());
    const Rect pixels = Rect::fromEdges(x0, y0, x1, y1).intersected(area);
    for (int y = pixels.top; y <= pixels.bottom(); ++y) {
        fillRun(target, y, pixels.left, pixels.right(), color);
    }
}

void composeBoard(const RasterSurface& surface, const BoardLayer& layer, BoardScale scale,
                  PixelView target, Rect area) {
    area = area.intersected(scale.rect()).intersected(target.rect());
    if (area.isEmpty()) {
        return;
    }
    composeSurface(surface, scale, target, area);
    layer.forEachLineInPaintOrder(
        [&](const LineObject& line) { composeLine(line, scale, target, area); });
    composeCircle(layer.cursorCircle(), scale, target, area);
}

} // namespace orvanel
