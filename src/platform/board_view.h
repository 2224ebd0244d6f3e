// The board on the screen: a frame with a two-pixel sunken border around the
// drawing area. The drawing area shows the retained surface and paints the
// light objects above it; it turns mouse events into (button code, modifier
// state, real board position) and forwards them, nothing more.
#pragma once

#include "platform/board_layer.h"
#include "platform/raster_surface.h"

#include <QFrame>
#include <QLabel>

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

class BoardCanvas;

// A vertex letter. A press on it belongs to the letter, which does nothing with
// it; moves without a button held pass on to the board, so the cursor circle
// keeps following the pointer across a letter.
class LetterLabel : public QLabel {
public:
    LetterLabel(BoardCanvas* canvas);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    BoardCanvas* canvas_;
};

// The drawing area, exactly the surface's size.
class BoardCanvas : public QWidget {
public:
    BoardCanvas(RasterSurface& surface, BoardLayer& layer, QWidget* parent);

    void setPointerSink(PointerSink* sink) { sink_ = sink; }
    PointerSink* pointerSink() const { return sink_; }
    LetterLabel* letter(int index) const { return letters_[index]; }

    // Requests a repaint of what changed on the surface and in the layer since
    // the last call, and moves the letter widgets to their objects' places.
    void sync();

    // Paints surface and light objects, as the screen shows them, into `painter`
    // over `rect`; used by paintEvent and by anything that needs a picture.
    void render(QPainter& painter, const QRect& rect) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class LetterLabel;
    void forward(QMouseEvent* event, QPointF boardPos);

    RasterSurface& surface_;
    BoardLayer& layer_;
    PointerSink* sink_ = nullptr;
    std::array<LetterLabel*, 4> letters_{};
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
