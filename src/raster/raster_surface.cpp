// SPDX-License-Identifier: MIT
#include "raster/raster_surface.h"

#include "raster/capsule.h"
#include "raster/pixel_math.h"

#include <bit>

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

void RasterSurface::copyFrom(const PixelBuffer& picture, const Rect& area) {
    const Rect r = area.intersected(rect());
    for (int y = r.top; y <= r.bottom(); ++y) {
        std::copy_n(picture.row(y) + r.left, r.width, image_.row(y) + r.left);
        painted_.add(y, r.left, r.right());
        changed_.add(y, r.left, r.right());
    }
}

} // namespace orvanel
