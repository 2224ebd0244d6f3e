#include "platform/raster_surface.h"

#include "platform/pixel_math.h"

#include <climits>
#include <cmath>
#include <functional>

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

// floor(a / b) for b > 0.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

} // namespace

BandSpans::BandSpans(int rows)
    : lo_((rows >> kBandShift) + 1, INT_MAX), hi_((rows >> kBandShift) + 1, INT_MIN) {}

void BandSpans::reset() {
    std::fill(lo_.begin(), lo_.end(), INT_MAX);
    std::fill(hi_.begin(), hi_.end(), INT_MIN);
}

RowSpans::RowSpans(int rows, int columns)
    : rows_(rows), blocks_((columns >> kBlockShift) + 1),
      spans_(static_cast<std::size_t>(rows) * blocks_), bands_(rows) {}

RasterSurface::RasterSurface(QSize size, QRgb background)
    : image_(size, QImage::Format_RGB32), stride_(image_.bytesPerLine() / 4),
      background_(background | 0xff000000u), painted_(size.height(), size.width()),
      changed_(size.height()) {
    image_.fill(background_);
}

void RasterSurface::clear() {
    QRgb* base = pixels();
    painted_.drain([&](int y, int lo, int hi) {
        QRgb* row = base + y * stride_;
        std::fill(row + lo, row + hi + 1, background_);
        changed_.add(y, lo, hi);
    });
}

void RasterSurface::drawSegment(QPointF from, QPointF to, QRgb color) {
    drawSegment(from, to, color, image_.rect());
}

void RasterSurface::drawSegment(QPointF from, QPointF to, QRgb color, const QRect& within) {
    color |= 0xff000000u;
    if (lineWidth_ <= 1) {
        drawThinSegment(from, to, color, within & image_.rect());
    } else {
        drawWideSegment(from, to, lineWidth_ / 2.0, color);
    }
}

namespace {

// Follows q = floor(n / d) while n grows by a fixed step, without dividing.
class FloorDivision {
public:
    FloorDivision(std::int64_t n, std::int64_t d, std::int64_t step)
        : q_(floorDiv(n, d)), r_(n - q_ * d), d_(d), stepQ_(floorDiv(step, d)),
          stepR_(step - stepQ_ * d) {}
    std::int64_t quotient() const { return q_; }
    void advance() {
        q_ += stepQ_;
        r_ += stepR_;
        if (r_ >= d_) {
            r_ -= d_;
            ++q_;
        }
    }

private:
    std::int64_t q_, r_, d_, stepQ_, stepR_;
};

} // namespace

// The digital line between the rounded ends: for a line longer in x than in
// y, column x holds the pixel at y0 + round((x - x0) * dy / dx), halves
// rounded up, with the ends ordered so the direction of drawing does not
// matter; likewise with x and y exchanged. The pixels are walked a row at a
// time, so a long line costs a few operations per row; rows outside `within`
// and, when erasing, bands of rows with nothing painted cost nothing.
void RasterSurface::drawThinSegment(QPointF from, QPointF to, QRgb color, QRect within) {
    if (within.isEmpty()) {
        return;
    }
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
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    if (xMajor ? x0 > x1 : y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    const bool erasing = color == background_;
    // Columns the segment can touch within `within`, for skipping bands.
    const int left = int(std::max<std::int64_t>(std::min(x0, x1), within.left()));
    const int right = int(std::min<std::int64_t>(std::max(x0, x1), within.right()));
    if (left > right) {
        return;
    }
    const auto skippable = [&](std::int64_t y) {
        return erasing && !painted_.bands().touches(int(y), left, right);
    };
    constexpr std::int64_t kBandMask = BandSpans::kBandRows - 1;
    QRgb* base = pixels();

    if (!xMajor) {
        // One pixel a row, at x0 + floor((2 (y - y0) dx + dy) / (2 dy)).
        const std::int64_t first = std::max<std::int64_t>(y0, within.top());
        const std::int64_t last = std::min<std::int64_t>(y1, within.bottom());
        const auto seek = [&](std::int64_t y) {
            return FloorDivision(2 * (y - y0) * dx + dy, 2 * dy, 2 * dx);
        };
        FloorDivision column = seek(first);
        for (std::int64_t y = first; y <= last;) {
            if (skippable(y)) {
                y = (y | kBandMask) + 1;
                column = seek(y);
                continue;
            }
            const std::int64_t x = x0 + column.quotient();
            if (x >= within.left() && x <= within.right()) {
                writeRun(base, int(y), int(x), int(x), color);
            }
            ++y;
            column.advance();
        }
        return;
    }

    // A run of pixels a row. Row y runs from column c(y) to c(y + step) - 1,
    // where c(y) is the first column whose rounded row has reached y.
    const std::int64_t step = dy >= 0 ? 1 : -1;
    const auto seek = [&](std::int64_t y) {
        return dy >= 0 ? FloorDivision(dx - 2 * dx * (y - y0), 2 * std::max<std::int64_t>(dy, 1),
                                       -2 * dx)
                       : FloorDivision(2 * dx * (y0 - y - 1) + dx, -2 * dy, 2 * dx);
    };
    const auto columnOf = [&](const FloorDivision& c) {
        if (dy == 0) {
            return x0; // a single row: c(y0) = x0, c(y0 + 1) = x1 + 1
        }
        const std::int64_t x = dy > 0 ? x0 - c.quotient() : x0 + 1 + c.quotient();
        return std::clamp(x, x0, x1 + 1);
    };
    // Only the rows of the columns within `within` are walked: a side coming
    // from far away costs no more than one that starts on the board.
    const auto rowAt = [&](std::int64_t x) {
        return dx == 0 ? y0 : y0 + floorDiv(2 * (x - x0) * dy + dx, 2 * dx);
    };
    std::int64_t yFirst = rowAt(left);
    std::int64_t yLast = rowAt(right);
    if (step > 0) {
        yFirst = std::max<std::int64_t>(yFirst, within.top());
        yLast = std::min<std::int64_t>(yLast, within.bottom());
    } else {
        yFirst = std::min<std::int64_t>(yFirst, within.bottom());
        yLast = std::max<std::int64_t>(yLast, within.top());
    }
    if (step * yFirst > step * yLast) {
        return;
    }
    std::int64_t y = yFirst;
    std::int64_t start = columnOf(seek(y));
    FloorDivision next = seek(y + step);
    for (;;) {
        if (skippable(y)) {
            y = step > 0 ? (y | kBandMask) + 1 : (y & ~kBandMask) - 1;
            if (step * y > step * yLast) {
                break;
            }
            start = columnOf(seek(y));
            next = seek(y + step);
            continue;
        }
        const std::int64_t end = (dy == 0 ? x1 + 1 : columnOf(next)) - 1;
        const std::int64_t a = std::max<std::int64_t>(start, within.left());
        const std::int64_t b = std::min<std::int64_t>(end, within.right());
        if (a <= b) {
            writeRun(base, int(y), int(a), int(b), color);
        }
        if (y == yLast) {
            break;
        }
        start = end + 1;
        y += step;
        next.advance();
    }
}

void forEachCapsuleRun(QPointF from, QPointF to, double radius, const QRect& area,
                       const std::function<void(int y, int x0, int x1)>& run) {
    // Only the part of the segment within `radius` of the area can cover a
    // pixel; clipping first keeps the cost independent of the segment's length.
    const QRectF reach = QRectF(area).adjusted(-radius - 1, -radius - 1, radius + 2, radius + 2);
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

    // The band along the segment: 0 <= (p - a).u <= length and
    // |(p - a).n| <= radius. On row y each condition bounds x between two
    // values linear in y, worked out once here.
    struct Condition {
        double coef, k0, k1, min, max; // min <= coef * x + k0 + k1 * y <= max
        double inverse = coef != 0 ? 1 / coef : 0;
        bool holds(double y) const { return k0 + k1 * y >= min && k0 + k1 * y <= max; }
        std::pair<double, double> bounds(double y) const {
            const double e1 = (min - k0 - k1 * y) * inverse;
            const double e2 = (max - k0 - k1 * y) * inverse;
            return coef > 0 ? std::pair{e1, e2} : std::pair{e2, e1};
        }
    };
    const Condition along{ux, -a.x() * ux - a.y() * uy, uy, 0.0, length};
    const Condition across{-uy, a.x() * uy - a.y() * ux, ux, -radius, radius};

    const int yFirst =
        std::max(area.top(), static_cast<int>(std::ceil(std::min(a.y(), b.y()) - radius)));
    const int yLast =
        std::min(area.bottom(), static_cast<int>(std::floor(std::max(a.y(), b.y()) + radius)));
    for (int y = yFirst; y <= yLast; ++y) {
        // The covered part of this row is an interval: the hull of what the two
        // end disks and the band cover of it.
        double lo = HUGE_VAL;
        double hi = -HUGE_VAL;
        for (const QPointF& end : {a, b}) {
            const double ry = y - end.y();
            const double s = r2 - ry * ry;
            if (s >= 0) { // only rows near an end meet its round cap
                const double half = std::sqrt(s);
                lo = std::min(lo, end.x() - half);
                hi = std::max(hi, end.x() + half);
            }
        }
        if (length > 0) {
            double bandLo = -HUGE_VAL;
            double bandHi = HUGE_VAL;
            bool empty = false;
            for (const Condition& c : {along, across}) {
                if (c.coef == 0) {
                    empty = empty || !c.holds(y);
                } else {
                    const auto [e1, e2] = c.bounds(y);
                    bandLo = std::max(bandLo, e1);
                    bandHi = std::min(bandHi, e2);
                }
            }
            if (!empty && bandLo <= bandHi) {
                lo = std::min(lo, bandLo);
                hi = std::max(hi, bandHi);
            }
        }
        // Clamp before converting: the band may reach far beyond the area.
        lo = std::max(lo, area.left() - 1.0);
        hi = std::min(hi, area.right() + 1.0);
        if (lo > hi) {
            continue;
        }
        const int first = std::max(area.left(), ceilToInt(lo));
        const int last = std::min(area.right(), floorToInt(hi));
        if (first <= last) {
            run(y, first, last);
        }
    }
}

void RasterSurface::drawWideSegment(QPointF from, QPointF to, double radius, QRgb color) {
    QRgb* base = pixels();
    forEachCapsuleRun(from, to, radius, image_.rect(),
                      [&](int y, int x0, int x1) { writeRun(base, y, x0, x1, color); });
}

void RasterSurface::drawCircle(QPointF centre, double radius, QRgb color) {
    color |= 0xff000000u;
    const std::int64_t r = std::max<std::int64_t>(0, roundHalfEven(radius));
    const std::int64_t cx = roundHalfEven(centre.x());
    const std::int64_t cy = roundHalfEven(centre.y());
    const std::int64_t reach = r + lineWidth_ / 2 + 1;
    const std::int64_t top = std::max<std::int64_t>(0, cy - reach);
    const std::int64_t bottom = std::min<std::int64_t>(height() - 1, cy + reach);
    const std::int64_t leftmost = std::max<std::int64_t>(0, cx - reach);
    const std::int64_t rightmost = std::min<std::int64_t>(width() - 1, cx + reach);
    if (top > bottom || leftmost > rightmost) {
        return;
    }
    QRgb* base = pixels();
    if (fillStyle_ == FillStyle::Solid) {
        for (std::int64_t y = top; y <= bottom; ++y) {
            const std::int64_t dy = y - cy;
            if (dy * dy <= r * r) {
                const auto half = std::int64_t(std::floor(std::sqrt(double(r * r - dy * dy))));
                const std::int64_t a = std::max(leftmost, cx - half);
                const std::int64_t b = std::min(rightmost, cx + half);
                if (a <= b) {
                    writeRun(base, int(y), int(a), int(b), fillColor_);
                }
            }
        }
    }
    // The outline's pixels are written directly; its box is recorded as
    // painted once, row by row, instead of pixel by pixel. Erasing needs no
    // check: a pixel never painted is of the background colour already.
    const bool erasing = color == background_;
    const bool inside =
        cx - reach >= 0 && cy - reach >= 0 && cx + reach < width() && cy + reach < height();
    const auto plot = [&](std::int64_t x, std::int64_t y) {
        if (inside || (x >= 0 && y >= 0 && x < width() && y < height())) {
            base[y * stride_ + x] = color;
        }
    };
    if (lineWidth_ <= 1) {
        // Midpoint circle: eight symmetric octants, 8-connected and closed.
        std::int64_t x = 0;
        std::int64_t y = r;
        std::int64_t d = 1 - r;
        while (x <= y) {
            plot(cx + x, cy + y);
            plot(cx + y, cy + x);
            plot(cx - x, cy + y);
            plot(cx - y, cy + x);
            plot(cx + x, cy - y);
            plot(cx + y, cy - x);
            plot(cx - x, cy - y);
            plot(cx - y, cy - x);
            if (d < 0) {
                d += 2 * x + 3;
            } else {
                d += 2 * (x - y) + 5;
                --y;
            }
            ++x;
        }
    } else {
        // Wider outlines: the ring of pixels within half the width of the circle.
        const double inner = std::max(0.0, r - lineWidth_ / 2.0);
        const double outer = r + lineWidth_ / 2.0;
        for (std::int64_t y = top; y <= bottom; ++y) {
            for (std::int64_t x = leftmost; x <= rightmost; ++x) {
                const double d2 = double((x - cx) * (x - cx) + (y - cy) * (y - cy));
                if (d2 >= inner * inner && d2 <= outer * outer) {
                    plot(x, y);
                }
            }
        }
    }
    if (!erasing) {
        for (std::int64_t y = top; y <= bottom; ++y) {
            painted_.add(int(y), int(leftmost), int(rightmost));
        }
    }
    changed_.add(int(top), int(bottom), int(leftmost), int(rightmost));
}

bool RasterSurface::floodFill(QPoint start, QRgb border) {
    border |= 0xff000000u;
    const int w = width();
    const int h = height();
    if (start.x() < 0 || start.y() < 0 || start.x() >= w || start.y() >= h) {
        return false;
    }
    QRgb* base = pixels();
    if (base[start.y() * stride_ + start.x()] == border) {
        return false;
    }
    // Pixels filled so far hold the fill colour with a clear alpha byte, which
    // no other pixel ever has: that marks them visited without a separate
    // buffer. The alpha byte is set again once the fill is complete.
    const QRgb mark = fillColor_ & 0x00ffffffu;
    const auto open = [&](const QRgb* row, int x) {
        const QRgb p = row[x];
        return p != border && (p >> 24) != 0;
    };
    seeds_.clear();
    filled_.clear();
    seeds_.push_back({start.x(), start.y(), start.y(), 0, -1});
    // Each span found seeds the rows above and below it. Towards the row it
    // was found from, the part under its parent span is filled already and is
    // not scanned again.
    const auto scan = [&](int y, int from, int to, int parentY, int left, int right) {
        const QRgb* row = base + y * stride_;
        for (int x = from; x <= to;) {
            while (x <= to && !open(row, x)) {
                ++x;
            }
            if (x > to) {
                break;
            }
            seeds_.push_back({x, y, parentY, left, right});
            while (x <= to && open(row, x)) {
                ++x;
            }
        }
    };
    while (!seeds_.empty()) {
        const Seed seed = seeds_.back();
        seeds_.pop_back();
        const int y = seed.y;
        QRgb* row = base + y * stride_;
        if (!open(row, seed.x)) {
            continue;
        }
        int left = seed.x;
        while (left > 0 && open(row, left - 1)) {
            --left;
        }
        int right = seed.x;
        while (right + 1 < w && open(row, right + 1)) {
            ++right;
        }
        std::fill(row + left, row + right + 1, mark);
        filled_.push_back({y, left, right});
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= h) {
                continue;
            }
            if (ny != seed.parentY || seed.parentLeft > seed.parentRight) {
                scan(ny, left, right, y, left, right);
                continue;
            }
            scan(ny, left, std::min(right, seed.parentLeft - 1), y, left, right);
            scan(ny, std::max(left, seed.parentRight + 1), right, y, left, right);
        }
    }
    for (const Span& span : filled_) {
        QRgb* row = base + span.y * stride_;
        std::fill(row + span.x0, row + span.x1 + 1, fillColor_);
        if (fillColor_ != background_) {
            painted_.add(span.y, span.x0, span.x1);
        }
        changed_.add(span.y, span.x0, span.x1);
    }
    return true;
}

QRegion RasterSurface::takeChangedRegion() {
    QRegion region;
    takeChangedRects([&region](const QRect& rect) { region += rect; });
    return region;
}

} // namespace orvanel
