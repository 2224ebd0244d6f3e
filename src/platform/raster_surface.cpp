#include "platform/raster_surface.h"

#include "platform/pixel_math.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace orvanel {

namespace {

// floor(a / b) for b > 0.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

} // namespace

RowSpans::RowSpans(int rows)
    : lo_(rows, INT_MAX), hi_(rows, INT_MIN), yMin_(INT_MAX), yMax_(INT_MIN) {}

void RowSpans::add(int y, int x0, int x1) {
    lo_[y] = std::min(lo_[y], x0);
    hi_[y] = std::max(hi_[y], x1);
    yMin_ = std::min(yMin_, y);
    yMax_ = std::max(yMax_, y);
}

void RowSpans::reset() {
    if (isEmpty()) {
        return;
    }
    std::fill(lo_.begin() + yMin_, lo_.begin() + yMax_ + 1, INT_MAX);
    std::fill(hi_.begin() + yMin_, hi_.begin() + yMax_ + 1, INT_MIN);
    yMin_ = INT_MAX;
    yMax_ = INT_MIN;
}

QRegion RowSpans::toRegion(int bandHeight) const {
    QRegion region;
    if (isEmpty()) {
        return region;
    }
    for (int top = yMin_; top <= yMax_; top += bandHeight) {
        const int bottom = std::min(top + bandHeight - 1, yMax_);
        int lo = INT_MAX;
        int hi = INT_MIN;
        for (int y = top; y <= bottom; ++y) {
            lo = std::min(lo, lo_[y]);
            hi = std::max(hi, hi_[y]);
        }
        if (lo <= hi) {
            region += QRect(lo, top, hi - lo + 1, bottom - top + 1);
        }
    }
    return region;
}

RasterSurface::RasterSurface(QSize size, QRgb background)
    : image_(size, QImage::Format_RGB32), background_(background | 0xff000000u),
      painted_(size.height()), changed_(size.height()) {
    image_.fill(background_);
}

void RasterSurface::plot(int x, int y, QRgb color) {
    QRgb& px = row(y)[x];
    if (px == color) {
        return;
    }
    px = color;
    changed_.add(y, x, x);
    if (color != background_) {
        painted_.add(y, x, x);
    }
}

void RasterSurface::fillSpan(int y, int x0, int x1, QRgb color) {
    std::fill(row(y) + x0, row(y) + x1 + 1, color);
    changed_.add(y, x0, x1);
    if (color != background_) {
        painted_.add(y, x0, x1);
    }
}

void RasterSurface::clear() {
    if (painted_.isEmpty()) {
        return;
    }
    for (int y = painted_.firstRow(); y <= painted_.lastRow(); ++y) {
        if (painted_.lo(y) <= painted_.hi(y)) {
            std::fill(row(y) + painted_.lo(y), row(y) + painted_.hi(y) + 1, background_);
            changed_.add(y, painted_.lo(y), painted_.hi(y));
        }
    }
    painted_.reset();
}

void RasterSurface::drawSegment(QPointF from, QPointF to, QRgb color) {
    color |= 0xff000000u;
    if (lineWidth_ <= 1) {
        drawThinSegment(from, to, color);
    } else {
        drawWideSegment(from, to, lineWidth_ / 2.0, color);
    }
}

void RasterSurface::drawThinSegment(QPointF from, QPointF to, QRgb color) {
    // Far-away ends are first brought within the pixel limit along the line,
    // so the integer arithmetic below cannot overflow.
    const QRectF limit(-kPixelLimit, -kPixelLimit, 2 * kPixelLimit, 2 * kPixelLimit);
    if (!limit.contains(from) || !limit.contains(to)) {
        const auto clipped = clipSegment(from, to, limit);
        if (!clipped) {
            return;
        }
        from = clipped->first;
        to = clipped->second;
    }
    std::int64_t x0 = roundHalfEven(from.x());
    std::int64_t y0 = roundHalfEven(from.y());
    std::int64_t x1 = roundHalfEven(to.x());
    std::int64_t y1 = roundHalfEven(to.y());
    const std::int64_t w = width();
    const std::int64_t h = height();
    if (std::abs(x1 - x0) >= std::abs(y1 - y0)) {
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const std::int64_t dx = x1 - x0;
        const std::int64_t dy = y1 - y0;
        for (std::int64_t x = std::max<std::int64_t>(x0, 0); x <= std::min(x1, w - 1); ++x) {
            const std::int64_t y = dx == 0 ? y0 : y0 + floorDiv(2 * (x - x0) * dy + dx, 2 * dx);
            if (y >= 0 && y < h) {
                plot(static_cast<int>(x), static_cast<int>(y), color);
            }
        }
    } else {
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const std::int64_t dx = x1 - x0;
        const std::int64_t dy = y1 - y0;
        for (std::int64_t y = std::max<std::int64_t>(y0, 0); y <= std::min(y1, h - 1); ++y) {
            const std::int64_t x = x0 + floorDiv(2 * (y - y0) * dx + dy, 2 * dy);
            if (x >= 0 && x < w) {
                plot(static_cast<int>(x), static_cast<int>(y), color);
            }
        }
    }
}

void RasterSurface::drawWideSegment(QPointF from, QPointF to, double radius, QRgb color) {
    // Only the part of the segment within `radius` of the surface can touch a
    // pixel; clipping first keeps the cost independent of the segment's length.
    const QRectF reach(-radius - 1, -radius - 1, width() + 2 * radius + 2,
                       height() + 2 * radius + 2);
    const auto clipped = clipSegment(from, to, reach);
    if (!clipped) {
        return;
    }
    const QPointF a = clipped->first;
    const QPointF b = clipped->second;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double length = std::hypot(dx, dy);
    const double ux = length > 0 ? dx / length : 0.0;
    const double uy = length > 0 ? dy / length : 0.0;
    const double r2 = radius * radius;

    const int yFirst = std::max(0, static_cast<int>(std::ceil(std::min(a.y(), b.y()) - radius)));
    const int yLast =
        std::min(height() - 1, static_cast<int>(std::floor(std::max(a.y(), b.y()) + radius)));
    for (int y = yFirst; y <= yLast; ++y) {
        // The covered part of this row is an interval: the hull of what the two
        // end disks and the band along the segment cover of it.
        double lo = HUGE_VAL;
        double hi = -HUGE_VAL;
        for (const QPointF& end : {a, b}) {
            const double ry = y - end.y();
            const double s = r2 - ry * ry;
            if (s >= 0) {
                const double half = std::sqrt(s);
                lo = std::min(lo, end.x() - half);
                hi = std::max(hi, end.x() + half);
            }
        }
        if (length > 0) {
            // 0 <= (p - a).u <= length and |(p - a).n| <= radius for p = (x, y).
            double bandLo = -HUGE_VAL;
            double bandHi = HUGE_VAL;
            bool empty = false;
            const auto constrain = [&](double coef, double offset, double min, double max) {
                if (coef == 0) {
                    empty = empty || offset < min || offset > max;
                    return;
                }
                double e1 = (min - offset) / coef;
                double e2 = (max - offset) / coef;
                if (e1 > e2) {
                    std::swap(e1, e2);
                }
                bandLo = std::max(bandLo, e1);
                bandHi = std::min(bandHi, e2);
            };
            const double ry = y - a.y();
            constrain(ux, -a.x() * ux + ry * uy, 0.0, length);
            constrain(-uy, a.x() * uy + ry * ux, -radius, radius);
            if (!empty && bandLo <= bandHi) {
                lo = std::min(lo, bandLo);
                hi = std::max(hi, bandHi);
            }
        }
        if (lo > hi) {
            continue;
        }
        const double first = std::max(0.0, std::ceil(lo));
        const double last = std::min(width() - 1.0, std::floor(hi));
        if (first <= last) {
            fillSpan(y, static_cast<int>(first), static_cast<int>(last), color);
        }
    }
}

void RasterSurface::drawCircle(QPointF centre, double radius, QRgb color) {
    color |= 0xff000000u;
    const std::int64_t r = std::max<std::int64_t>(0, roundHalfEven(radius));
    const std::int64_t cx = roundHalfEven(centre.x());
    const std::int64_t cy = roundHalfEven(centre.y());
    const int halfWidth = lineWidth_ / 2;
    const std::int64_t reach = r + halfWidth + 1;
    if (cx + reach < 0 || cy + reach < 0 || cx - reach >= width() || cy - reach >= height()) {
        return;
    }
    const auto plotClipped = [&](std::int64_t x, std::int64_t y, QRgb c) {
        if (x >= 0 && y >= 0 && x < width() && y < height()) {
            plot(static_cast<int>(x), static_cast<int>(y), c);
        }
    };
    if (fillStyle_ == FillStyle::Solid) {
        for (std::int64_t dy = -r; dy <= r; ++dy) {
            for (std::int64_t dx = -r; dx <= r; ++dx) {
                if (dx * dx + dy * dy <= r * r) {
                    plotClipped(cx + dx, cy + dy, fillColor_);
                }
            }
        }
    }
    if (lineWidth_ <= 1) {
        // Midpoint circle: eight symmetric octants, 8-connected and closed.
        std::int64_t x = 0;
        std::int64_t y = r;
        std::int64_t d = 1 - r;
        while (x <= y) {
            for (const auto& [px, py] : {std::pair{x, y},
                                         {y, x},
                                         {-x, y},
                                         {-y, x},
                                         {x, -y},
                                         {y, -x},
                                         {-x, -y},
                                         {-y, -x}}) {
                plotClipped(cx + px, cy + py, color);
            }
            if (d < 0) {
                d += 2 * x + 3;
            } else {
                d += 2 * (x - y) + 5;
                --y;
            }
            ++x;
        }
        return;
    }
    // Wider outlines: the ring of pixels within half the width of the circle.
    const double inner = std::max(0.0, r - lineWidth_ / 2.0);
    const double outer = r + lineWidth_ / 2.0;
    for (std::int64_t dy = -reach; dy <= reach; ++dy) {
        for (std::int64_t dx = -reach; dx <= reach; ++dx) {
            const double d2 = static_cast<double>(dx * dx + dy * dy);
            if (d2 >= inner * inner && d2 <= outer * outer) {
                plotClipped(cx + dx, cy + dy, color);
            }
        }
    }
}

bool RasterSurface::floodFill(QPoint start, QRgb border) {
    border |= 0xff000000u;
    const int w = width();
    const int h = height();
    if (start.x() < 0 || start.y() < 0 || start.x() >= w || start.y() >= h ||
        row(start.y())[start.x()] == border) {
        return false;
    }
    if (visited_.empty()) {
        visited_.assign(static_cast<std::size_t>(w) * h, 0);
    }
    if (++stamp_ == 0) { // the stamps wrapped: forget every old visit
        std::fill(visited_.begin(), visited_.end(), 0);
        stamp_ = 1;
    }
    const auto open = [&](int x, int y) {
        return visited_[static_cast<std::size_t>(y) * w + x] != stamp_ && row(y)[x] != border;
    };
    seeds_.clear();
    seeds_.push_back(start);
    while (!seeds_.empty()) {
        const QPoint seed = seeds_.back();
        seeds_.pop_back();
        const int y = seed.y();
        if (!open(seed.x(), y)) {
            continue;
        }
        int left = seed.x();
        while (left > 0 && open(left - 1, y)) {
            --left;
        }
        int right = seed.x();
        while (right + 1 < w && open(right + 1, y)) {
            ++right;
        }
        std::uint32_t* stamps = visited_.data() + static_cast<std::size_t>(y) * w;
        std::fill(stamps + left, stamps + right + 1, stamp_);
        fillSpan(y, left, right, fillColor_);
        // One seed for each run of open pixels above and below the span.
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= h) {
                continue;
            }
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool isOpen = open(x, ny);
                if (isOpen && !inRun) {
                    seeds_.push_back(QPoint(x, ny));
                }
                inRun = isOpen;
            }
        }
    }
    return true;
}

QRegion RasterSurface::takeChangedRegion() {
    QRegion region = changed_.toRegion(8);
    changed_.reset();
    return region;
}

} // namespace orvanel
