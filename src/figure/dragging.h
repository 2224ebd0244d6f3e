// Holding and moving the vertices A and D.
#pragma once

#include "figure/figure_state.h"
#include "platform/board_layer.h"

namespace orvanel {

// Half the side of the square around a vertex in which a press takes it.
inline constexpr double kHitReach = 50;

// The vertex a left press at (x, y) takes: A when within 50 pixels of it on
// both axes, D likewise (D wins when both are in reach), else none.
int hitTest(const FigureState& figure, float x, float y);

// Places the four sides and letters on `layer` for the figure, sides first,
// as the reset does.
void placeSidesAndLetters(const FigureState& figure, BoardLayer& layer);

// Moves the held vertex by (dx, dy), together with its letter and the two
// sides that meet at it. Nothing is bounded: the vertex may leave the board.
void moveHeldVertex(int vertex, float dx, float dy, FigureState& figure, BoardLayer& layer);

} // namespace orvanel
