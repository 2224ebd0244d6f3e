// SPDX-License-Identifier: MIT
// Rectangles of the board that need repainting: at most N of them, with no
// allocation. A rectangle is united with one already listed where painting
// their hull costs no more than painting both; when the list is full it joins
// the one that grows least by it.
#pragma once

#include "raster/geometry.h"

#include <array>
#include <cstddef>

namespace orvanel {

template <std::size_t N> class DamageList {
public:
    void add(Rect r) {
        if (r.isEmpty()) {
            return;
        }
        for (int i = 0; i < count_; ++i) {
            if (worthUniting(rects_[i], r)) {
                r = r.united(rects_[i]);
                rects_[i] = rects_[--count_];
                i = -1; // the grown rectangle may now be worth uniting with others
            }
        }
        if (count_ == int(N)) {
            int best = 0;
            for (int i = 1; i < count_; ++i) {
                if (growth(rects_[i], r) < growth(rects_[best], r)) {
                    best = i;
                }
            }
            r = r.united(rects_[best]);
            rects_[best] = rects_[--count_];
        }
        rects_[count_++] = r;
    }

    // Hands every rectangle to `into`, then forgets them all. Into an empty
    // list they go as they are: they were united here already.
    void takeInto(DamageList& into) {
        if (into.count_ == 0) {
            into.rects_ = rects_;
            into.count_ = count_;
            count_ = 0;
            return;
        }
        take([&](const Rect& r) { into.add(r); });
    }

    // Calls visit(Rect) for each rectangle, then forgets them all.
    template <typename Visit> void take(Visit visit) {
        for (int i = 0; i < count_; ++i) {
            visit(rects_[i]);
        }
        count_ = 0;
    }

private:
    static long area(const Rect& r) { return long(r.width) * long(r.height); }
    // Rectangles that overlap enough or lie close side by side; those that
    // only touch at a corner, like the pieces of a slanted line, stay apart.
    static bool worthUniting(const Rect& a, const Rect& b) {
        return area(a.united(b)) <= area(a) + area(b);
    }
    static long growth(const Rect& into, const Rect& r) {
        return area(into.united(r)) - area(into);
    }

    std::array<Rect, N> rects_{};
    int count_ = 0;
};

} // namespace orvanel
