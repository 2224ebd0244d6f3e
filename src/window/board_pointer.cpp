// SPDX-License-Identifier: MIT
// The board's pointer: each event goes first to what every tool does, then to
// the active tool (the figure, the memo pen or the straight lines), then the
// pointer position is recorded.
#include "window/form1.h"

#include "figure/dragging.h"
#include "raster/color.h"

namespace orvanel {

void Form1::boardPress(int button, int held, int modifiers, float x, float y) {
    held_ = held;
    // The press of the first button decides who holds the pointer.
    if (held == button) {
        letterHoldsPointer_ = letterAt({x, y}) >= 0;
    }
    if (!letterHoldsPointer_) {
        gamen_MouseDown(button, modifiers, x, y);
    }
}

void Form1::boardMove(int held, int modifiers, float x, float y) {
    held_ = held;
    if (!letterHoldsPointer_) {
        gamen_MouseMove(held, modifiers, x, y);
    }
}

void Form1::boardRelease(int button, int held, int modifiers, float x, float y) {
    held_ = held;
    if (letterHoldsPointer_) {
        letterHoldsPointer_ = held != 0;
        return;
    }
    gamen_MouseUp(button, modifiers, x, y);
}

void Form1::boardCancel() {
    for (const int button : {kLeftButton, kRightButton, kMiddleButton}) {
        if ((held_ & button) != 0) {
            boardRelease(button, held_ & ~button, 0, v_.lastX, v_.lastY);
        }
    }
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
}

void Form1::gamen_MouseMove(int /*button*/, int /*shift*/, float x, float y) {
    const CursorCircle& circle = layer_.cursorCircle();
    layer_.setCursorCircleBox(x - circle.width / 2, y - circle.height / 2, circle.width,
                              circle.height);
    if (v_.memoOn == 0 && v_.lineMode == 0) {
        if (v_.dragVertex == kVertexA || v_.dragVertex == kVertexD) {
            dragStep(x, y);
        }
    } else if (v_.memoOn == 1) {
        if (v_.penDown == 1) {
            surface_.drawSegment({v_.lastX, v_.lastY}, {x, y}, paletteColor(v_.penColorIndex));
        }
    } else if (v_.lineMode == 1) {
        if (v_.lineDrawing == 1) {
            layer_.setSecondEnd(LineRow::Line4, v_.nextLineNumber - 1, {x, y});
        }
    }
    v_.lastX = x;
    v_.lastY = y;
}

void Form1::dragStep(float x, float y) {
    placeHeldVertex(v_.dragVertex, dragAnchor_.positionFor(x, y), v_.figure, layer_);
    if (!control(controls::Check3).checked) {
        surface_.clear();
    }
    MeasureAngles();
    DrawFigure();
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
}

} // namespace orvanel
