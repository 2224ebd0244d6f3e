// SPDX-License-Identifier: MIT
// The figure A, B, C, D in board pixels and the ray directions measured on it.
#pragma once

#include "raster/geometry.h"

#include <array>

namespace orvanel {

// The figure's vertices A, B, C and D.
inline constexpr int kVertexCount = 4;

struct FigureState {
    double xA = 600, yA = 150; // the apex, dragged by the user
    double xB = 100, yB = 500; // left end of the fixed base line
    double xC = 650, yC = 500; // right end of the fixed base line
    double xD = 550;           // the dent, dragged by the user
    float yD = 350;            // held in single precision

    PointF a() const { return {xA, yA}; }
    PointF b() const { return {xB, yB}; }
    PointF c() const { return {xC, yC}; }
    PointF d() const { return {xD, yD}; }
    // The vertices in the order A, B, C, D.
    std::array<PointF, kVertexCount> vertices() const { return {a(), b(), c(), d()}; }

    friend bool operator==(const FigureState&, const FigureState&) = default;
};

// Ray directions in degrees, 0 <= value < 360. All but dirCDFromLeft use the
// standard convention (0 right, counter-clockwise on the screen: 90 up);
// dirCDFromLeft is its mirror image (0 left, clockwise: 90 up).
struct Directions {
    double dirAB = 0;
    double dirAD = 0;
    double dirBA = 0;
    double dirCDFromLeft = 0;
    double dirDA = 0;
    float dirDC = 0; // held in single precision

    friend bool operator==(const Directions&, const Directions&) = default;
};

// Offsets of the vertex letters' left/top edges from their vertices, A to D.
inline constexpr std::array<PointF, kVertexCount> kLetterOffsets{PointF{-10, -55}, PointF{-40, 20},
                                                                 PointF{15, 23}, PointF{-50, -20}};

// The vertex a press holds, numbered by its place in A, B, C, D counted from
// 1: only A and D can be held.
enum class HeldVertex : int { None = 0, A = 1, D = 4 };
inline constexpr HeldVertex kNoVertex = HeldVertex::None;
inline constexpr HeldVertex kVertexA = HeldVertex::A;
inline constexpr HeldVertex kVertexD = HeldVertex::D;

} // namespace orvanel
