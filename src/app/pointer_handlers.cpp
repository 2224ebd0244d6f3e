// The board's three pointer handlers: each event goes first to what every tool
// does, then to the active tool (the figure, the memo pen or the straight
// lines), then the pointer position is recorded.
#include "app/form1.h"

#include "figure/dragging.h"
#include "platform/palette.h"

#include <QCheckBox>

namespace orvanel {

void Form1::boardMouseDown(int button, int shift, float x, float y) {
    gamen_MouseDown(button, shift, x, y);
}

void Form1::boardMouseMove(int button, int shift, float x, float y) {
    gamen_MouseMove(button, shift, x, y);
}

void Form1::boardMouseUp(int button, int shift, float x, float y) {
    gamen_MouseUp(button, shift, x, y);
}

void Form1::gamen_MouseDown(int button, int /*shift*/, float x, float y) {
    if (button == kLeftButton) {
        if (v_.memoOn == 0 && v_.lineMode == 0) {
            v_.dragVertex = hitTest(v_.figure, x, y);
        } else if (v_.memoOn == 1) {
            v_.penDown = 1;
        } else if (v_.lineMode == 1) {
            startLine(x, y);
        }
    }
    if (button == kRightButton) {
        surface_.clear();
        DrawFigure();
    }
    v_.lastX = x;
    v_.lastY = y;
    if (v_.dragVertex == kVertexA || v_.dragVertex == kVertexD) {
        // Any press moves the point the next displacement counts from.
        dragAnchor_ = {v_.dragVertex == kVertexA ? v_.figure.a() : v_.figure.d(), x, y};
    }
    refreshBoard();
}

void Form1::gamen_MouseMove(int /*button*/, int /*shift*/, float x, float y) {
    const CircleShape& shape = layer_.shape1;
    layer_.setShapeBox(x - shape.width / 2, y - shape.height / 2, shape.width, shape.height);
    if (v_.memoOn == 0 && v_.lineMode == 0) {
        if (v_.dragVertex == kVertexA || v_.dragVertex == kVertexD) {
            dragStep(x, y);
        }
    } else if (v_.memoOn == 1) {
        if (v_.penDown == 1) {
            surface_.drawSegment(QPointF(v_.lastX, v_.lastY), QPointF(x, y),
                                 paletteColor(v_.penColorIndex));
        }
    } else if (v_.lineMode == 1) {
        if (v_.lineDrawing == 1) {
            layer_.setSecondEnd(layer_.line4[v_.nextLineNumber - 1], QPointF(x, y));
        }
    }
    v_.lastX = x;
    v_.lastY = y;
    refreshBoard();
}

void Form1::dragStep(float x, float y) {
    placeHeldVertex(v_.dragVertex, dragAnchor_.positionFor(x, y), v_.figure, layer_);
    if (!check3_->isChecked()) {
        surface_.clear();
    }
    MeasureAngles();
    DrawFigure();
    ++dragSteps_;
}

void Form1::gamen_MouseUp(int /*button*/, int /*shift*/, float x, float y) {
    if (v_.memoOn == 0 && v_.lineMode == 0) {
        v_.dragVertex = kNoVertex;
    } else if (v_.memoOn == 1) {
        if (v_.penDown == 1) {
            v_.penDown = 0;
        }
    } else if (v_.lineMode == 1) {
        if (v_.lineDrawing == 1) {
            finishLine(x, y);
        }
    }
    refreshBoard();
}

} // namespace orvanel
