// SPDX-License-Identifier: MIT
// The size a shell shows the window at to fill a screen: the largest factor
// at which the whole window fits the space it is given, never so small that
// its captions cannot be read; and, for a shell that places the window
// itself (the page), where it goes.
#pragma once

#include "raster/geometry.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace orvanel {

inline constexpr double kMinFitFactor = 0.5;
// The largest factor a user may ask for: a 4K screen fits about 3.1.
inline constexpr double kMaxAskedFactor = 4;

// The factor for a window of `window` pixels in `width` x `height` of room.
constexpr double fitFactor(double width, double height, Size window) {
    return std::max(kMinFitFactor,
                    std::min(width / double(window.width), height / double(window.height)));
}

// The factor a user asked for in text (the page's `?scale=1.5`): a decimal
// from kMinFitFactor to kMaxAskedFactor; none for anything else, and the
// window is then fitted.
std::optional<double> askedFactor(std::string_view text);

// Where the window is shown in a space of `width` x `height` (CSS pixels,
// `dpr` device pixels each): its factor, its top-left corner, and whether the
// space scrolls because the window is larger. The window is centred, at the
// factor asked for or else the fitting one, and nudged by less than a device
// pixel (or made a hair smaller) so that the board's top-left corner falls
// on a whole device pixel: the board's picture then lands pixel for pixel.
struct WindowPlace {
    double factor = 1;
    double left = 0;
    double top = 0;
    bool scrolls = false;
};
WindowPlace placeWindow(double width, double height, double dpr, std::optional<double> asked);

// The margin round the window at its own size in a page laid out wider than
// a small screen (below): room for placeWindow to put the board on a whole
// device pixel without going below the window's own size.
inline constexpr double kZoomedOutMargin = 8;

// On a screen of `width` x `height` CSS pixels too small for the whole window
// even at kMinFitFactor (a phone held upright), the width a page lays itself
// out at instead: as wide as the window at its own size with a margin round
// it, and as high, for the screen's shape. The browser shows that page
// zoomed out to the screen, the window whole and smaller, and pinching
// enlarges it; placeWindow in that space gives a factor of at least 1. None
// where the screen holds the window at kMinFitFactor.
std::optional<double> zoomedOutWidth(double width, double height);

} // namespace orvanel
