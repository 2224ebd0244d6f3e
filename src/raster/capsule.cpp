// SPDX-License-Identifier: MIT
#include "raster/capsule.h"

#include "raster/pixel_math.h"

#include <algorithm>
#include <cmath>

namespace orvanel {

namespace {

// floor(v) and ceil(v) for values well inside the int range, without a call
// into the maths library (the baseline x86-64 has no rounding instruction).
int floorToInt(double v) {
    const int i = static_cast<int>(v);
    return i - (v < i);
}
int ceilToInt(double v) {
    const int i = static_cast<int>(v);
    return i + (v > i);
}

} // namespace

std::pair<double, double> Capsule::Condition::bounds(double y) const {
    const double e1 = (min - k0 - k1 * y) * inverse;
    const double e2 = (max - k0 - k1 * y) * inverse;
    return coef > 0 ? std::pair{e1, e2} : std::pair{e2, e1};
}

Capsule::Capsule(PointF from, PointF to, double radius, const Rect& area)
    : Capsule(from, to, radius, area,
              RectF::of(area).adjusted(-radius - 1, -radius - 1, radius + 2, radius + 2)) {}

Capsule::Capsule(PointF from, PointF to, double radius, const Rect& area, const RectF& reach)
    : area_(area), radius2_(radius * radius) {
    const auto clipped = clipSegment(from, to, reach);
    if (!clipped) {
        return;
    }
    a_ = clipped->first;
    b_ = clipped->second;
    const double dx = b_.x - a_.x;
    const double dy = b_.y - a_.y;
    length_ = std::hypot(dx, dy);
    const double ux = length_ > 0 ? dx / length_ : 0.0;
    const double uy = length_ > 0 ? dy / length_ : 0.0;
    along_ = Condition{ux, -a_.x * ux - a_.y * uy, uy, 0.0, length_};
    across_ = Condition{-uy, a_.x * uy - a_.y * ux, ux, -radius, radius};
    firstRow_ = std::max(area.top, static_cast<int>(std::ceil(std::min(a_.y, b_.y) - radius)));
    lastRow_ = std::min(area.bottom(), static_cast<int>(std::floor(std::max(a_.y, b_.y) + radius)));
}

std::pair<int, int> Capsule::columns(int y) const {
    // The covered part of the row is an interval: the hull of what the two
    // end disks and the band along the segment cover of it.
    double lo = HUGE_VAL;
    double hi = -HUGE_VAL;
    const auto cap = [&](PointF end) {
        const double ry = y - end.y;
        const double s = radius2_ - ry * ry;
        if (s >= 0) { // only rows near an end meet its round cap
            const double half = std::sqrt(s);
            lo = std::min(lo, end.x - half);
            hi = std::max(hi, end.x + half);
        }
    };
    cap(a_);
    cap(b_);
    if (length_ > 0) {
        double bandLo = -HUGE_VAL;
        double bandHi = HUGE_VAL;
        bool empty = false;
        const auto bound = [&](const Condition& c) {
            if (c.coef == 0) {
                empty = empty || !c.holds(y);
            } else {
                const auto [e1, e2] = c.bounds(y);
                bandLo = std::max(bandLo, e1);
                bandHi = std::min(bandHi, e2);
            }
        };
        bound(along_);
        bound(across_);
        if (!empty && bandLo <= bandHi) {
            lo = std::min(lo, bandLo);
            hi = std::max(hi, bandHi);
        }
    }
    // Clamp before converting: the band may reach far beyond the area.
    lo = std::max(lo, area_.left - 1.0);
    hi = std::min(hi, area_.right() + 1.0);
    if (lo > hi) {
        return {0, -1};
    }
    return {std::max(area_.left, ceilToInt(lo)), std::min(area_.right(), floorToInt(hi))};
}

} // namespace orvanel
