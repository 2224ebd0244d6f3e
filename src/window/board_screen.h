// SPDX-License-Identifier: MIT
// The board as a screen shows it, letters aside: a picture kept up to date by
// repainting only what the window reports as damaged. For a shell that shows
// a copy of the picture rather than painting into its own (the browser).
#pragma once

#include "raster/pixel_buffer.h"
#include "window/form1.h"

namespace orvanel {

class BoardScreen {
public:
    // The whole board, as `w` shows it now; what `w` had reported as damaged
    // is taken with it.
    explicit BoardScreen(Form1& w) : pixels_(kBoardSize, kBoardGreen) {
        w.takeDamage([](const Rect&) {});
        w.composeBoard(pixels_.view(), pixels_.rect());
    }

    const PixelBuffer& pixels() const { return pixels_; }

    // Repaints what `w` reports as damaged since the last update, and calls
    // repainted(Rect) for each rectangle of the board it repainted.
    template <typename Visit> void update(Form1& w, Visit repainted) {
        w.takeDamage([&](const Rect& r) {
            const Rect area = r.intersected(pixels_.rect());
            if (!area.isEmpty()) {
                w.composeBoard(pixels_.view(), area);
                repainted(area);
            }
        });
    }

private:
    PixelBuffer pixels_;
};

} // namespace orvanel
