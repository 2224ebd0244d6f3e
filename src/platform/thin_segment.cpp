// SPDX-License-Identifier: MIT
// Width-1 segments: the digital line between the rounded ends. For a line
// longer in x than in y, column x holds the pixel at
// y0 + round((x - x0) * dy / dx), halves rounded up, with the ends ordered so
// the direction of drawing does not matter; likewise with x and y exchanged.
// The pixels are walked a row at a time, so a long line costs a few
// operations per row; rows outside the clip rectangle and, when erasing,
// bands of rows with nothing painted cost nothing.
#include "platform/raster_surface.h"

#include "platform/pixel_math.h"

#include <cstdlib>
#include <optional>

namespace orvanel {

namespace {

// floor(a / b) for b > 0.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Follows q = floor(n / d) while n grows by a fixed step, without dividing.
class FloorDivision {
public:
    FloorDivision(std::int64_t n, std::int64_t d, std::int64_t step)
        : q_(floorDiv(n, d)), r_(n - q_ * d), d_(d), stepQ_(floorDiv(step, d)),
          stepR_(step - stepQ_ * d) {}
    std::int64_t quotient() const { return q_; }
    void advance() {
        q_ += stepQ_;
        r_ += stepR_;
        if (r_ >= d_) {
            r_ -= d_;
            ++q_;
        }
    }

private:
    std::int64_t q_, r_, d_, stepQ_, stepR_;
};

constexpr std::int64_t kBandMask = BandSpans::kBandRows - 1;

} // namespace

// The rounded ends, ordered along the major axis, and the columns of the
// line that lie within the clip rectangle.
struct RasterSurface::DigitalLine {
    std::int64_t x0, y0, x1, y1;
    bool xMajor;
    bool erasing;
    int left, right;

    std::int64_t dx() const { return x1 - x0; }
    std::int64_t dy() const { return y1 - y0; }
};

namespace {

// Far-away ends are first brought within the pixel limit along the line, so
// the integer arithmetic of the walks cannot overflow.
std::optional<std::pair<PointF, PointF>> withinPixelLimit(PointF from, PointF to) {
    const RectF limit{-kPixelLimit, -kPixelLimit, 2 * kPixelLimit, 2 * kPixelLimit};
    if (limit.contains(from) && limit.contains(to)) {
        return std::make_pair(from, to);
    }
    return clipSegment(from, to, limit);
}

} // namespace

void RasterSurface::drawThinSegment(PointF from, PointF to, Rgb color, Rect within) {
    if (within.isEmpty()) {
        return;
    }
    const auto ends = withinPixelLimit(from, to);
    if (!ends) {
        return;
    }
    DigitalLine line{roundHalfEven(ends->first.x),
                     roundHalfEven(ends->first.y),
                     roundHalfEven(ends->second.x),
                     roundHalfEven(ends->second.y),
                     false,
                     color == background_,
                     0,
                     0};
    line.xMajor = std::abs(line.dx()) >= std::abs(line.dy());
    if (line.xMajor ? line.x0 > line.x1 : line.y0 > line.y1) {
        std::swap(line.x0, line.x1);
        std::swap(line.y0, line.y1);
    }
    line.left = int(std::max<std::int64_t>(std::min(line.x0, line.x1), within.left));
    line.right = int(std::min<std::int64_t>(std::max(line.x0, line.x1), within.right()));
    if (line.left > line.right) {
        return;
    }
    if (line.xMajor) {
        walkShallow(line, color, within);
    } else {
        walkSteep(line, color, within);
    }
}

bool RasterSurface::nothingToErase(std::int64_t y, const DigitalLine& line) const {
    return line.erasing && !painted_.bands().touches(int(y), line.left, line.right);
}

// A steep line has one pixel a row, at x0 + floor((2 (y - y0) dx + dy) / (2 dy)).
void RasterSurface::walkSteep(const DigitalLine& line, Rgb color, const Rect& within) {
    const std::int64_t dx = line.dx();
    const std::int64_t dy = line.dy();
    const std::int64_t first = std::max<std::int64_t>(line.y0, within.top);
    const std::int64_t last = std::min<std::int64_t>(line.y1, within.bottom());
    const auto seek = [&](std::int64_t y) {
        return FloorDivision(2 * (y - line.y0) * dx + dy, 2 * dy, 2 * dx);
    };
    FloorDivision column = seek(first);
    for (std::int64_t y = first; y <= last;) {
        if (nothingToErase(y, line)) {
            y = (y | kBandMask) + 1;
            column = seek(y);
            continue;
        }
        const std::int64_t x = line.x0 + column.quotient();
        if (x >= within.left && x <= within.right()) {
            writeRun(int(y), int(x), int(x), color);
        }
        ++y;
        column.advance();
    }
}

// A shallow line has a run of pixels a row. Row y runs from column c(y) to
// c(y + step) - 1, where c(y) is the first column whose rounded row has
// reached y.
void RasterSurface::walkShallow(const DigitalLine& line, Rgb color, const Rect& within) {
    const std::int64_t x0 = line.x0;
    const std::int64_t y0 = line.y0;
    const std::int64_t x1 = line.x1;
    const std::int64_t dx = line.dx();
    const std::int64_t dy = line.dy();
    const std::int64_t step = dy >= 0 ? 1 : -1;
    const auto seek = [&](std::int64_t y) {
        return dy >= 0 ? FloorDivision(dx - 2 * dx * (y - y0), 2 * std::max<std::int64_t>(dy, 1),
                                       -2 * dx)
                       : FloorDivision(2 * dx * (y0 - y - 1) + dx, -2 * dy, 2 * dx);
    };
    const auto columnOf = [&](const FloorDivision& c) {
        if (dy == 0) {
            return x0; // a single row: c(y0) = x0, c(y0 + 1) = x1 + 1
        }
        const std::int64_t x = dy > 0 ? x0 - c.quotient() : x0 + 1 + c.quotient();
        return std::clamp(x, x0, x1 + 1);
    };
    // Only the rows of the columns within the clip rectangle are walked: a
    // side coming from far away costs no more than one that starts on the
    // board.
    const auto rowAt = [&](std::int64_t x) {
        return dx == 0 ? y0 : y0 + floorDiv(2 * (x - x0) * dy + dx, 2 * dx);
    };
    std::int64_t yFirst = rowAt(line.left);
    std::int64_t yLast = rowAt(line.right);
    if (step > 0) {
        yFirst = std::max<std::int64_t>(yFirst, within.top);
        yLast = std::min<std::int64_t>(yLast, within.bottom());
    } else {
        yFirst = std::min<std::int64_t>(yFirst, within.bottom());
        yLast = std::max<std::int64_t>(yLast, within.top);
    }
    if (step * yFirst > step * yLast) {
        return;
    }
    std::int64_t y = yFirst;
    std::int64_t start = columnOf(seek(y));
    FloorDivision next = seek(y + step);
    for (;;) {
        if (nothingToErase(y, line)) {
            y = step > 0 ? (y | kBandMask) + 1 : (y & ~kBandMask) - 1;
            if (step * y > step * yLast) {
                break;
            }
            start = columnOf(seek(y));
            next = seek(y + step);
            continue;
        }
        const std::int64_t end = (dy == 0 ? x1 + 1 : columnOf(next)) - 1;
        const std::int64_t a = std::max<std::int64_t>(start, within.left);
        const std::int64_t b = std::min<std::int64_t>(end, within.right());
        if (a <= b) {
            writeRun(int(y), int(a), int(b), color);
        }
        if (y == yLast) {
            break;
        }
        start = end + 1;
        y += step;
        next.advance();
    }
}

} // namespace orvanel
