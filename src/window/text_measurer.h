// SPDX-License-Identifier: MIT
// What only the shell's toolkit knows: how large a caption is in its font.
// The window asks it for the labels that size themselves to their text and for
// the vertex letters' boxes, once, when it is built.
#pragma once

#include "raster/geometry.h"

#include <string_view>

namespace orvanel {

// The design's two faces and the platform's default user-interface font.
enum class Face {
    Default, // the platform's own, at its own size
    Gothic,  // "ＭＳ Ｐゴシック", a proportional Gothic
    Mincho,  // "ＭＳ Ｐ明朝", a proportional Mincho
};

struct FontSpec {
    Face face = Face::Default;
    double points = 0; // at 96 dots per inch; unused with the default face
    bool bold = false;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // The size of a label's box that fits `text` (UTF-8) in `font` on one line.
    virtual Size textSize(const FontSpec& font, std::string_view text) const = 0;
};

} // namespace orvanel
