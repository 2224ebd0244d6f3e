// SPDX-License-Identifier: MIT
#include "drag_path.h"

#include <cmath>
#include <numbers>

namespace orvanel::bench {

std::vector<QPointF> recordedDragPath(QPointF vertex, int count) {
    // A Lissajous figure centred on the board, wide enough to leave it on every
    // side and to cross the base line at y = 500, entered from the vertex.
    std::vector<QPointF> path;
    path.reserve(count);
    const QPointF centre(401, 313);
    const QPointF reach(520, 400);
    for (int i = 0; i < count; ++i) {
        const double t = 2 * std::numbers::pi * i / count;
        const QPointF sweep(centre.x() + reach.x() * std::sin(3 * t + 0.4),
                            centre.y() + reach.y() * std::sin(2 * t));
        const double blend = std::min(1.0, i / 50.0); // ease in from the vertex
        path.push_back(vertex * (1 - blend) + sweep * blend);
    }
    return path;
}

} // namespace orvanel::bench
