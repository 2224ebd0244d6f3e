// SPDX-License-Identifier: MIT
// Conversions between real board coordinates and whole pixels, and clipping of
// segments to a rectangle. Every function is defined for any finite input: a
// vertex may be dragged arbitrarily far from the board, so nothing here may
// overflow when a coordinate is huge.
#pragma once

#include "raster/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

namespace orvanel {

// Coordinates beyond this many pixels from the origin are clamped before they
// are turned into integers. It is far outside any board, yet small enough that
// products of two such values fit comfortably in 64 bits.
inline constexpr double kPixelLimit = 1 << 22;

inline double clampToPixelLimit(double v) {
    if (std::isnan(v)) {
        return 0.0;
    }
    return std::clamp(v, -kPixelLimit, kPixelLimit);
}

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Used for the pixels at which a flood fill starts and for segment ends.
inline std::int64_t roundHalfEven(double v) {
    return static_cast<std::int64_t>(std::nearbyint(clampToPixelLimit(v)));
}

// Nearest whole number, halves upwards (2.5 -> 3, -2.5 -> -2): the rule of
// the values a user reads, the angle read-out and the fonts' pixel sizes.
inline int roundHalfUp(double v) {
    return static_cast<int>(std::floor(clampToPixelLimit(v) + 0.5));
}

// roundHalfEven as an int: far-away values saturate instead of overflowing.
inline int toPixel(double v) {
    return static_cast<int>(roundHalfEven(v));
}

inline Point toPixel(PointF p) {
    return {toPixel(p.x), toPixel(p.y)};
}

// Liang-Barsky clipping of the segment p1-p2 to `rect` (edges included).
// Returns the part of the segment inside the rectangle, in the same direction,
// or nothing when the segment misses it.
std::optional<std::pair<PointF, PointF>> clipSegment(PointF p1, PointF p2, const RectF& rect);

} // namespace orvanel
