// SPDX-License-Identifier: MIT
#include "raster/outline_fill.h"

#include "raster/digital_line.h"
#include "raster/midpoint_circle.h"

namespace orvanel {

namespace {

using Row = std::uint64_t;

// The bits of `open` reached from the bits of `seed` by moving along runs of
// `open`: towards higher bits, then towards lower ones, each in six
// doubling steps.
Row spreadAlongRuns(Row seed, Row open) {
    Row up = seed;
    Row down = seed;
    Row upOpen = open;
    Row downOpen = open;
    for (const int shift : {1, 2, 4, 8, 16, 32}) {
        up |= upOpen & (up << shift);
        upOpen &= upOpen << shift;
        down |= downOpen & (down >> shift);
        downOpen &= downOpen >> shift;
    }
    return up | down;
}

// Columns x0..x1 of the square as bits, x0 <= x1.
Row bitsOf(int x0, int x1) {
    const int length = x1 - x0 + 1;
    return (length == 64 ? ~Row(0) : (Row(1) << length) - 1) << x0;
}

} // namespace

OutlineFill::OutlineFill(const Rect& square, const Rect& board)
    : square_(square), onBoard_(square.intersected(board)) {}

void OutlineFill::addSegment(PointF from, PointF to) {
    const std::optional<DigitalLine> line = DigitalLine::of(from, to, onBoard_);
    if (!line) {
        return;
    }
    walkDigitalLine(
        *line, onBoard_,
        [&](int y, int x0, int x1) {
            outline_[y - square_.top] |= bitsOf(x0 - square_.left, x1 - square_.left);
        },
        [](std::int64_t) { return false; });
}

void OutlineFill::addCircle(Point c, std::int64_t r) {
    const bool whole = onBoard_ == square_ && square_.contains({int(c.x - r), int(c.y - r)}) &&
                       square_.contains({int(c.x + r), int(c.y + r)});
    forEachMidpointCirclePixel(c, r, [&](std::int64_t x, std::int64_t y) {
        if (whole || onBoard_.contains({int(x), int(y)})) {
            set(int(x), int(y));
        }
    });
}

bool OutlineFill::fill(Point start) {
    if (!onBoard_.contains(start)) {
        return false;
    }
    const int h = square_.height;
    std::array<Row, kMaxSide> open{};
    if (!onBoard_.isEmpty()) {
        const Row columns = bitsOf(onBoard_.left - square_.left, onBoard_.right() - square_.left);
        for (int y = onBoard_.top - square_.top; y <= onBoard_.bottom() - square_.top; ++y) {
            open[y] = columns & ~outline_[y];
        }
    }
    const int sy = start.y - square_.top;
    const Row seed = Row(1) << (start.x - square_.left);
    if ((open[sy] & seed) == 0) {
        return false;
    }
    filled_[sy] = spreadAlongRuns(seed, open[sy]);
    // Sweeps down and up the rows, each row taking what its neighbour holds
    // across their shared edges, until a pair of sweeps adds nothing.
    const auto take = [&](int y, Row neighbour) {
        const Row seeds = neighbour & open[y] & ~filled_[y];
        if (seeds == 0) {
            return false;
        }
        filled_[y] |= spreadAlongRuns(seeds, open[y]);
        return true;
    };
    for (bool grew = true; grew;) {
        grew = false;
        for (int y = 1; y < h; ++y) {
            grew |= take(y, filled_[y - 1]);
        }
        for (int y = h - 2; y >= 0; --y) {
            grew |= take(y, filled_[y + 1]);
        }
    }
    return true;
}

} // namespace orvanel
