// SPDX-License-Identifier: MIT
// The board's drawing surface: a retained image with the few drawing
// operations the figure and the memo pen need, and our own pixel rules for
// each of them.
//
// Coordinates are board pixels with the centre of pixel (i, j) at the real
// point (i, j); x grows to the right and y downwards. Everything drawn is
// clipped to the image; coordinates may lie anywhere, also far outside it.
#pragma once

#include "raster/color.h"
#include "raster/geometry.h"
#include "raster/outline_fill.h"
#include "raster/pixel_buffer.h"
#include "raster/spans.h"

#include <algorithm>

namespace orvanel {

// Width and height of the board's drawing area in pixels.
inline constexpr Size kBoardSize{802, 626};

class RasterSurface {
public:
    explicit RasterSurface(Size size = kBoardSize, Rgb background = kBoardGreen);

    Size size() const { return image_.size(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    Rect rect() const { return image_.rect(); }
    Rgb background() const { return background_; }
    const PixelBuffer& pixels() const { return image_; }
    Rgb pixel(int x, int y) const { return image_.pixel(x, y); }

    // Erases everything drawn to the background colour. Only rows and columns
    // that hold a non-background pixel are touched, which gives the same image
    // as filling the whole surface at a fraction of the cost.
    void clear();

    int lineWidth() const { return lineWidth_; }
    void setLineWidth(int width) { lineWidth_ = width < 1 ? 1 : width; }
    Rgb fillColor() const { return fillColor_; }
    void setFillColor(Rgb color) { fillColor_ = opaque(color); }

    // A solid segment at the current line width. At width 1 it is the
    // 8-connected digital line between the rounded ends, both ends included and
    // independent of the direction it is drawn in, so a fill cannot slip
    // through it and two segments from one vertex always share that vertex's
    // pixel. Wider segments cover every pixel whose centre lies within half the
    // width of the real segment (round ends).
    void drawSegment(PointF from, PointF to, Rgb color);

    // Only the pixels of that segment that lie within `within`: exactly the
    // full segment's pixels there, at a cost that depends on `within` alone.
    void drawSegment(PointF from, PointF to, Rgb color, const Rect& within);

    // Paints what `mark` covers: its fill in the fill colour, its outline in
    // `outline`.
    void paint(const OutlineFill& mark, Rgb outline);

    // The segment at the current line width, as drawSegment() draws it, but
    // nothing of it within `hole`.
    void drawSegmentOutside(PointF from, PointF to, Rgb color, const Rect& hole);

    // Copies the pixels of `area` from `picture`, a picture of the whole
    // surface.
    void copyFrom(const PixelBuffer& picture, const Rect& area);

    // Calls visit(Rect) for rectangles covering every pixel changed since
    // the previous call, then forgets them; for repainting the screen.
    template <typename Visit> void takeDamage(Visit visit) {
        changed_.forEachRect(visit);
        changed_.reset();
    }

private:
    // Paints columns x0..x1 of row y. Painting the background colour can
    // change only pixels painted since the last clear, so only that part of
    // the run is written.
    void writeRun(int y, int x0, int x1, Rgb color) {
        if (color == background_) {
            eraseRun(y, x0, x1);
        } else {
            paintRun(y, x0, x1, color);
        }
    }
    void paintRun(int y, int x0, int x1, Rgb color) {
        Rgb* row = image_.row(y);
        painted_.add(y, x0, x1);
        std::fill(row + x0, row + x1 + 1, color);
        changed_.add(y, x0, x1);
    }
    void eraseRun(int y, int x0, int x1) {
        Rgb* row = image_.row(y);
        painted_.forEachTouched(y, x0, x1, [&](int first, int last) {
            std::fill(row + first, row + last + 1, background_);
            changed_.add(y, first, last);
        });
    }
    void drawThinSegment(PointF from, PointF to, Rgb color, Rect within);
    void drawWideSegment(PointF from, PointF to, double radius, Rgb color);

    PixelBuffer image_;
    Rgb background_;
    int lineWidth_ = 1;
    Rgb fillColor_ = rgb(0, 0, 0);
    RowSpans painted_;  // where non-background pixels may be
    BandSpans changed_; // what changed since the last takeDamage()
};

} // namespace orvanel
