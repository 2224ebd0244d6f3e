// The board's drawing surface: a retained RGB image with the few drawing
// operations the figure and the memo pen need. It knows nothing about widgets,
// so every pixel rule can be tested without a window.
//
// Coordinates are board pixels with the centre of pixel (i, j) at the real
// point (i, j); x grows to the right and y downwards. Everything drawn is
// clipped to the image; coordinates may lie anywhere, also far outside it.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <vector>

namespace orvanel {

// Width and height of the board's drawing area in pixels.
inline constexpr QSize kBoardSize{802, 626};

// Per-row ranges of columns [lo, hi] that something touched; rows never
// touched hold an empty range. Cheap to extend, cheap to walk.
class RowSpans {
public:
    explicit RowSpans(int rows = 0);
    void add(int y, int x0, int x1);
    void reset();
    bool isEmpty() const { return yMin_ > yMax_; }
    int firstRow() const { return yMin_; }
    int lastRow() const { return yMax_; }
    int lo(int y) const { return lo_[y]; }
    int hi(int y) const { return hi_[y]; }
    // Rectangles covering the spans, one per band of `bandHeight` rows.
    QRegion toRegion(int bandHeight) const;

private:
    std::vector<int> lo_;
    std::vector<int> hi_;
    int yMin_;
    int yMax_;
};

class RasterSurface {
public:
    enum class FillStyle { Solid, Transparent };

    explicit RasterSurface(QSize size = kBoardSize, QRgb background = qRgb(0, 128, 0));

    QSize size() const { return image_.size(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QRgb background() const { return background_; }
    const QImage& image() const { return image_; }
    QRgb pixel(int x, int y) const { return image_.pixel(x, y) | 0xff000000u; }

    // Erases everything drawn to the background colour. Only rows and columns
    // that hold a non-background pixel are touched, which gives the same image
    // as filling the whole surface at a fraction of the cost.
    void clear();

    int lineWidth() const { return lineWidth_; }
    void setLineWidth(int width) { lineWidth_ = width < 1 ? 1 : width; }
    FillStyle fillStyle() const { return fillStyle_; }
    void setFillStyle(FillStyle style) { fillStyle_ = style; }
    QRgb fillColor() const { return fillColor_; }
    void setFillColor(QRgb color) { fillColor_ = color | 0xff000000u; }

    // A solid segment at the current line width. At width 1 it is the
    // 8-connected digital line between the rounded ends, both ends included and
    // independent of the direction it is drawn in, so a fill cannot slip
    // through it and two segments from one vertex always share that vertex's
    // pixel. Wider segments cover every pixel whose centre lies within half the
    // width of the real segment (round ends).
    void drawSegment(QPointF from, QPointF to, QRgb color);

    // A circle outline around the rounded centre at the current line width.
    // At width 1 it is the closed 8-connected midpoint circle. While the fill
    // style is solid the inside is first filled with the fill colour.
    void drawCircle(QPointF centre, double radius, QRgb color);

    // Paints with the fill colour the start pixel and every pixel reachable
    // from it through left/right/up/down neighbours without crossing a pixel of
    // the border colour. Returns false, painting nothing, when the start pixel
    // lies off the surface or has the border colour.
    bool floodFill(QPoint start, QRgb border);

    // The pixels changed since the previous call, as rectangles, for
    // repainting the screen.
    QRegion takeChangedRegion();

private:
    void plot(int x, int y, QRgb color);
    void fillSpan(int y, int x0, int x1, QRgb color);
    void drawThinSegment(QPointF from, QPointF to, QRgb color);
    void drawWideSegment(QPointF from, QPointF to, double radius, QRgb color);
    QRgb* row(int y) { return reinterpret_cast<QRgb*>(image_.scanLine(y)); }

    QImage image_;
    QRgb background_;
    int lineWidth_ = 1;
    FillStyle fillStyle_ = FillStyle::Transparent;
    QRgb fillColor_ = qRgb(0, 0, 0);
    RowSpans painted_; // where non-background pixels may be
    RowSpans changed_; // what changed since the last takeChangedRegion()

    // Flood fill work space, kept between calls: a visit stamp per pixel and a
    // stack of seeds. A new stamp per fill marks every pixel unvisited at once.
    std::vector<std::uint32_t> visited_;
    std::uint32_t stamp_ = 0;
    std::vector<QPoint> seeds_;
};

} // namespace orvanel
