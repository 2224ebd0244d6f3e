// SPDX-License-Identifier: MIT
// Width-1 segments: the digital line between the rounded ends. For a line
// longer in x than in y, column x holds the pixel at
// y0 + round((x - x0) * dy / dx), halves rounded up, with the ends ordered so
// the direction of drawing does not matter; likewise with x and y exchanged.
// The pixels are walked a row at a time, so a long line costs a few
// operations per row, and bands of rows the caller passes over cost nothing.
#pragma once

#include "raster/geometry.h"
#include "raster/pixel_math.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace orvanel {

namespace digital {

// floor(a / b) for b > 0.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
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

// The walks pass over whole bands of this many rows when asked to.
inline constexpr int kBandShift = 4;
inline constexpr std::int64_t kBandMask = (std::int64_t(1) << kBandShift) - 1;

// Asks skip(y) once per band of rows, as a walk enters it.
template <typename Skip> class BandCheck {
public:
    explicit BandCheck(Skip& skip) : skip_(skip) {}
    bool operator()(std::int64_t y) {
        const std::int64_t band = y >> kBandShift;
        if (band != band_) {
            band_ = band;
            skipping_ = skip_(y);
        }
        return skipping_;
    }

private:
    Skip& skip_;
    std::int64_t band_ = INT64_MIN;
    bool skipping_ = false;
};

} // namespace digital

// The rounded ends, ordered along the major axis, and the columns of the
// line that lie within the clip rectangle.
struct DigitalLine {
    std::int64_t x0, y0, x1, y1;
    bool xMajor;
    int left, right;

    std::int64_t dx() const { return x1 - x0; }
    std::int64_t dy() const { return y1 - y0; }

    // The digital line from `from` to `to` as far as it can reach into
    // `within`; nothing when it cannot. Far-away ends are first brought
    // within the pixel limit along the line, so the integer arithmetic of the
    // walks cannot overflow.
    static std::optional<DigitalLine> of(PointF from, PointF to, const Rect& within) {
        if (within.isEmpty()) {
            return std::nullopt;
        }
        const RectF limit{-kPixelLimit, -kPixelLimit, 2 * kPixelLimit, 2 * kPixelLimit};
        if (!limit.contains(from) || !limit.contains(to)) {
            const auto clipped = clipSegment(from, to, limit);
            if (!clipped) {
                return std::nullopt;
            }
            from = clipped->first;
            to = clipped->second;
        }
        DigitalLine line{roundHalfEven(from.x),
                         roundHalfEven(from.y),
                         roundHalfEven(to.x),
                         roundHalfEven(to.y),
                         false,
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
            return std::nullopt;
        }
        return line;
    }

    // The columns, as real bounds, that the line can reach within the band of
    // rows holding y: those of the real line a row beyond the band on either
    // side, from which the digital line strays less.
    std::pair<double, double> columnsNearBand(std::int64_t y) const {
        double lo = left;
        double hi = right;
        if (dy() != 0) {
            const double slope = double(dx()) / double(dy());
            const double top = double((y & ~digital::kBandMask) - 1 - y0);
            const double bottom = double((y | digital::kBandMask) + 1 - y0);
            const double xa = double(x0) + top * slope;
            const double xb = double(x0) + bottom * slope;
            lo = std::max(lo, std::floor(std::min(xa, xb)) - 1);
            hi = std::min(hi, std::ceil(std::max(xa, xb)) + 1);
        }
        return {lo, hi};
    }
};

namespace digital {

// A steep line has one pixel a row, at x0 + floor((2 (y - y0) dx + dy) / (2 dy)).
template <typename Run, typename Skip>
void walkSteep(const DigitalLine& line, const Rect& within, Run& run, Skip& skipBand) {
    const std::int64_t dx = line.dx();
    const std::int64_t dy = line.dy();
    const std::int64_t first = std::max<std::int64_t>(line.y0, within.top);
    const std::int64_t last = std::min<std::int64_t>(line.y1, within.bottom());
    const auto seek = [&](std::int64_t y) {
        return FloorDivision(2 * (y - line.y0) * dx + dy, 2 * dy, 2 * dx);
    };
    FloorDivision column = seek(first);
    BandCheck<Skip> skip(skipBand);
    for (std::int64_t y = first; y <= last;) {
        if (skip(y)) {
            y = (y | kBandMask) + 1;
            column = seek(y);
            continue;
        }
        const std::int64_t x = line.x0 + column.quotient();
        if (x >= within.left && x <= within.right()) {
            run(int(y), int(x), int(x));
        }
        ++y;
        column.advance();
    }
}

// A shallow line has a run of pixels a row. Row y runs from column c(y) to
// c(y + step) - 1, where c(y) is the first column whose rounded row has
// reached y.
template <typename Run, typename Skip>
void walkShallow(const DigitalLine& line, const Rect& within, Run& run, Skip& skipBand) {
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
    BandCheck<Skip> skip(skipBand);
    for (;;) {
        if (skip(y)) {
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
            run(int(y), int(a), int(b));
        }
        if (y == yLast) {
            break;
        }
        start = end + 1;
        y += step;
        next.advance();
    }
}

} // namespace digital

// Calls run(y, x0, x1) for the line's pixels within `within`, a run of
// columns per row, rows in order along the line. skipBand(y) is asked once
// for each band of 16 rows the walk enters (at its row y); true passes over
// the band's rows.
template <typename Run, typename Skip>
void walkDigitalLine(const DigitalLine& line, const Rect& within, Run run, Skip skipBand) {
    if (line.xMajor) {
        digital::walkShallow(line, within, run, skipBand);
    } else {
        digital::walkSteep(line, within, run, skipBand);
    }
}

} // namespace orvanel
