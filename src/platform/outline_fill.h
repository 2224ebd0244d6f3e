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

#include "platform/geometry.h"

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

    // Call visit(y, x0, x1) for each run of board columns x0..x1 of row y
    // that the fill covers, or that the outline covers.
    template <typename Visit> void forEachFillRun(Visit visit) const { forEachRun(filled_, visit); }
    template <typename Visit> void forEachOutlineRun(Visit visit) const {
        forEachRun(outline_, visit);
    }

private:
    using Row = std::uint64_t;

    void set(int x, int y) { outline_[y - square_.top] |= Row(1) << (x - square_.left); }
    template <typename Visit>
    void forEachRun(const std::array<Row, kMaxSide>& rows, Visit visit) const {
        for (int y = 0; y < square_.height; ++y) {
            for (Row bits = rows[y]; bits != 0;) {
                const int first = std::countr_zero(bits);
                const int length = std::countr_one(bits >> first);
                visit(square_.top + y, square_.left + first, square_.left + first + length - 1);
                bits &= length == 64 ? 0 : ~(((Row(1) << length) - 1) << first);
            }
        }
    }

    Rect square_;
    Rect onBoard_; // the square's part on the board
    std::array<Row, kMaxSide> outline_{};
    std::array<Row, kMaxSide> filled_{};
};

} // namespace orvanel
