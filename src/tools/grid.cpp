// SPDX-License-Identifier: MIT
#include "tools/grid.h"

namespace orvanel {

namespace {

// Member 0 of `row` runs from the origin to `end` and is hidden; member i is
// a copy of it moved by i grid steps along `step`.
void buildRow(BoardLayer& layer, LineRow row, int count, PointF end, PointF step) {
    layer.setEnds(row, 0, {0, 0}, end);
    layer.setVisible(row, 0, false);
    for (int i = 1; i < count; ++i) {
        layer.addLine(row, layer.line(row, 0));
        layer.setEnds(row, i, step * i, end + step * i);
    }
}

} // namespace

void buildGrid(BoardLayer& layer) {
    const double right = (kGridColumns - 1) * kGridStep;
    const double bottom = (kGridRows - 1) * kGridStep;
    buildRow(layer, LineRow::Line2, kGridRows, {right, 0}, {0, kGridStep});
    buildRow(layer, LineRow::Line3, kGridColumns, {0, bottom}, {kGridStep, 0});
}

void setGridVisible(BoardLayer& layer, bool visible) {
    for (const LineRow row : {LineRow::Line2, LineRow::Line3}) {
        for (int i = 0; i < int(layer.row(row).size()); ++i) {
            layer.setVisible(row, i, visible);
        }
    }
}

} // namespace orvanel
