// SPDX-License-Identifier: MIT
// The program's window as scripts/drag-on-x11.sh measures it, with the proof
// the shipped program does not carry: the same window, started as the
// program starts it, whose board's moves are counted on their way in by an
// event filter (those that came while a press held a vertex: drag steps).
// When the window closes it prints the count and where A and D are.
#include "desktop/desktop_window.h"
#include "desktop/toolkit.h"

#include <QApplication>
#include <QEvent>

#include <cstdio>

namespace {

// Counts the mouse moves that reach the board while a press holds a vertex.
class DragMoves : public QObject {
public:
    DragMoves(const orvanel::DesktopWindow& window, QObject* board) : window_(window) {
        board->installEventFilter(this);
    }
    long count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove &&
            window_.model().state().dragVertex != orvanel::kNoVertex) {
            ++count;
        }
        return false;
    }

private:
    const orvanel::DesktopWindow& window_;
};

} // namespace

int main(int argc, char* argv[]) {
    orvanel::nameProgram();
    QApplication app(argc, argv);
    // Every pointer move reaches the board, as in the program.
    QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    orvanel::setUpToolkit(app);
    orvanel::DesktopWindow window;
    DragMoves moves(window, window.board());
    window.show();
    const int code = app.exec();
    const orvanel::FigureState& f = window.model().state().figure;
    std::fprintf(stderr, "orvanel: %ld drag steps; A at (%g, %g), D at (%g, %g)\n", moves.count,
                 f.xA, f.yA, f.xD, double(f.yD));
    return code;
}
