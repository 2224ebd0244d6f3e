// SPDX-License-Identifier: MIT
#include "figure/angles.h"

#include "raster/pixel_math.h"

#include <algorithm>
#include <cmath>

namespace orvanel {

std::optional<double> rayDirection(PointF p, PointF q) {
    const double dx = q.x - p.x;
    const double du = p.y - q.y; // positive when Q lies higher on the screen
    if (dx > 0) {
        if (du == 0) {
            return 0.0;
        }
        const double degrees = radiansToDegrees(std::atan(du / dx));
        return du > 0 ? degrees : degrees + 360;
    }
    if (dx < 0) {
        return radiansToDegrees(std::atan(du / dx)) + 180;
    }
    if (du > 0) {
        return 90.0;
    }
    if (du < 0) {
        return 270.0;
    }
    return std::nullopt;
}

// The shown values round halves upwards. A difference of exactly 0 shows 0 at
// A but 360 at D: the two tests differ on purpose.
int shownAngleAtA(double dirAB, double dirAD) {
    const double s = dirAD - dirAB;
    return roundHalfUp(s >= 0 ? s : s + 360);
}

int shownAngleAtB(double dirBA) {
    return roundHalfUp(dirBA);
}

int shownAngleAtC(double dirCDFromLeft) {
    return roundHalfUp(dirCDFromLeft);
}

int shownAngleAtD(double dirDA, float dirDC) {
    const double s = dirDA - dirDC;
    return roundHalfUp(s > 0 ? s : s + 360);
}

std::array<int, kVertexCount> measureAngles(const FigureState& f, Directions& dirs) {
    const auto keep = [](double& dir, std::optional<double> measured) {
        if (measured) {
            dir = *measured;
        }
    };
    std::array<int, kVertexCount> shown{};
    keep(dirs.dirAB, rayDirection(f.a(), f.b()));
    keep(dirs.dirAD, rayDirection(f.a(), f.d()));
    shown[0] = shownAngleAtA(dirs.dirAB, dirs.dirAD);
    keep(dirs.dirBA, rayDirection(f.b(), f.a()));
    shown[1] = shownAngleAtB(dirs.dirBA);
    keep(dirs.dirCDFromLeft, rayDirectionFromLeft(f.c(), f.d()));
    shown[2] = shownAngleAtC(dirs.dirCDFromLeft);
    keep(dirs.dirDA, rayDirection(f.d(), f.a()));
    if (const auto dc = rayDirection(f.d(), f.c())) {
        dirs.dirDC = static_cast<float>(*dc);
    }
    shown[3] = shownAngleAtD(dirs.dirDA, dirs.dirDC);
    return shown;
}

std::string angleCaption(int value) {
    return ' ' + std::to_string(value);
}

double captionValue(std::string_view caption) {
    std::string text;
    for (const char c : caption) {
        if (c != ' ' && c != '\t') {
            text += c;
        }
    }
    // The longest leading run that reads as a decimal number: a sign, digits
    // with a decimal point among or after them, an exponent. Read here rather
    // than by the C library, whose decimal point follows the user's locale.
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const auto isDigit = [&](std::size_t k) {
        return k < text.size() && text[k] >= '0' && text[k] <= '9';
    };
    bool anyDigit = false;
    double value = 0.0;
    for (; isDigit(i); ++i) {
        value = value * 10 + (text[i] - '0');
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; isDigit(i); ++i) {
            value += (text[i] - '0') * scale;
            scale /= 10;
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t k = i + 1;
        const bool negativeExponent = k < text.size() && text[k] == '-';
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) {
            ++k;
        }
        int exponent = 0;
        for (; isDigit(k); ++k) {
            exponent = std::min(exponent * 10 + (text[k] - '0'), 400);
        }
        if (isDigit(k - 1)) {
            value *= std::pow(10.0, negativeExponent ? -exponent : exponent);
        }
    }
    return negative ? -value : value;
}

} // namespace orvanel
