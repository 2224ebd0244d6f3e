// SPDX-License-Identifier: MIT
#include "figure/dragging.h"

#include <cmath>

namespace orvanel {

HeldVertex hitTest(const FigureState& f, float x, float y) {
    HeldVertex vertex = kNoVertex;
    if (std::abs(x - f.xA) <= kHitReach && std::abs(y - f.yA) <= kHitReach) {
        vertex = kVertexA;
    }
    if (std::abs(x - f.xD) <= kHitReach && std::abs(y - f.yD) <= kHitReach) {
        vertex = kVertexD;
    }
    return vertex;
}

void placeSidesAndLetters(const FigureState& f, BoardLayer& layer) {
    // Line1(i) runs from vertex i to the next one, D back to A.
    const auto vertices = f.vertices();
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        layer.setEnds(LineRow::Line1, int(i), vertices[i], vertices[(i + 1) % vertices.size()]);
    }
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        layer.moveLetter(int(i), vertices[i] + kLetterOffsets[i]);
    }
}

// The letter is placed at its offset from the vertex rather than moved by the
// same amount, so the two cannot drift apart (yD is held in single precision).
void placeHeldVertex(HeldVertex vertex, PointF position, FigureState& f, BoardLayer& layer) {
    if (vertex == kVertexA) {
        f.xA = position.x;
        f.yA = position.y;
        layer.moveLetter(0, f.a() + kLetterOffsets[0]);
        layer.setFirstEnd(LineRow::Line1, 0, f.a());
        layer.setSecondEnd(LineRow::Line1, 3, f.a());
    } else if (vertex == kVertexD) {
        f.xD = position.x;
        f.yD = static_cast<float>(position.y);
        layer.moveLetter(3, f.d() + kLetterOffsets[3]);
        layer.setFirstEnd(LineRow::Line1, 3, f.d());
        layer.setSecondEnd(LineRow::Line1, 2, f.d());
    }
}

} // namespace orvanel
