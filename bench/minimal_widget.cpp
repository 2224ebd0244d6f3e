// SPDX-License-Identifier: MIT
// The floor of the X11 drag measurement: a plain Qt widget of the window's
// size that receives every pointer move, uncompressed, and does nothing with
// it.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QWidget widget;
    widget.setWindowTitle(QStringLiteral("Minimal widget"));
    widget.setFixedSize(917, 687);
    widget.setMouseTracking(true);
    widget.show();
    return app.exec();
}
