// SPDX-License-Identifier: MIT
// Holding and moving the vertices A and D.
#pragma once

#include "board/board_layer.h"
#include "figure/figure_state.h"

namespace orvanel {

// Half the side of the square around a vertex in which a press takes it.
inline constexpr double kHitReach = 50;

// The vertex a left press at (x, y) takes: A when within 50 pixels of it on
// both axes, D likewise (D wins when both are in reach), else none.
HeldVertex hitTest(const FigureState& figure, float x, float y);

// Places the four sides and letters on `layer` for the figure, sides first,
// as the reset does.
void placeSidesAndLetters(const FigureState& figure, BoardLayer& layer);

// Puts the held vertex at `position`, together with its letter and the two
// sides that meet at it. Nothing is bounded: the vertex may leave the board.
void placeHeldVertex(HeldVertex vertex, PointF position, FigureState& figure, BoardLayer& layer);

// Where a drag puts the held vertex: it moves by the pointer's displacement
// since the drag's anchor, the vertex and pointer positions at the last press.
// Reckoning from the anchor rather than adding up each move's displacement
// gives the same place without the rounding of every step piling up, so a
// vertex dragged far away and back returns exactly where it was.
struct DragAnchor {
    PointF vertex;
    float pointerX = 0;
    float pointerY = 0;

    PointF positionFor(float x, float y) const {
        const float dx = x - pointerX;
        const float dy = y - pointerY;
        return vertex + PointF{dx, dy};
    }

    friend bool operator==(const DragAnchor&, const DragAnchor&) = default;
};

} // namespace orvanel
