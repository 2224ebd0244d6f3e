// SPDX-License-Identifier: MIT
// What the program needs from Qt beyond plain widgets: the two Japanese faces
// of the design, its default user-interface font and style, a measure of
// captions for the window model, and a check that there is a display to show
// the window on.
#pragma once

#include "platform/color.h"
#include "platform/text_measurer.h"

#include <QColor>
#include <QFont>

class QApplication;

namespace orvanel {

// The design was made at 96 dots per inch: a point is 4/3 of a pixel. Fonts are
// sized in pixels so the layout does not depend on the screen's reported
// resolution.
int pointsToPixels(double points);

// The font of the design's face at its size; the default face is the
// application's font.
QFont designFont(const FontSpec& spec);

inline QColor toQColor(Rgb color) {
    return QColor(redOf(color), greenOf(color), blueOf(color));
}

// Maps the design's faces to the proportional IPA faces that share their
// metrics, and sets the style, palette and default font of the application.
// Call once, after the application object exists.
void setUpToolkit(QApplication& app);

// Sizes a caption by its advance and the font's line height, each rounded up
// to a whole pixel.
class QtTextMeasurer : public TextMeasurer {
public:
    Size textSize(const FontSpec& font, std::string_view text) const override;
};

// True when a window can be shown: an X or Wayland display is named, or a
// platform plugin was chosen explicitly (offscreen, for instance).
bool displayAvailable();

} // namespace orvanel
