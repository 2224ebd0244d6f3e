#include "tools/grid.h"

namespace orvanel {

void buildGrid(BoardLayer& layer) {
    const double right = (kGridColumns - 1) * kGridStep;
    const double bottom = (kGridRows - 1) * kGridStep;
    layer.setEnds(layer.line2[0], QPointF(0, 0), QPointF(right, 0));
    layer.setVisible(layer.line2[0], false);
    for (int i = 1; i < kGridRows; ++i) {
        layer.line2.push_back(layer.line2[0]);
        layer.setEnds(layer.line2.back(), QPointF(0, kGridStep * i), QPointF(right, kGridStep * i));
    }
    layer.setEnds(layer.line3[0], QPointF(0, 0), QPointF(0, bottom));
    layer.setVisible(layer.line3[0], false);
    for (int i = 1; i < kGridColumns; ++i) {
        layer.line3.push_back(layer.line3[0]);
        layer.setEnds(layer.line3.back(), QPointF(kGridStep * i, 0),
                      QPointF(kGridStep * i, bottom));
    }
}

void setGridVisible(BoardLayer& layer, bool visible) {
    for (LineObject& line : layer.line2) {
        layer.setVisible(line, visible);
    }
    for (LineObject& line : layer.line3) {
        layer.setVisible(line, visible);
    }
}

} // namespace orvanel
