// SPDX-License-Identifier: MIT
#include "window/design.h"

namespace orvanel {

namespace {

LineObject designLine(PointF p1, PointF p2, Rgb color, int width) {
    LineObject line;
    line.p1 = p1;
    line.p2 = p2;
    line.color = color;
    line.width = width;
    return line;
}

// A row of short vertical lines side by side, 16 pixels apart, as the
// design lays out Line1 and Line4.
void addDesignRow(BoardLayer& layer, LineRow row, int count, double top, Rgb color) {
    for (int i = 0; i < count; ++i) {
        const double x = 592 + 16 * i;
        layer.addLine(row, designLine({x, top}, {x, top + 72}, color, 4));
    }
}

} // namespace

BoardLayer designBoardLayer() {
    BoardLayer layer;
    addDesignRow(layer, LineRow::Line1, kVertexCount, 352, paletteColor(kPaletteWhite));
    layer.addLine(LineRow::Line2, designLine({688, 352}, {744, 352}, kWindowText, 1));
    layer.addLine(LineRow::Line3, designLine({712, 376}, {712, 424}, kWindowText, 1));
    addDesignRow(layer, LineRow::Line4, kLineCount, 480, paletteColor(kPaletteRed));
    for (const LetterDesign& letter : kLetters) {
        layer.addLetter({letter.place, std::string(letter.caption), {}});
    }
    layer.setCursorCircle({400, 376, 49, 41, kWindowText, true});
    return layer;
}

} // namespace orvanel
