// SPDX-License-Identifier: MIT
// Handlers of the board tools' controls: the memo pen (Command3, Option1),
// the straight lines (Command5, Option2, Check1) and the grid (Command4).
#include "window/form1.h"

#include "tools/grid.h"
#include "tools/memo_pen.h"
#include "tools/straight_lines.h"

namespace orvanel {

using namespace controls;

void Form1::Command3_Click() {
    endGestures();
    if (v_.memoOn == 0) {
        setRowEnabled(Option1, true);
        setRowEnabled(Option2, false);
        select(Option1[kFirstPen]);
        v_.memoOn = 1;
        setCaptionBold(Command3, true);
        setCaptionBold(Command5, false);
        v_.lineMode = 0;
    } else {
        setRowEnabled(Option1, false);
        v_.memoOn = 0;
        setCaptionBold(Command3, false);
        layer_.setCursorCircleVisible(false);
        v_.lineMode = 0;
    }
}

void Form1::Option1_Click(int index) {
    const Pen& pen = kPens[index];
    layer_.setCursorCircleVisible(false);
    v_.penColorIndex = pen.colorIndex;
    surface_.setLineWidth(pen.width);
    if (pen.isEraser) {
        // The cursor circle, as wide as the eraser, keeps its design height:
        // the circle fits the narrower side of its box.
        layer_.setCursorCircleVisible(true);
        const CursorCircle& circle = layer_.cursorCircle();
        layer_.setCursorCircleBox(circle.left, circle.top, pen.width, circle.height);
    }
}

std::array<bool, kLineCount> Form1::tickedLineBoxes() const {
    std::array<bool, kLineCount> ticked{};
    for (int i = 0; i < kLineCount; ++i) {
        ticked[i] = control(Check1[i]).checked;
    }
    return ticked;
}

void Form1::Command5_Click() {
    if (v_.lineMode != 0) {
        endGestures();
        switchLineToolOff();
        return;
    }
    v_.nextLineNumber = nextFreeLineNumber(tickedLineBoxes());
    if (v_.nextLineNumber == 0) {
        return; // every number is taken: the tool stays off
    }
    endGestures();
    setRowEnabled(Option2, true);
    setRowEnabled(Option1, false);
    select(Option2[kWhiteLineOption]);
    v_.lineMode = 1;
    setCaptionBold(Command5, true);
    setCaptionBold(Command3, false);
    layer_.setCursorCircleVisible(false);
    v_.memoOn = 0;
}

void Form1::endGestures() {
    endGestures(v_, layer_, controls_);
}

void Form1::endGestures(WindowState& v, BoardLayer& layer,
                        const std::array<ControlState, kControlCount>& controls) {
    v.dragVertex = kNoVertex;
    v.penDown = 0;
    if (v.lineDrawing == 1) {
        v.lineDrawing = 0;
        const int k = v.nextLineNumber - 1;
        if (k >= 0 && !controls[indexOf(Check1[k])].checked) {
            layer.setX(LineRow::Line4, k, kParkedX, kParkedX); // never placed
        }
    }
}

Form1::Snapshot Form1::snapshotAtRest() const {
    Snapshot s = snapshot();
    endGestures(s.v, s.layer, s.controls);
    return s;
}

void Form1::switchLineToolOff() {
    setRowEnabled(Option2, false);
    v_.lineMode = 0;
    setCaptionBold(Command5, false);
}

void Form1::Option2_Click(int index) {
    layer_.setCursorCircleVisible(false);
    v_.lineColorIndex = kLineColors[index];
}

void Form1::Check1_Click(int index) {
    if (!control(Check1[index]).checked) {
        layer_.setX(LineRow::Line4, index, kParkedX, kParkedX);
        // Unticks the unticked box once more, as the window always has: no
        // change, so no further click handling.
        setChecked(Check1[index], false);
    }
}

void Form1::startLine(float x, float y) {
    const int k = v_.nextLineNumber - 1;
    v_.lineDrawing = 1;
    layer_.setColor(LineRow::Line4, k, paletteColor(v_.lineColorIndex));
    layer_.setEnds(LineRow::Line4, k, {x, y}, {x, y});
}

void Form1::finishLine(float x, float y) {
    const int k = v_.nextLineNumber - 1;
    layer_.setSecondEnd(LineRow::Line4, k, {x, y});
    setChecked(Check1[k], true);
    v_.lineDrawing = 0;
    v_.nextLineNumber = nextFreeLineNumber(tickedLineBoxes());
    if (v_.nextLineNumber == 0) {
        switchLineToolOff();
    }
}

void Form1::Command4_Click() {
    const bool show = v_.gridShown == 0;
    setGridVisible(layer_, show);
    setCaptionBold(Command4, show);
    v_.gridShown = show ? 1 : 0;
}

} // namespace orvanel
