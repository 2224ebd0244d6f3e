#include "figure/dragging.h"

#include <cmath>

namespace orvanel {

int hitTest(const FigureState& f, float x, float y) {
    int vertex = kNoVertex;
    if (std::abs(x - f.xA) <= kHitReach && std::abs(y - f.yA) <= kHitReach) {
        vertex = kVertexA;
    }
    if (std::abs(x - f.xD) <= kHitReach && std::abs(y - f.yD) <= kHitReach) {
        vertex = kVertexD;
    }
    return vertex;
}

void placeSidesAndLetters(const FigureState& f, BoardLayer& layer) {
    layer.setEnds(layer.line1[0], f.a(), f.b());
    layer.setEnds(layer.line1[1], f.b(), f.c());
    layer.setEnds(layer.line1[2], f.c(), f.d());
    layer.setEnds(layer.line1[3], f.d(), f.a());
    const QPointF vertices[4] = {f.a(), f.b(), f.c(), f.d()};
    for (int i = 0; i < 4; ++i) {
        layer.moveLetter(i, vertices[i] + kLetterOffsets[i]);
    }
}

// The letter is placed at its offset from the vertex rather than moved by the
// same amount, so the two cannot drift apart (yD is held in single precision).
void placeHeldVertex(int vertex, QPointF position, FigureState& f, BoardLayer& layer) {
    if (vertex == kVertexA) {
        f.xA = position.x();
        f.yA = position.y();
        layer.moveLetter(0, f.a() + kLetterOffsets[0]);
        layer.setFirstEnd(layer.line1[0], f.a());
        layer.setSecondEnd(layer.line1[3], f.a());
    } else if (vertex == kVertexD) {
        f.xD = position.x();
        f.yD = static_cast<float>(position.y());
        layer.moveLetter(3, f.d() + kLetterOffsets[3]);
        layer.setFirstEnd(layer.line1[3], f.d());
        layer.setSecondEnd(layer.line1[2], f.d());
    }
}

} // namespace orvanel
