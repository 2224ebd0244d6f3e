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

} // namespace orvanel
