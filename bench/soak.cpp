// SPDX-License-Identifier: MIT
// Long use: one million drag steps and 100,000 memo segments on the window,
// through its pointer handlers. Prints resident memory before and after, and
// the time of a drag step at the start and at the end.
#include "desktop/desktop_window.h"
#include "drag_path.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>

using namespace orvanel;

namespace {

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The boards the windows keep go to a folder of the run's own.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    setUpToolkit(app);
    const long dragSteps = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    const long memoSegments = argc > 2 ? std::atol(argv[2]) : 100'000;

    DesktopWindow window;
    window.show();
    Form1& model = window.model();
    // The pointer as the drawing area hands it on, with the window's update.
    const auto press = [&](float x, float y) {
        model.boardPress(kLeftButton, kLeftButton, 0, x, y);
        window.sync();
    };
    // The moves made while the press held a vertex: drag steps.
    long dragMoves = 0;
    const auto move = [&](float x, float y) {
        dragMoves += model.state().dragVertex != kNoVertex ? 1 : 0;
        model.boardMove(kLeftButton, 0, x, y);
        window.sync();
    };
    const auto release = [&](float x, float y) {
        model.boardRelease(kLeftButton, 0, 0, x, y);
        window.sync();
    };
    const std::vector<PointF> path = bench::recordedDragPath({550, 350}, 4000);
    constexpr long kWindow = 20'000; // steps timed at the start and at the end
    long step = 0;
    const auto dragFor = [&](long steps) {
        QElapsedTimer timer;
        timer.start();
        for (long i = 0; i < steps; ++i, ++step) {
            const PointF p = path[step % path.size()];
            if (step % path.size() == 0) { // take hold of D again at the path's start
                release(float(p.x), float(p.y));
                window.button(controls::Command1)->click();
                press(550, 350);
            }
            move(float(p.x), float(p.y));
            QCoreApplication::processEvents(); // let repaints happen as they would
        }
        return double(timer.nsecsElapsed()) / steps / 1000;
    };
    dragFor(kWindow); // warm up
    const long before = residentKiB();
    const double first = dragFor(kWindow);
    dragFor(dragSteps - 3 * kWindow);
    const double last = dragFor(kWindow);
    release(0, 0);

    window.button(controls::Command3)->click();
    QElapsedTimer memoTimer;
    memoTimer.start();
    for (long i = 0; i < memoSegments; ++i) {
        if (i % 1000 == 0) {
            window.button(controls::Option1[i / 1000 % kPens.size()])->click();
            press(float(i % 800), float(i % 600));
        }
        move(float((i * 7) % 800), float((i * 13) % 620));
    }
    const double memoMicros = double(memoTimer.nsecsElapsed()) / memoSegments / 1000;
    const long after = residentKiB();

    std::printf("drag steps: %ld (%ld timed); memo segments: %ld\n", dragMoves, dragSteps,
                memoSegments);
    std::printf("resident memory: %ld KiB before, %ld KiB after (%+ld KiB)\n", before, after,
                after - before);
    std::printf("drag step: %.2f us at the start, %.2f us at the end; memo segment: %.2f us\n",
                first, last, memoMicros);
    const bool memoryOk = after - before <= 1024;
    std::printf("%s memory within 1 MiB\n", memoryOk ? "PASS" : "FAIL");
    return memoryOk ? 0 : 1;
}
