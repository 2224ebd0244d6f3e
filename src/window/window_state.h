// SPDX-License-Identifier: MIT
// The window's variables, through which all handlers share state, grouped by
// the part of the program that owns them.
#pragma once

#include "figure/figure_state.h"

namespace orvanel {

struct WindowState {
    // The figure: vertices, and the directions and read-out measured on them.
    FigureState figure;
    Directions dirs;
    int anglesShown = 0; // 1 while the angle read-out is shown

    // Pointer dispatch.
    HeldVertex dragVertex = kNoVertex;
    float lastX = 0; // pointer position at the last press or move
    float lastY = 0;

    // Memo pen.
    int memoOn = 0;
    int penDown = 0;
    int penColorIndex = 0;

    // Straight lines.
    int lineMode = 0;
    int lineDrawing = 0;
    int nextLineNumber = 0; // number of the line placed next, 0 when none is free
    int lineColorIndex = 0;

    // Grid.
    int gridShown = 0;

    friend bool operator==(const WindowState&, const WindowState&) = default;
};

} // namespace orvanel
