// SPDX-License-Identifier: MIT
// The size a shell shows the window at to fill a screen: the largest factor
// at which the whole window fits the space it is given, never so small that
// its captions cannot be read.
#pragma once

#include "raster/geometry.h"

#include <algorithm>

namespace orvanel {

inline constexpr double kMinFitFactor = 0.5;

// The factor for a window of `window` pixels in `width` x `height` of room.
constexpr double fitFactor(double width, double height, Size window) {
    return std::max(kMinFitFactor,
                    std::min(width / double(window.width), height / double(window.height)));
}

} // namespace orvanel
