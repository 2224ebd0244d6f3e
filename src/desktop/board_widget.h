// SPDX-License-Identifier: MIT
// The board on the screen: a frame with a two-pixel sunken border around the
// drawing area. The drawing area shows the window model's board and turns
// mouse and touch events into (button code, held buttons, modifier state,
// real board position) for the model, nothing more.
#pragma once

#include "window/frame_pacer.h"
#include "window/session.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QFrame>
#include <QStaticText>

#include <functional>
#include <vector>

class QTouchEvent;

namespace orvanel {

// The drawing area, exactly the surface's size.
class BoardCanvas : public QWidget {
    Q_OBJECT

public:
    // `afterInput` runs after every pointer event handed to the model, so the
    // window can show what it changed.
    BoardCanvas(Session& session, std::function<void()> afterInput, QWidget* parent);

    const Form1& model() const { return session_.window(); }
    const QFont& letterFont() const { return letterFont_; }

    // The box letter `index` is shown in, in the drawing area's pixels.
    QRect letterBox(int index) const;

    // Repaints `damage` (which it takes) and what waits from before, when the
    // session's frame pacer says.
    void scheduleRepaint(DamageList<8>& damage);

    // Paints the board as the screen shows it into `painter` over `rect` (and
    // over the whole of every device pixel that `rect` cuts through, at a
    // fractional device pixel ratio); used by paintEvent and by anything that
    // needs a picture.
    void paintBoard(QPainter& painter, const QRect& rect) const;
    // The same over every rectangle of `region`, as a repaint does.
    void paintRegion(QPainter& painter, const QRegion& region) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void requestRepaint();
    // Tells assistive technology about the letters that moved since it was
    // last told.
    void announceLetterMoves();
    void forward(QMouseEvent* event);
    void forwardTouch(QTouchEvent* event);
    void paintLetterCaptions(QPainter& painter, const QRectF& area) const;
    void copyLetters(PixelView target, const QRect& area) const;

    Session& session_;
    std::function<void()> afterInput_;
    QFont letterFont_;
    std::vector<QStaticText> letterTexts_;
    // Each letter painted once in its box, for screens with one device pixel
    // per board pixel: showing a letter is then a copy of its pixels.
    std::vector<QImage> letterImages_;
    std::vector<QRect> announcedLetterBoxes_;
    // The board's device pixels, at any other size than one device pixel per
    // board pixel: only what a repaint needs is composed anew.
    mutable QImage deviceBoard_;
    DamageList<8> pending_; // board rectangles not yet handed to the toolkit
    FramePacer pacer_;
    QElapsedTimer clock_;
    QBasicTimer frameTimer_;
};

// `gamen`: the frame around the drawing area. It takes the keyboard focus
// for the board: its keys move the keyboard pointer.
class BoardFrame : public QFrame {
public:
    BoardFrame(Session& session, std::function<void()> afterInput, QWidget* parent);
    BoardCanvas* canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Session& session_;
    std::function<void()> afterInput_;
    BoardCanvas* canvas_;
};

} // namespace orvanel
