// SPDX-License-Identifier: MIT
#include "raster/raster_surface.h"

#include "raster/capsule.h"
#include "raster/midpoint_circle.h"
#include "raster/pixel_math.h"

#include <bit>
#include <cmath>

namespace orvanel {

RasterSurface::RasterSurface(Size size, Rgb background)
    : image_(size, opaque(background)), background_(opaque(background)),
      painted_(size.height, size.width), changed_(size.height) {}

void RasterSurface::clear() {
    painted_.drain([&](int y, int lo, int hi) {
        Rgb* row = image_.row(y);
        std::fill(row + lo, row + hi + 1, background_);
        changed_.add(y, lo, hi);
    });
}

void RasterSurface::drawSegment(PointF from, PointF to, Rgb color) {
    drawSegment(from, to, color, rect());
}

void RasterSurface::drawSegment(PointF from, PointF to, Rgb color, const Rect& within) {
    color = opaque(color);
    if (lineWidth_ <= 1) {
        drawThinSegment(from, to, color, within.intersected(rect()));
    } else {
        drawWideSegment(from, to, lineWidth_ / 2.0, color);
    }
}

void RasterSurface::paint(const OutlineFill& mark, Rgb outline) {
    outline = opaque(outline);
    const Rect& square = mark.square();
    // The columns and rows that are painted, and those that change.
    std::uint64_t paintedColumns = 0;
    std::uint64_t changedColumns = 0;
    int firstRow = square.height;
    int lastRow = -1;
    for (int i = 0; i < square.height; ++i) {
        const std::uint64_t fill = mark.fillRow(i);
        const std::uint64_t edge = mark.outlineRow(i);
        if ((fill | edge) == 0) {
            continue;
        }
        Rgb* row = image_.row(square.top + i);
        const auto paintRuns = [&](std::uint64_t bits, Rgb color) {
            OutlineFill::forEachRun(bits, square.left, [&](int x0, int x1) {
                std::fill(row + x0, row + x1 + 1, color);
            });
        };
        paintRuns(fill, fillColor_);
        paintRuns(edge, outline);
        paintedColumns |=
            (fillColor_ != background_ ? fill : 0) | (outline != background_ ? edge : 0);
        changedColumns |= fill | edge;
        firstRow = std::min(firstRow, i);
        lastRow = i;
    }
    if (lastRow < 0) {
        return;
    }
    // Recorded once for the rows the mark covers, as a clear will find them.
    const auto record = [&](auto& spans, std::uint64_t columns) {
        if (columns != 0) {
            spans.add(square.top + firstRow, square.top + lastRow,
                      square.left + std::countr_zero(columns),
                      square.left + 63 - std::countl_zero(columns));
        }
    };
    record(painted_, paintedColumns);
    record(changed_, changedColumns);
}

void RasterSurface::drawSegmentOutside(PointF from, PointF to, Rgb color, const Rect& hole) {
    const Rect board = rect();
    const Rect parts[4] = {
        Rect::fromEdges(board.left, board.top, board.right(), hole.top - 1),
        Rect::fromEdges(board.left, hole.bottom() + 1, board.right(), board.bottom()),
        Rect::fromEdges(board.left, hole.top, hole.left - 1, hole.bottom()),
        Rect::fromEdges(hole.right() + 1, hole.top, board.right(), hole.bottom()),
    };
    for (const Rect& part : parts) {
        drawSegment(from, to, color, part);
    }
}

void RasterSurface::drawWideSegment(PointF from, PointF to, double radius, Rgb color) {
    forEachCapsuleRun(from, to, radius, rect(),
                      [&](int y, int x0, int x1) { writeRun(y, x0, x1, color); });
}

// The inside of the circle: on each row the pixels within r of the centre.
void RasterSurface::fillDisk(Point c, std::int64_t r, const Rect& box) {
    for (int y = box.top; y <= box.bottom(); ++y) {
        const std::int64_t dy = y - c.y;
        if (dy * dy <= r * r) {
            const auto half = std::int64_t(std::floor(std::sqrt(double(r * r - dy * dy))));
            const std::int64_t a = std::max<std::int64_t>(box.left, c.x - half);
            const std::int64_t b = std::min<std::int64_t>(box.right(), c.x + half);
            if (a <= b) {
                writeRun(y, int(a), int(b), fillColor_);
            }
        }
    }
}

namespace {

// Writes single pixels within `box`; skips the test when the whole circle
// lies inside it.
struct Plotter {
    PixelBuffer& image;
    Rgb color;
    Rect box;
    bool inside;

    void operator()(std::int64_t x, std::int64_t y) const {
        if (inside || box.contains({int(x), int(y)})) {
            image.row(int(y))[x] = color;
        }
    }
};

// Wider outlines: the ring of pixels within half the line width of the circle.
void drawRing(const Plotter& plot, Point c, std::int64_t r, int lineWidth) {
    const double inner = std::max(0.0, r - lineWidth / 2.0);
    const double outer = r + lineWidth / 2.0;
    for (int y = plot.box.top; y <= plot.box.bottom(); ++y) {
        for (int x = plot.box.left; x <= plot.box.right(); ++x) {
            const double d2 =
                double(std::int64_t(x - c.x) * (x - c.x) + std::int64_t(y - c.y) * (y - c.y));
            if (d2 >= inner * inner && d2 <= outer * outer) {
                plot(x, y);
            }
        }
    }
}

} // namespace

void RasterSurface::drawCircle(PointF centre, double radius, Rgb color) {
    color = opaque(color);
    const std::int64_t r = std::max<std::int64_t>(0, roundHalfEven(radius));
    const Point c = toPixel(centre);
    const int reach = int(r) + lineWidth_ / 2 + 1;
    const Rect reachBox = Rect::fromEdges(c.x - reach, c.y - reach, c.x + reach, c.y + reach);
    const Rect box = reachBox.intersected(rect());
    if (box.isEmpty()) {
        return;
    }
    if (fillStyle_ == FillStyle::Solid) {
        fillDisk(c, r, box);
    }
    const Plotter plot{image_, color, box, box == reachBox};
    if (lineWidth_ <= 1) {
        forEachMidpointCirclePixel(c, r, plot);
    } else {
        drawRing(plot, c, r, lineWidth_);
    }
    // The outline's pixels are written directly; its box is recorded as
    // painted once, row by row, instead of pixel by pixel. Erasing needs no
    // record: a pixel never painted is of the background colour already.
    if (color != background_) {
        for (int y = box.top; y <= box.bottom(); ++y) {
            painted_.add(y, box.left, box.right());
        }
    }
    changed_.add(box.top, box.bottom(), box.left, box.right());
}

} // namespace orvanel
