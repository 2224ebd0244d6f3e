// Handlers of the board tools' controls: the memo pen (Command3, Option1),
// the straight lines (Command5, Option2, Check1) and the grid (Command4).
#include "app/form1.h"

#include "tools/grid.h"
#include "tools/memo_pen.h"
#include "tools/straight_lines.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace orvanel {

void Form1::Command3_Click() {
    trace(QStringLiteral("Command3_Click"));
    endGestures();
    if (v_.memoOn == 0) {
        setRowEnabled(option1_, true);
        setRowEnabled(option2_, false);
        option1_[kFirstPen]->setChecked(true);
        v_.memoOn = 1;
        setCaptionBold(command3_, true);
        setCaptionBold(command5_, false);
        v_.lineMode = 0;
    } else {
        setRowEnabled(option1_, false);
        v_.memoOn = 0;
        setCaptionBold(command3_, false);
        layer_.setShapeVisible(false);
        v_.lineMode = 0;
    }
    refreshBoard();
}

void Form1::Option1_Click(int index) {
    trace(QStringLiteral("Option1_Click(%1)").arg(index));
    const Pen& pen = kPens[index];
    layer_.setShapeVisible(false);
    v_.penColorIndex = pen.colorIndex;
    surface_.setLineWidth(pen.width);
    if (pen.isEraser) {
        layer_.setShapeVisible(true);
        const CircleShape& shape = layer_.shape1;
        layer_.setShapeBox(shape.left, shape.top, pen.width, shape.height);
    }
    refreshBoard();
}

void Form1::Command5_Click() {
    trace(QStringLiteral("Command5_Click"));
    if (v_.lineMode != 0) {
        endGestures();
        switchLineToolOff();
        refreshBoard();
        return;
    }
    std::array<bool, kLineCount> ticked{};
    for (int i = 0; i < kLineCount; ++i) {
        ticked[i] = check1_[i]->isChecked();
    }
    v_.nextLineNumber = nextFreeLineNumber(ticked);
    if (v_.nextLineNumber == 0) {
        return; // every number is taken: the tool stays off
    }
    endGestures();
    setRowEnabled(option2_, true);
    setRowEnabled(option1_, false);
    option2_[kWhiteLineOption]->setChecked(true);
    v_.lineMode = 1;
    setCaptionBold(command5_, true);
    setCaptionBold(command3_, false);
    layer_.setShapeVisible(false);
    v_.memoOn = 0;
    refreshBoard();
}

void Form1::endGestures() {
    v_.dragVertex = kNoVertex;
    v_.penDown = 0;
    if (v_.lineDrawing == 1) {
        v_.lineDrawing = 0;
        const int k = v_.nextLineNumber - 1;
        if (k >= 0 && !check1_[k]->isChecked()) {
            layer_.setX(layer_.line4[k], kParkedX, kParkedX); // never placed
        }
    }
}

void Form1::switchLineToolOff() {
    setRowEnabled(option2_, false);
    v_.lineMode = 0;
    setCaptionBold(command5_, false);
}

void Form1::Option2_Click(int index) {
    trace(QStringLiteral("Option2_Click(%1)").arg(index));
    layer_.setShapeVisible(false);
    v_.lineColorIndex = kLineColors[index];
    refreshBoard();
}

void Form1::Check1_Click(int index) {
    trace(QStringLiteral("Check1_Click(%1)").arg(index));
    if (!check1_[index]->isChecked()) {
        layer_.setX(layer_.line4[index], kParkedX, kParkedX);
        check1_[index]->setChecked(false);
        refreshBoard();
    }
}

void Form1::startLine(float x, float y) {
    const int k = v_.nextLineNumber - 1;
    v_.lineDrawing = 1;
    layer_.setColor(layer_.line4[k], paletteColor(v_.lineColorIndex));
    layer_.setEnds(layer_.line4[k], QPointF(x, y), QPointF(x, y));
}

void Form1::finishLine(float x, float y) {
    const int k = v_.nextLineNumber - 1;
    layer_.setSecondEnd(layer_.line4[k], QPointF(x, y));
    check1_[k]->setChecked(true);
    v_.lineDrawing = 0;
    std::array<bool, kLineCount> ticked{};
    for (int i = 0; i < kLineCount; ++i) {
        ticked[i] = check1_[i]->isChecked();
    }
    v_.nextLineNumber = nextFreeLineNumber(ticked);
    if (v_.nextLineNumber == 0) {
        switchLineToolOff();
    }
}

void Form1::Command4_Click() {
    trace(QStringLiteral("Command4_Click"));
    const bool show = v_.gridShown == 0;
    setGridVisible(layer_, show);
    setCaptionBold(command4_, show);
    v_.gridShown = show ? 1 : 0;
    refreshBoard();
}

} // namespace orvanel
