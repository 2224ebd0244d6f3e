// SPDX-License-Identifier: MIT
// A closed one-pixel outline in a small square of the board, and the region
// a fill started inside it covers: the 4-connected pixels it reaches without
// stepping onto the outline or off the board. The square's pixels are bits,
// a 64-bit word a row, so the fill spreads along a whole row in a few word
// operations and never reads the board's pixels.
//
// It gives the fill the board's flood fill would give within a white outline
// of the same pixels, as long as the board holds no other white pixel and
// the outline keeps the fill inside the square.
#pragma once

#include "raster/geometry.h"

#include <array>
#include <bit>
#include <cstdint>

namespace orvanel {

class OutlineFill {
public:
    static constexpr int kMaxSide = 64;

    // `square` is at most 64 pixels on a side; its pixels off `board` are
    // closed to the fill.
    OutlineFill(const Rect& square, const Rect& board);

    // Adds the pixels of the width-1 segment from-to that lie in the square
    // and on the board, as the surface draws them.
    void addSegment(PointF from, PointF to);
    // Adds the midpoint circle of radius r around c.
    void addCircle(Point c, std::int64_t r);

    // Fills from `start`; false, filling nothing, when it lies off the square,
    // off the board or on the outline.
    bool fill(Point start);

    const Rect& square() const { return square_; }
    // Row y of the square (0 for its top row) as bits, column left + i in
    // bit i: what the fill covers, and what the outline covers.
    std::uint64_t fillRow(int y) const { return filled_[y]; }
    std::uint64_t outlineRow(int y) const { return outline_[y]; }

    // Calls visit(x0, x1) for each run of set bits of `bits`, as columns
    // counted from `left`.
    template <typename Visit> static void forEachRun(std::uint64_t bits, int left, Visit visit) {
        while (bits != 0) {
            const int first = std::countr_zero(bits);
            const int length = std::countr_one(bits >> first);
            visit(left + first, left + first + length - 1);
            bits &= length == 64 ? 0 : ~(((std::uint64_t(1) << length) - 1) << first);
        }
    }

private:
    using Row = std::uint64_t;

    void set(int x, int y) { outline_[y - square_.top] |= Row(1) << (x - square_.left); }
    Rect square_;
    Rect onBoard_; // the square's part on the board
    std::array<Row, kMaxSide> outline_{};
    std::array<Row, kMaxSide> filled_{};
};

} // namespace orvanel
