// SPDX-License-Identifier: MIT
#include "raster/pixel_math.h"

namespace orvanel {

namespace {

// The parameter range [t0, t1] of from + t * delta, 0 <= t <= 1, that lies in
// `rect`; empty when t0 > t1.
std::pair<double, double> clipRange(PointF from, PointF delta, const RectF& rect) {
    double t0 = 0.0;
    double t1 = 1.0;
    // Each edge contributes the inequality p * t <= q.
    const double p[4] = {-delta.x, delta.x, -delta.y, delta.y};
    const double q[4] = {from.x - rect.left, rect.right() - from.x, from.y - rect.top,
                         rect.bottom() - from.y};
    for (int i = 0; i < 4 && t0 <= t1; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                t0 = 1.0;
                t1 = 0.0;
            }
        } else if (p[i] < 0.0) {
            t0 = std::max(t0, q[i] / p[i]);
        } else {
            t1 = std::min(t1, q[i] / p[i]);
        }
    }
    return {t0, t1};
}

} // namespace

std::optional<std::pair<PointF, PointF>> clipSegment(PointF p1, PointF p2, const RectF& rect) {
    // Each clipped end is interpolated from the nearer original end: going a
    // tiny fraction from a huge coordinate would cancel away the small one.
    const PointF d = p2 - p1;
    const auto [t0, t1] = clipRange(p1, d, rect);
    if (t0 > t1) {
        return std::nullopt;
    }
    const auto [s0, s1] = clipRange(p2, -d, rect); // s = 1 - t, measured from p2
    const PointF a = t0 == 0.0 ? p1 : t0 <= 0.5 ? p1 + t0 * d : p2 - s1 * d;
    const PointF b = t1 == 1.0 ? p2 : t1 >= 0.5 ? p2 - s0 * d : p1 + t1 * d;
    return std::make_pair(a, b);
}

} // namespace orvanel
