// The board on the screen: a frame with a two-pixel sunken border around the
// drawing area. The drawing area shows the retained surface and paints the
// light objects above it; it turns mouse events into (button code, modifier
// state, real board position) and forwards them, nothing more.
#pragma once

#include "platform/board_layer.h"
#include "platform/raster_surface.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QFrame>
#include <QStaticText>

#include <array>

namespace orvanel {

// Button codes of the pointer handlers.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Receives the board's pointer events. Positions are board pixels in single
// precision, origin at the drawing area's top-left corner.
class PointerSink {
public:
    virtual ~PointerSink() = default;
    virtual void boardMouseDown(int button, int shift, float x, float y) = 0;
    virtual void boardMouseMove(int button, int shift, float x, float y) = 0;
    virtual void boardMouseUp(int button, int shift, float x, float y) = 0;
};

// The drawing area, exactly the surface's size.
class BoardCanvas : public QWidget {
    Q_OBJECT

public:
    BoardCanvas(RasterSurface& surface, BoardLayer& layer, QWidget* parent);

    const BoardLayer& layer() const { return layer_; }

    void setPointerSink(PointerSink* sink) { sink_ = sink; }
    PointerSink* pointerSink() const { return sink_; }

    // The vertex letters' look: each letter's box is sized to its caption.
    void setLetterLook(const QFont& font, const QColor& text, const QColor& background);
    const QFont& letterFont() const { return letterFont_; }

    // The box letter `index` is painted in, in the drawing area's pixels: its
    // real top-left corner rounded to a whole pixel.
    QRectF letterBox(int index) const;
    // The letter whose box holds `pos`, the one drawn on top first; -1 if none.
    int letterAt(QPointF pos) const;

    // Requests a repaint of what changed on the surface and in the layer since
    // the last request, at most once a frame.
    void sync();
    static constexpr qint64 kFrameMillis = 16;

    // Paints surface and light objects, as the screen shows them, into `painter`
    // over `rect` (and over the whole of every device pixel that `rect` cuts
    // through, at a fractional device pixel ratio); used by paintEvent and by
    // anything that needs a picture.
    void paintBoard(QPainter& painter, const QRect& rect) const;

protected:
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
    // Copies the surface and draws the lines straight into `target`, at
    // `offset`, over `area` of the board.
    void composeDirect(QImage& target, QPoint offset, QRect area) const;

    RasterSurface& surface_;
    BoardLayer& layer_;
    PointerSink* sink_ = nullptr;
    QFont letterFont_;
    QColor letterText_;
    QColor letterBackground_;
    std::array<QStaticText, kLetterCount> letterTexts_;
    std::array<QRectF, kLetterCount> announcedLetterBoxes_{};
    // A press on a letter belongs to the letter, which does nothing with it:
    // the press and everything until its buttons are released stay away from
    // the board.
    bool letterHoldsPointer_ = false;
    QBasicTimer frameTimer_;
    QElapsedTimer sinceFrame_;
};

// `gamen`: the frame around the drawing area.
class BoardFrame : public QFrame {
public:
    static constexpr int kBorder = 2;

    BoardFrame(RasterSurface& surface, BoardLayer& layer, QWidget* parent);
    BoardCanvas* canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BoardCanvas* canvas_;
};

} // namespace orvanel
