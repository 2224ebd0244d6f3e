// SPDX-License-Identifier: MIT
// Starts the program: one window on the desktop, until it is closed.
#include "desktop/desktop_window.h"
#include "desktop/toolkit.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (!orvanel::displayAvailable()) {
        std::fputs("orvanel: no display to show the window on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set); start it from a desktop session\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    // Every pointer move must reach the board: a drag step is taken per move,
    // never per batch of moves. The application constructor switched motion
    // compression on, so it is switched off here, after it.
    QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    orvanel::setUpToolkit(app);
    orvanel::DesktopWindow window;
    window.show();
    const int code = app.exec();
    // For measuring scripts: proof that every pointer move was a drag step.
    if (qEnvironmentVariableIsSet("ORVANEL_REPORT_STEPS")) {
        const orvanel::FigureState& f = window.model().state().figure;
        std::fprintf(stderr, "orvanel: %ld drag steps; A at (%g, %g), D at (%g, %g)\n",
                     window.model().dragSteps(), f.xA, f.yA, f.xD, double(f.yD));
    }
    return code;
}
