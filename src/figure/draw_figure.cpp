// SPDX-License-Identifier: MIT
#include "figure/draw_figure.h"

#include "figure/angles.h"
#include "platform/color.h"
#include "platform/pixel_math.h"

#include <cmath>

namespace orvanel {

namespace {

constexpr double kBisectorDistance = 10;
constexpr double kBaseStartDx = 28; // fill start at B and C, along the base
constexpr double kBaseStartDy = -1; // and just above it

Point roundedPoint(double x, double y) {
    return {toPixel(x), toPixel(y)};
}

// 10 pixels from (x, y) in direction theta (degrees, not reduced below 360).
Point pointOnBisector(double x, double y, double theta) {
    const double r = degreesToRadians(theta);
    return roundedPoint(x + kBisectorDistance * std::cos(r), y - kBisectorDistance * std::sin(r));
}

// One mark: outline the sector between the sides `side1` and `side2` (each
// drawn from its first point to its second) and the circle around `vertex`,
// fill from `start` unless told not to, then draw the outline again in green.
struct Side {
    PointF from;
    PointF to;
};

void paintMark(RasterSurface& s, Side side1, Side side2, PointF vertex, bool fill, Point start) {
    const Rgb white = paletteColor(kPaletteWhite);
    const Rgb green = paletteColor(kPaletteGreen);
    // The fill starts inside the circle and cannot cross it, so the white
    // sides matter only within the circle's box; beyond it, white drawn and
    // then green again is the same as green alone. The green sides are drawn
    // whole: they also cut earlier traces on the board.
    const Point centre = toPixel(vertex);
    const int reach = int(kMarkRadius) + 1;
    const Rect box{centre.x - reach, centre.y - reach, 2 * reach + 1, 2 * reach + 1};
    s.drawSegment(side1.from, side1.to, white, box);
    s.drawSegment(side2.from, side2.to, white, box);
    s.drawCircle(vertex, kMarkRadius, white);
    s.setFillStyle(RasterSurface::FillStyle::Solid);
    if (fill) {
        s.floodFill(start, white);
    }
    s.setFillStyle(RasterSurface::FillStyle::Transparent);
    s.drawCircle(vertex, kMarkRadius, green);
    s.drawSegment(side1.from, side1.to, green);
    s.drawSegment(side2.from, side2.to, green);
}

} // namespace

Point fillStartAtA(const FigureState& f, const Directions& d) {
    const double theta =
        d.dirAB < d.dirAD ? (d.dirAB + d.dirAD) / 2 : (d.dirAB + d.dirAD) / 2 + 180;
    return pointOnBisector(f.xA, f.yA, theta);
}

Point fillStartAtD(const FigureState& f, const Directions& d) {
    const double theta =
        d.dirDA > d.dirDC ? (d.dirDA + d.dirDC) / 2 : (d.dirDA + d.dirDC) / 2 + 180;
    return pointOnBisector(f.xD, f.yD, theta);
}

void drawFigure(RasterSurface& s, const FigureState& f, const Directions& dirs, double shownB,
                double shownC) {
    const int savedWidth = s.lineWidth();
    s.setLineWidth(1);
    const Side ab{f.a(), f.b()};
    const Side bc{f.b(), f.c()};
    const Side cd{f.c(), f.d()};
    const Side da{f.d(), f.a()};

    s.setFillColor(paletteColor(kPaletteYellow));
    paintMark(s, ab, da, f.a(), true, fillStartAtA(f, dirs));
    paintMark(s, ab, bc, f.b(), shownB > 1, roundedPoint(f.xB + kBaseStartDx, f.yB + kBaseStartDy));
    paintMark(s, bc, cd, f.c(), shownC > 1, roundedPoint(f.xC - kBaseStartDx, f.yC + kBaseStartDy));
    s.setFillColor(paletteColor(kPaletteRed));
    paintMark(s, cd, da, f.d(), true, fillStartAtD(f, dirs));

    s.setLineWidth(savedWidth);
}

} // namespace orvanel
