#include "platform/pixel_math.h"

namespace orvanel {

std::optional<std::pair<QPointF, QPointF>> clipSegment(QPointF p1, QPointF p2, const QRectF& rect) {
    const double dx = p2.x() - p1.x();
    const double dy = p2.y() - p1.y();
    double t0 = 0.0;
    double t1 = 1.0;
    // Each edge contributes the inequality p * t <= q.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {p1.x() - rect.left(), rect.right() - p1.x(), p1.y() - rect.top(),
                         rect.bottom() - p1.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return std::nullopt;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return std::nullopt;
        }
    }
    const QPointF a = t0 > 0.0 ? QPointF(p1.x() + t0 * dx, p1.y() + t0 * dy) : p1;
    const QPointF b = t1 < 1.0 ? QPointF(p1.x() + t1 * dx, p1.y() + t1 * dy) : p2;
    return std::make_pair(a, b);
}

} // namespace orvanel
