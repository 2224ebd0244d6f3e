// SPDX-License-Identifier: MIT
// The pixels of a solid segment with round ends (a capsule): every pixel whose
// centre lies within `radius` of the real segment. Used for the memo pens and
// erasers on the surface and for the wide light lines on the screen.
#pragma once

#include "raster/geometry.h"

#include <utility>

namespace orvanel {

class Capsule {
public:
    // The capsule's pixels within `area`. Only the part of the segment near
    // `area` is kept, so the cost does not depend on the segment's length.
    Capsule(PointF from, PointF to, double radius, const Rect& area);
    // The same with the segment cut to `reach` rather than to what lies
    // near `area`: a drawing repainted in pieces then has the same pixels
    // whichever piece draws them, since the cut, and the rounding it brings,
    // is the same for every piece.
    Capsule(PointF from, PointF to, double radius, const Rect& area, const RectF& reach);

    int firstRow() const { return firstRow_; }
    int lastRow() const { return lastRow_; }
    // The covered columns [first, second] of row y within the area; first >
    // second when the row holds none.
    std::pair<int, int> columns(int y) const;

private:
    // An inequality min <= coef * x + k0 + k1 * y <= max: on row y it bounds x
    // between two values.
    struct Condition {
        double coef, k0, k1, min, max;
        double inverse = coef != 0 ? 1 / coef : 0;
        bool holds(double y) const { return k0 + k1 * y >= min && k0 + k1 * y <= max; }
        std::pair<double, double> bounds(double y) const;
    };

    Rect area_;
    PointF a_, b_; // the segment, clipped near the area
    double radius2_ = 0;
    double length_ = 0;
    Condition along_{0, 0, 0, 0, 0};  // 0 <= (p - a).u <= length
    Condition across_{0, 0, 0, 0, 0}; // |(p - a).n| <= radius
    int firstRow_ = 0;
    int lastRow_ = -1;
};

// Calls run(y, x0, x1) for each row of the capsule's area with its columns
// x0..x1 on it, rows in order.
template <typename Run> void forEachCapsuleRun(const Capsule& capsule, Run run) {
    for (int y = capsule.firstRow(); y <= capsule.lastRow(); ++y) {
        const auto [x0, x1] = capsule.columns(y);
        if (x0 <= x1) {
            run(y, x0, x1);
        }
    }
}

template <typename Run>
void forEachCapsuleRun(PointF from, PointF to, double radius, const Rect& area, Run run) {
    forEachCapsuleRun(Capsule(from, to, radius, area), run);
}

} // namespace orvanel
