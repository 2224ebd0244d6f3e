// SPDX-License-Identifier: MIT
// The board as a screen shows it, letters aside, the keyboard pointer's
// crosshair included: a picture kept up to date by repainting only what the
// session reports as damaged. For a shell that shows a copy of the picture
// rather than painting into its own (the browser).
#pragma once

#include "raster/pixel_buffer.h"
#include "window/session.h"

namespace orvanel {

class BoardScreen {
public:
    // The whole board, as `s` shows it now; what `s` had reported as damaged
    // is taken with it.
    explicit BoardScreen(Session& s) : pixels_(kBoardSize, kBoardGreen) {
        s.takeDamage([](const Rect&) {});
        s.composeBoard(pixels_.view(), pixels_.rect());
    }

    const PixelBuffer& pixels() const { return pixels_; }

    // Repaints what `s` reports as damaged since the last update, and calls
    // repainted(Rect) for each rectangle of the board it repainted.
    template <typename Visit> void update(Session& s, Visit repainted) {
        s.takeDamage([&](const Rect& r) {
            const Rect area = r.intersected(pixels_.rect());
            if (!area.isEmpty()) {
                s.composeBoard(pixels_.view(), area);
                repainted(area);
            }
        });
    }

private:
    PixelBuffer pixels_;
};

} // namespace orvanel
