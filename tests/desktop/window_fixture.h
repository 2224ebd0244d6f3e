// SPDX-License-Identifier: MIT
// Shared helpers for tests on the desktop window: the toolkit set up once per
// test program, and real mouse events sent to the board at real positions.
#pragma once

#include "desktop/desktop_window.h"
#include "desktop/toolkit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

namespace orvanel::test {

// Sets the toolkit up as the program does. The boards the test's windows
// keep go to a folder of the test's own, never to the user's.
inline void setUpTestToolkit() {
    static const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    setUpToolkit(*static_cast<QApplication*>(QCoreApplication::instance()));
    QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
}

// The board as the screen shows it: surface, light objects above it; on a
// screen with `ratio` device pixels per board pixel when that is not 1.
inline QImage renderBoard(const DesktopWindow& w, qreal ratio = 1) {
    QImage shown((QSizeF(w.board()->size()) * ratio).toSize(), QImage::Format_RGB32);
    shown.setDevicePixelRatio(ratio);
    QPainter painter(&shown);
    w.board()->paintBoard(painter, w.board()->rect());
    return shown;
}

// Sends a mouse event to the board's drawing area at board position `pos`.
// `buttons` is the state after the event, as the window system reports it.
inline void sendMouse(DesktopWindow& w, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QWidget* canvas = w.board();
    QMouseEvent event(type, pos, canvas->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

// A pointer that remembers which buttons it holds.
class Pointer {
public:
    explicit Pointer(DesktopWindow& w) : w_(w) {}
    void press(QPointF p, Qt::MouseButton b = Qt::LeftButton) {
        held_ |= b;
        sendMouse(w_, QEvent::MouseButtonPress, p, b, held_);
    }
    void move(QPointF p) { sendMouse(w_, QEvent::MouseMove, p, Qt::NoButton, held_); }
    void release(QPointF p, Qt::MouseButton b = Qt::LeftButton) {
        held_ &= ~Qt::MouseButtons(b);
        sendMouse(w_, QEvent::MouseButtonRelease, p, b, held_);
    }
    void drag(QPointF from, QPointF to, Qt::MouseButton b = Qt::LeftButton) {
        press(from, b);
        move(to);
        release(to, b);
    }

private:
    DesktopWindow& w_;
    Qt::MouseButtons held_;
};

// Where a control's widget lies in the window, also inside a row's group.
inline QRect windowGeometry(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

inline QPointF toQPointF(PointF p) {
    return {p.x, p.y};
}

} // namespace orvanel::test
