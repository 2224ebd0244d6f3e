// SPDX-License-Identifier: MIT
// Bookkeeping of where a surface was painted: ranges of columns per row and
// per band of rows, so that clearing and repainting touch only those.
#pragma once

#include "platform/geometry.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <vector>

namespace orvanel {

// Ranges of columns [lo, hi] touched in bands of 16 rows: one hull a band.
class BandSpans {
public:
    static constexpr int kBandShift = 4;
    static constexpr int kBandRows = 1 << kBandShift;

    explicit BandSpans(int rows)
        : rows_(rows), lo_((rows >> kBandShift) + 1, INT_MAX),
          hi_((rows >> kBandShift) + 1, INT_MIN) {}

    void add(int y, int x0, int x1) { add(y, y, x0, x1); }
    // The same for every row from y0 to y1.
    void add(int y0, int y1, int x0, int x1) {
        for (int band = y0 >> kBandShift; band <= y1 >> kBandShift; ++band) {
            lo_[band] = std::min(lo_[band], x0);
            hi_[band] = std::max(hi_[band], x1);
        }
    }
    // Whether the band holding row y touched a column in [x0, x1].
    bool touches(int y, int x0, int x1) const {
        const int band = y >> kBandShift;
        return lo_[band] <= x1 && hi_[band] >= x0;
    }
    // Calls visit(Rect) for each touched band.
    template <typename Visit> void forEachRect(Visit visit) const {
        for (std::size_t band = 0; band < lo_.size(); ++band) {
            if (lo_[band] <= hi_[band]) {
                const int top = int(band) << kBandShift;
                visit(Rect{lo_[band], top, hi_[band] - lo_[band] + 1,
                           std::min(kBandRows, rows_ - top)});
            }
        }
    }
    void reset() {
        std::fill(lo_.begin(), lo_.end(), INT_MAX);
        std::fill(hi_.begin(), hi_.end(), INT_MIN);
    }

private:
    int rows_;
    std::vector<int> lo_;
    std::vector<int> hi_;
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
