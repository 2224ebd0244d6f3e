// SPDX-License-Identifier: MIT
// The board as a screen shows it, letters aside, the keyboard pointer's
// crosshair included, at the screen's own resolution: a picture of the
// board's device pixels kept up to date by composing only what the session
// reports as damaged. For a shell that shows a copy of the picture rather
// than painting into its own (the browser).
#pragma once

#include "raster/pixel_buffer.h"

#include "window/session.h"
#include <algorithm>
#include <vector>

namespace orvanel {

class BoardScreen {
public:
    // The whole board, as `s` shows it now at `scale`; what `s` had
    // reported as damaged is taken with it.
    explicit BoardScreen(Session& s, BoardScale scale = {})
        : scale_(scale), pixels_(Size{scale.width, scale.height}, kBoardGreen) {
        s.takeDamage([](const Rect&) {});
        s.composeBoard(pixels_.view(), pixels_.rect(), scale_);
    }

    BoardScale scale() const { return scale_; }
    const PixelBuffer& pixels() const { return pixels_; }

    // Shows the board at another size: the picture is composed anew.
    void setScale(const Session& s, BoardScale scale) {
        if (scale != scale_) {
            scale_ = scale;
            pixels_ = PixelBuffer(Size{scale.width, scale.height}, kBoardGreen);
            s.composeBoard(pixels_.view(), pixels_.rect(), scale_);
        }
    }

    // Composes board rectangles `damage` (which it takes) anew, and calls
    // repainted(Rect) with the device rectangle around what changed in each:
    // a part of the board painted again as it was (the marks at B and C,
    // which every drag step paints anew) is no change, and a screen then
    // copies nothing there.
    template <typename Visit>
    void update(const Session& s, DamageList<8>& damage, Visit repainted) {
        damage.take([&](const Rect& r) {
            const Rect area = scale_.deviceRect(r).intersected(pixels_.rect());
            if (area.isEmpty()) {
                return;
            }
            // What the screen showed there, kept to compare with.
            shownBefore_.resize(std::size_t(area.width) * std::size_t(area.height));
            for (int y = area.top; y <= area.bottom(); ++y) {
                const Rgb* row = pixels_.row(y) + area.left;
                std::copy(row, row + area.width,
                          shownBefore_.begin() + std::ptrdiff_t(y - area.top) * area.width);
            }
            s.composeBoard(pixels_.view(), area, scale_);
            Rect changed;
            for (int y = area.top; y <= area.bottom(); ++y) {
                const Rgb* now = pixels_.row(y) + area.left;
                const Rgb* was = shownBefore_.data() + std::ptrdiff_t(y - area.top) * area.width;
                int first = 0;
                while (first < area.width && now[first] == was[first]) {
                    ++first;
                }
                if (first == area.width) {
                    continue;
                }
                int last = area.width - 1;
                while (now[last] == was[last]) {
                    --last;
                }
                changed = changed.united(Rect{area.left + first, y, last - first + 1, 1});
            }
            if (!changed.isEmpty()) {
                repainted(changed);
            }
        });
    }
    // The same with what `s` reports as damaged since the last update.
    template <typename Visit> void update(Session& s, Visit repainted) {
        DamageList<8> damage;
        s.takeDamage([&](const Rect& r) { damage.add(r); });
        update(s, damage, repainted);
    }

private:
    BoardScale scale_;
    PixelBuffer pixels_;
    std::vector<Rgb> shownBefore_; // a rectangle as it was shown, to compare with
};

} // namespace orvanel
