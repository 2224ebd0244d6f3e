// What the program needs from the desktop toolkit beyond plain widgets: the two
// Japanese faces of the design, its default user-interface font and style, and
// a check that there is a display to show the window on.
#pragma once

#include <QFont>

class QApplication;

namespace orvanel {

// The design's face names.
inline constexpr char16_t kGothicFace[] = u"ＭＳ Ｐゴシック";
inline constexpr char16_t kMinchoFace[] = u"ＭＳ Ｐ明朝";

// The design was made at 96 dots per inch: a point is 4/3 of a pixel. Fonts are
// sized in pixels so the layout does not depend on the screen's reported
// resolution.
int pointsToPixels(double points);

// A font of the design's face at its point size.
QFont designFont(const char16_t* face, double points, bool bold = false);

// Maps the design's faces to the proportional IPA faces that share their
// metrics, and sets the style and default font of the application. Call once,
// after the application object exists.
void setUpToolkit(QApplication& app);

// True when a window can be shown: an X or Wayland display is named, or a
// platform plugin was chosen explicitly (offscreen, for instance).
bool displayAvailable();

} // namespace orvanel
