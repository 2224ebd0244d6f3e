// SPDX-License-Identifier: MIT
// What only the shell's toolkit knows: how large a caption is in its font.
// The window asks it for the labels that size themselves to their text and for
// the vertex letters' boxes, once, when it is built.
#pragma once

#include "raster/geometry.h"
#include "raster/pixel_math.h"

#include <string_view>

namespace orvanel {

// The design's two faces and the platform's default user-interface font.
enum class Face {
    Default, // the shell's user-interface face, at kDefaultFontPoints
    Gothic,  // "ＭＳ Ｐゴシック", a proportional Gothic
    Mincho,  // "ＭＳ Ｐ明朝", a proportional Mincho
};

struct FontSpec {
    Face face = Face::Default;
    double points = 0; // unused with the default face
    bool bold = false;
};

// The platform's default user-interface font, in points: a proportional
// Gothic that keeps every caption inside its box.
inline constexpr double kDefaultFontPoints = 9;

// The design was made at 96 dots per inch: a point is 4/3 of a pixel. Fonts
// are sized in whole pixels, so the layout does not depend on the screen's
// reported resolution. The default face is sized at kDefaultFontPoints.
inline int fontPixels(const FontSpec& font) {
    const double points = font.face == Face::Default ? kDefaultFontPoints : font.points;
    return roundHalfUp(points * 96.0 / 72.0);
}

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // The size of a label's box that fits `text` (UTF-8) in `font` on one line.
    virtual Size textSize(const FontSpec& font, std::string_view text) const = 0;
};

} // namespace orvanel
