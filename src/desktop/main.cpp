// SPDX-License-Identifier: MIT
// Starts the program: one window on the desktop, until it is closed.
#include "desktop/desktop_window.h"
#include "desktop/toolkit.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    // The program has no options of its own; the toolkit takes its own
    // (-platform, -display, ...) from the arguments.
    if (!orvanel::windowSystemAvailable(argc, argv)) {
        std::fputs("orvanel: no X11 or Wayland display to show the window on; start it from a "
                   "desktop session\n",
                   stderr);
        return 2;
    }
    orvanel::nameProgram();
    QApplication app(argc, argv);
    // Every pointer move must reach the board: a drag step is taken per move,
    // never per batch of moves. The application constructor switched motion
    // compression on, so it is switched off here, after it.
    QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    orvanel::setUpToolkit(app);
    QApplication::setWindowIcon(orvanel::programIcon());
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
