// SPDX-License-Identifier: MIT
// The board as a screen shows it, composed into any 32-bit image at any size:
// the surface, the lines above it in their paint order, and the cursor
// circle. The vertex letters need a font and are left to the shell.
//
// A screen shows the board's 802 x 626 pixels on `width` x `height` device
// pixels (BoardScale). Device pixel X stands for board point (X + 0.5) / k -
// 0.5, so that pixel centres meet pixel centres and a board pixel becomes a
// block of device pixels. At one device pixel per board pixel the rules below
// give the board's very pixels; at any other size they are the same rules at
// the screen's resolution, so every shell shows the same device pixels.
//
// - The surface: enlarged, each board pixel a block of whole device pixels
//   (the one whose centre is nearest); shrunk, by the rule that keeps thin
//   strokes (raster/shrink.h).
// - Lines 1 pixel wide along a row or a column (the grid) cover the board
//   pixels they run through, both ends included: a band of max(1, round(k))
//   whole device pixels across, the same wherever it lies.
// - All other lines cover the device pixels whose centres lie within half
//   their width, scaled (at least half a device pixel), of the line.
// - The cursor circle: at one device pixel per board pixel or fewer, the
//   midpoint circle of radius half its diameter (rounded down, then scaled and
//   rounded) around its rounded centre; larger, the ring of device pixels
//   whose centres lie within half a board pixel of that circle.
#pragma once

#include "board/board_layer.h"
#include "raster/pixel_buffer.h"
#include "raster/raster_surface.h"

namespace orvanel {

// The board's size on a screen, in device pixels.
struct BoardScale {
    int width = kBoardSize.width;
    int height = kBoardSize.height;

    double kx() const { return double(width) / kBoardSize.width; }
    double ky() const { return double(height) / kBoardSize.height; }
    bool exact() const { return width == kBoardSize.width && height == kBoardSize.height; }
    Rect rect() const { return {0, 0, width, height}; }
    // The board at `k` device pixels per board pixel, in whole device pixels.
    static BoardScale at(double k);
    // The device rectangle that board rectangle `r` covers, with what a line
    // or the circle on its edge can reach beyond it.
    Rect deviceRect(const Rect& r) const;
    // The device point that board point `p` is.
    PointF device(PointF p) const { return {(p.x + 0.5) * kx() - 0.5, (p.y + 0.5) * ky() - 0.5}; }
    friend bool operator==(const BoardScale&, const BoardScale&) = default;
};

// Composes device pixels `area` of the board at `scale` into `target`, whose
// pixel (0, 0) is device pixel (0, 0); what lies outside the board or the
// target is left alone.
void composeBoard(const RasterSurface& surface, const BoardLayer& layer, BoardScale scale,
                  PixelView target, Rect area);

// The same at one device pixel per board pixel.
inline void composeBoard(const RasterSurface& surface, const BoardLayer& layer, PixelView target,
                         Rect area) {
    composeBoard(surface, layer, BoardScale{}, target, area);
}

// Fills the device pixels of board pixels `r` (whole blocks) within `area`.
void fillBoardPixels(BoardScale scale, const Rect& r, Rgb color, PixelView target,
                     const Rect& area);

} // namespace orvanel
