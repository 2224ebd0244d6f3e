// SPDX-License-Identifier: MIT
// Painting the four angle marks: at each vertex the sector of a disk of radius
// 30 that lies inside the measured angle, yellow at A, B and C, red at D.
#pragma once

#include "figure/figure_state.h"
#include "raster/raster_surface.h"

namespace orvanel {

inline constexpr double kMarkRadius = 30;

// Paints the marks of `figure` onto `surface`. `dirs` must have been measured
// for this figure; `shownB` and `shownC` are the read-out values at B and C
// (a mark is painted there only when its value exceeds 1). Each mark is a fill
// inside a temporary white outline (the two sides through the vertex and the
// circle), which is then drawn again in the board's green.
//
// Afterwards the line width is what it was before, the fill style is
// transparent and the fill colour red. Nothing is cleared.
void drawFigure(RasterSurface& surface, const FigureState& figure, const Directions& dirs,
                double shownB, double shownC);

// Start pixel of the fill at A and at D: 10 pixels from the vertex along the
// bisector of the shown angle, rounded halves to even.
Point fillStartAtA(const FigureState& figure, const Directions& dirs);
Point fillStartAtD(const FigureState& figure, const Directions& dirs);

} // namespace orvanel
