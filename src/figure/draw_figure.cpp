// SPDX-License-Identifier: MIT
#include "figure/draw_figure.h"

#include "figure/angles.h"
#include "raster/color.h"
#include "raster/outline_fill.h"
#include "raster/pixel_math.h"

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

// One mark: the sector between the sides `side1` and `side2` (each running
// from its first point to its second) and the circle around `vertex`, filled
// from `start` unless told not to.
//
// On the board this is a white outline of the two sides and the circle, a
// flood fill within it, and the outline drawn again in green. The board never
// holds a white pixel otherwise, and the fill stays inside the circle (its
// start lies at most 29 pixels from the vertex), so the fill is worked out on
// the outline alone, in the circle's box, and only its result is painted:
// the fill, then the outline in green. Beyond the box the green sides also
// cut through whatever is painted on the board.
struct Side {
    PointF from;
    PointF to;
};

void paintMark(RasterSurface& s, Side side1, Side side2, PointF vertex, bool fill, Point start) {
    const Rgb green = paletteColor(kPaletteGreen);
    const Point centre = toPixel(vertex);
    const int reach = int(kMarkRadius) + 1;
    const Rect box{centre.x - reach, centre.y - reach, 2 * reach + 1, 2 * reach + 1};
    OutlineFill mark(box, s.rect());
    mark.addSegment(side1.from, side1.to);
    mark.addSegment(side2.from, side2.to);
    mark.addCircle(centre, roundHalfEven(kMarkRadius));
    if (fill) {
        mark.fill(start);
    }
    s.paint(mark, green);
    for (const Side& side : {side1, side2}) {
        s.drawSegmentOutside(side.from, side.to, green, box);
    }
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
