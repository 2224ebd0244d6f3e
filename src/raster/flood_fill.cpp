// SPDX-License-Identifier: MIT
// The border-bounded flood fill: spans and a work list, no recursion, no
// visited buffer.
#include "raster/raster_surface.h"

namespace orvanel {

namespace {

// While a fill runs, the pixels it has painted hold the fill colour with a
// clear alpha byte. No other pixel ever has one (every colour stored on the
// surface is opaque), so that marks them visited without a separate buffer;
// the alpha byte is set again once the fill is complete.
constexpr Rgb visitedMark(Rgb fill) {
    return fill & ~kAlphaMask;
}
constexpr bool isVisited(Rgb pixel) {
    return (pixel & kAlphaMask) == 0;
}

} // namespace

// One fill: each span found seeds the rows above and below it. Towards the
// row it was found from, the part under its parent span is filled already
// and is not scanned again.
class SpanFill {
public:
    SpanFill(RasterSurface& surface, Rgb border)
        : s_(surface), border_(border), mark_(visitedMark(surface.fillColor_)) {}

    void run(Point start) {
        s_.seeds_.clear();
        s_.filled_.clear();
        s_.seeds_.push_back({start.x, start.y, start.y, 0, -1});
        while (!s_.seeds_.empty()) {
            const RasterSurface::Seed seed = s_.seeds_.back();
            s_.seeds_.pop_back();
            fillSpanAt(seed);
        }
    }

private:
    bool open(const Rgb* row, int x) const { return row[x] != border_ && !isVisited(row[x]); }

    void fillSpanAt(const RasterSurface::Seed& seed) {
        const int y = seed.y;
        Rgb* row = s_.image_.row(y);
        if (!open(row, seed.x)) {
            return;
        }
        int left = seed.x;
        while (left > 0 && open(row, left - 1)) {
            --left;
        }
        int right = seed.x;
        while (right + 1 < s_.width() && open(row, right + 1)) {
            ++right;
        }
        std::fill(row + left, row + right + 1, mark_);
        s_.filled_.push_back({y, left, right});
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= s_.height()) {
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

    // Seeds one span of row y for every open stretch of columns from..to.
    void scan(int y, int from, int to, int parentY, int left, int right) {
        const Rgb* row = s_.image_.row(y);
        for (int x = from; x <= to;) {
            while (x <= to && !open(row, x)) {
                ++x;
            }
            if (x > to) {
                break;
            }
            s_.seeds_.push_back({x, y, parentY, left, right});
            while (x <= to && open(row, x)) {
                ++x;
            }
        }
    }

    RasterSurface& s_;
    Rgb border_;
    Rgb mark_;
};

bool RasterSurface::floodFill(Point start, Rgb border) {
    border = opaque(border);
    if (!rect().contains(start) || image_.pixel(start.x, start.y) == border) {
        return false;
    }
    SpanFill(*this, border).run(start);
    // Every marked pixel is written, whatever its colour was before.
    for (const Span& span : filled_) {
        Rgb* row = image_.row(span.y);
        std::fill(row + span.x0, row + span.x1 + 1, fillColor_);
        if (fillColor_ != background_) {
            painted_.add(span.y, span.x0, span.x1);
        }
        changed_.add(span.y, span.x0, span.x1);
    }
    return true;
}

} // namespace orvanel
