// SPDX-License-Identifier: MIT
// Measuring the figure's four angles in whole degrees. Degrees and radians are
// converted with 3.14 in place of pi, in both directions; the read-out and the
// placement of the angle marks both rely on that constant.
#pragma once

#include "figure/figure_state.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orvanel {

inline constexpr double kPiApprox = 3.14;

inline double radiansToDegrees(double radians) {
    return radians * 180 / kPiApprox;
}
inline double degreesToRadians(double degrees) {
    return degrees * kPiApprox / 180;
}

// Direction of the ray from P to Q in the standard convention; nothing when
// the two points coincide (the caller keeps its previous direction).
std::optional<double> rayDirection(PointF p, PointF q);

// Direction of the ray from P to Q mirrored about the vertical: 0 points left
// and the value grows clockwise; nothing when the points coincide.
inline std::optional<double> rayDirectionFromLeft(PointF p, PointF q) {
    return rayDirection({-p.x, p.y}, {-q.x, q.y});
}

// The four values shown, A to D, from the directions.
int shownAngleAtA(double dirAB, double dirAD);
int shownAngleAtB(double dirBA);
int shownAngleAtC(double dirCDFromLeft);
int shownAngleAtD(double dirDA, float dirDC);

// Works out the six directions of `figure` into `dirs` (a direction between
// coinciding points keeps its value) and returns the values shown for A, B,
// C and D, in that order.
std::array<int, kVertexCount> measureAngles(const FigureState& figure, Directions& dirs);

// The caption of a shown value: one blank in the place of the sign, then the
// digits (" 41").
std::string angleCaption(int value);

// A caption read back as a number: blanks are ignored, and a caption that does
// not begin with a number counts as 0.
double captionValue(std::string_view caption);

} // namespace orvanel
