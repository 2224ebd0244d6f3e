// SPDX-License-Identifier: MIT
// Starts the program: one window on the desktop, until it is closed.
#include "desktop/command_line.h"
#include "desktop/desktop_window.h"
#include "desktop/toolkit.h"

#include <QApplication>
#include <QFile>
#include <QScreen>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Enlarges (or shrinks) the whole window to fill the screen it opens on, as
// QT_SCALE_FACTOR does: the factor is set before the application starts,
// from a look at the screen by a short-lived one.
void fitToScreen(int argc, char* argv[]) {
    double factor = 1;
    {
        // The probe takes the toolkit's options (-platform, -display, ...)
        // out of the arguments it is given: it is given a copy of them, so
        // that the application after it finds them all.
        std::vector<char*> arguments(argv, argv + argc + 1);
        int count = argc;
        QGuiApplication probe(count, arguments.data());
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            factor = orvanel::fitFactor(*screen);
        }
    }
    const double already = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                               ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                               : 1.0;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor * (already > 0 ? already : 1.0), 'g', 4));
}

} // namespace

int main(int argc, char* argv[]) {
    orvanel::CommandLine line = orvanel::parseCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fputs(orvanel::usageErrorText(line.error).c_str(), stderr);
        return orvanel::kUsageErrorStatus;
    }
    if (line.help || line.version) {
        std::fputs((line.help ? orvanel::helpText() : orvanel::versionText()).c_str(), stdout);
        return 0;
    }
    // A file that cannot be read is said before a display is looked for;
    // one that holds no board once the window that would open it is built.
    const QString file = QString::fromLocal8Bit(line.file);
    if (QFile readable(file); !file.isEmpty() && !readable.open(QIODevice::ReadOnly)) {
        std::fputs(orvanel::openFailedText(line.file, orvanel::Notice::ReadFailed).c_str(), stderr);
        return orvanel::kOpenFailedStatus;
    }
    // The toolkit's arguments, which the application keeps and takes its
    // options from.
    std::vector<char*> arguments;
    for (std::string& argument : line.toolkitArguments) {
        arguments.push_back(argument.data());
    }
    arguments.push_back(nullptr);
    argc = int(arguments.size()) - 1;
    argv = arguments.data();
    if (!orvanel::windowSystemAvailable(argc, argv)) {
        std::fputs("orvanel: no X11 or Wayland display to show the window on; start it from a "
                   "desktop session\n",
                   stderr);
        return 2;
    }
    orvanel::nameProgram();
    if (line.fit) {
        fitToScreen(argc, argv);
    }
    QApplication app(argc, argv);
    // Every pointer move must reach the board: a drag step is taken per move,
    // never per batch of moves. The application constructor switched motion
    // compression on, so it is switched off here, after it.
    QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    orvanel::setUpToolkit(app);
    QApplication::setWindowIcon(orvanel::programIcon());
    orvanel::DesktopWindow window;
    // The board asked for on the command line opens before the window shows,
    // or the program ends, saying why. With no board kept, --last starts as
    // usual.
    QString board = file;
    if (line.last) {
        const std::vector<orvanel::KeptBoard> kept = orvanel::KeptBoards::list();
        board = kept.empty() ? QString() : kept.front().path;
    }
    if (!board.isEmpty()) {
        if (const std::optional<orvanel::Notice> problem = window.openFile(board)) {
            std::fputs(orvanel::openFailedText(board.toStdString(), *problem).c_str(), stderr);
            return orvanel::kOpenFailedStatus;
        }
    }
    window.show();
    return app.exec();
}
