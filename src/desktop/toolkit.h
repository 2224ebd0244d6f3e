// SPDX-License-Identifier: MIT
// What the program needs from Qt beyond plain widgets: the two Japanese faces
// of the design, its default user-interface font and style, a measure of
// captions for the window model, the program's name and icon for the desktop,
// and a check that there is a window system to show the window on.
#pragma once

#include "raster/color.h"
#include "window/captions.h"
#include "window/text_measurer.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

#include <string_view>

class QApplication;
class QScreen;

namespace orvanel {

inline QString qString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// A caption of the program's own on one line, the Japanese first and the
// English after it: "開く / Open".
inline QString inBothLanguages(const Caption& caption) {
    return qString(caption.japanese) + QStringLiteral(" / ") + qString(caption.english);
}

// The font of the design's face at its size; the default face is the
// application's font.
QFont designFont(const FontSpec& design);

// The borders of the boxes and buttons, and the keyboard focus ring: dark
// enough on the window's light green (4.4 : 1 and 11 : 1).
inline const QColor kBorderColor{112, 112, 112};
inline const QColor kFocusColor{0, 0, 160};

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

// False only when the toolkit would fail for want of a window system: the
// platform it would use (chosen with its -platform option or QT_QPA_PLATFORM,
// else X11 or Wayland) needs a display and none is there. X11 needs DISPLAY or
// the -display option; Wayland needs WAYLAND_DISPLAY, WAYLAND_SOCKET or the
// default socket. A platform without a window system (offscreen, ...) passes.
// Reads the arguments before the application object takes its own from them.
bool windowSystemAvailable(int argc, const char* const* argv);

// The factor at which the window fills the room `screen` leaves it (its
// available area less the window's frame), as `orvanel --fit` shows it.
double fitFactor(const QScreen& screen);

// Names the program to the desktop: its name (on X11 the window class, which
// the menu entry's StartupWMClass names), its version, and its desktop file
// name (the Wayland app id, and the menu entry's file name). Call before the
// application object is made, so that all it sets up sees them.
void nameProgram();

// The window icon: the icon theme's, or else the icons installed with the
// program (found from the program's own directory, so any install prefix and
// the build tree work). Needs the application object.
QIcon programIcon();

} // namespace orvanel
