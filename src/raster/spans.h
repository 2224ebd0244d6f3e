// SPDX-License-Identifier: MIT
// Bookkeeping of where a surface was painted: ranges of columns per row and
// per band of rows, so that clearing and repainting touch only those.
#pragma once

#include "raster/geometry.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <vector>

namespace orvanel {

// Ranges of columns touched in bands of 16 rows. A band keeps a few disjoint
// ranges, so that changes far apart in one band (the marks at B and at C,
// say) do not make the whole stretch between them count.
class BandSpans {
public:
    static constexpr int kBandShift = 4;
    static constexpr int kBandRows = 1 << kBandShift;
    static constexpr int kRangesPerBand = 4;
    // Ranges closer than this are joined: one rectangle costs less to repaint
    // than two with a narrow gap between them.
    static constexpr int kJoinGap = 32;

    explicit BandSpans(int rows) : rows_(rows), bands_((rows >> kBandShift) + 1) {}

    void add(int y, int x0, int x1) { addToBand(bands_[y >> kBandShift], x0, x1); }
    // The same for every row from y0 to y1.
    void add(int y0, int y1, int x0, int x1) {
        for (int band = y0 >> kBandShift; band <= y1 >> kBandShift; ++band) {
            addToBand(bands_[band], x0, x1);
        }
    }
    // Whether the band holding row y touched a column in [x0, x1].
    bool touches(int y, int x0, int x1) const {
        const Band& band = bands_[y >> kBandShift];
        for (int i = 0; i < band.count; ++i) {
            if (band.ranges[i].lo <= x1 && band.ranges[i].hi >= x0) {
                return true;
            }
        }
        return false;
    }
    // Calls visit(Rect) for each touched range of each band.
    template <typename Visit> void forEachRect(Visit visit) const {
        for (std::size_t b = 0; b < bands_.size(); ++b) {
            const int top = int(b) << kBandShift;
            for (int i = 0; i < bands_[b].count; ++i) {
                const Range& r = bands_[b].ranges[i];
                visit(Rect{r.lo, top, r.hi - r.lo + 1, std::min(kBandRows, rows_ - top)});
            }
        }
    }
    void reset() {
        for (Band& band : bands_) {
            band.count = 0;
        }
    }

private:
    struct Range {
        int lo, hi;
    };
    struct Band {
        std::array<Range, kRangesPerBand> ranges;
        int count = 0;
    };

    static void addToBand(Band& band, int x0, int x1) {
        for (int i = 0; i < band.count; ++i) {
            if (x0 >= band.ranges[i].lo && x1 <= band.ranges[i].hi) {
                return; // the common case: within a range already
            }
        }
        for (int i = 0; i < band.count;) {
            const Range& r = band.ranges[i];
            if (x0 <= r.hi + kJoinGap && r.lo <= x1 + kJoinGap) {
                x0 = std::min(x0, r.lo);
                x1 = std::max(x1, r.hi);
                band.ranges[i] = band.ranges[--band.count];
                i = 0; // the grown range may now reach others
            } else {
                ++i;
            }
        }
        if (band.count == kRangesPerBand) {
            // Full: the new range joins the nearest one.
            int nearest = 0;
            for (int i = 1; i < band.count; ++i) {
                if (gap(band.ranges[i], x0, x1) < gap(band.ranges[nearest], x0, x1)) {
                    nearest = i;
                }
            }
            x0 = std::min(x0, band.ranges[nearest].lo);
            x1 = std::max(x1, band.ranges[nearest].hi);
            band.ranges[nearest] = band.ranges[--band.count];
        }
        band.ranges[band.count++] = {x0, x1};
    }
    static int gap(const Range& r, int x0, int x1) { return std::max(r.lo - x1, x0 - r.hi); }

    int rows_;
    std::vector<Band> bands_;
};

// Where something was painted since the last drain: for each row and each
// block of 128 columns, the range of columns [lo, hi] touched, so two marks far
// apart in one row do not make the row's whole stretch between them count.
// Bands of rows keep the hull of their rows, so untouched stretches of rows
// are passed over at once.
class RowSpans {
public:
    static constexpr int kBlockShift = 7;

    RowSpans(int rows, int columns)
        : blocks_((columns >> kBlockShift) + 1), spans_(std::size_t(rows) * blocks_), bands_(rows) {
    }

    void add(int y, int x0, int x1) {
        for (int block = x0 >> kBlockShift; block <= x1 >> kBlockShift; ++block) {
            const int first = std::max(x0, block << kBlockShift);
            const int last = std::min(x1, ((block + 1) << kBlockShift) - 1);
            Span& span = spans_[y * blocks_ + block];
            span.lo = std::min(span.lo, first);
            span.hi = std::max(span.hi, last);
        }
        bands_.add(y, x0, x1);
    }
    // The same for every row from y0 to y1.
    void add(int y0, int y1, int x0, int x1) {
        for (int y = y0; y <= y1; ++y) {
            for (int block = x0 >> kBlockShift; block <= x1 >> kBlockShift; ++block) {
                Span& span = spans_[y * blocks_ + block];
                span.lo = std::min(span.lo, std::max(x0, block << kBlockShift));
                span.hi = std::max(span.hi, std::min(x1, ((block + 1) << kBlockShift) - 1));
            }
        }
        bands_.add(y0, y1, x0, x1);
    }
    const BandSpans& bands() const { return bands_; }
    // Calls visit(x0, x1) for the touched parts of columns [x0, x1] of row y.
    template <typename Visit> void forEachTouched(int y, int x0, int x1, Visit visit) const {
        for (int block = x0 >> kBlockShift; block <= x1 >> kBlockShift; ++block) {
            const Span& span = spans_[y * blocks_ + block];
            const int first = std::max(x0, span.lo);
            const int last = std::min(x1, span.hi);
            if (first <= last) {
                visit(first, last);
            }
        }
    }
    // Calls visit(y, lo, hi) for every touched range, then forgets them all.
    template <typename Visit> void drain(Visit visit) {
        bands_.forEachRect([&](const Rect& band) {
            for (int y = band.top; y <= band.bottom(); ++y) {
                for (int block = band.left >> kBlockShift; block <= band.right() >> kBlockShift;
                     ++block) {
                    Span& span = spans_[y * blocks_ + block];
                    if (span.lo <= span.hi) {
                        visit(y, span.lo, span.hi);
                        span = Span{};
                    }
                }
            }
        });
        bands_.reset();
    }

private:
    struct Span {
        int lo = INT_MAX;
        int hi = INT_MIN;
    };
    int blocks_;
    std::vector<Span> spans_;
    BandSpans bands_;
};

} // namespace orvanel
