// SPDX-License-Identifier: MIT
#include "figure/angles.h"

#include <charconv>
#include <cmath>

namespace orvanel {

std::optional<double> rayDirection(PointF p, PointF q) {
    const double dx = q.x - p.x;
    const double du = p.y - q.y; // positive when Q lies higher on the screen
    if (dx > 0) {
        if (du == 0) {
            return 0.0;
        }
        const double degrees = std::atan(du / dx) * 180 / kPiApprox;
        return du > 0 ? degrees : degrees + 360;
    }
    if (dx < 0) {
        return std::atan(du / dx) * 180 / kPiApprox + 180;
    }
    if (du > 0) {
        return 90.0;
    }
    if (du < 0) {
        return 270.0;
    }
    return std::nullopt;
}

std::optional<double> rayDirectionFromLeft(PointF p, PointF q) {
    const double dx = q.x - p.x;
    const double du = p.y - q.y;
    if (dx < 0) {
        if (du == 0) {
            return 0.0;
        }
        const double degrees = std::atan(du / -dx) * 180 / kPiApprox;
        return du > 0 ? degrees : degrees + 360;
    }
    if (dx > 0) {
        return std::atan(du / -dx) * 180 / kPiApprox + 180;
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
    return static_cast<int>(s >= 0 ? std::floor(s + 0.5) : std::floor(s + 360.5));
}

int shownAngleAtB(double dirBA) {
    return static_cast<int>(std::floor(dirBA + 0.5));
}

int shownAngleAtC(double dirCDFromLeft) {
    return static_cast<int>(std::floor(dirCDFromLeft + 0.5));
}

int shownAngleAtD(double dirDA, float dirDC) {
    const double s = dirDA - dirDC;
    return static_cast<int>(s > 0 ? std::floor(s + 0.5) : std::floor(s + 360.5));
}

std::array<int, 4> measureAngles(const FigureState& f, Directions& dirs) {
    const auto keep = [](double& dir, std::optional<double> measured) {
        if (measured) {
            dir = *measured;
        }
    };
    std::array<int, 4> shown{};
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
    // The longest leading run that reads as a decimal number.
    const auto digitsFrom = [&](std::size_t i) {
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        return i;
    };
    std::size_t start = 0;
    if (start < text.size() && (text[start] == '+' || text[start] == '-')) {
        ++start;
    }
    const std::size_t intEnd = digitsFrom(start);
    std::size_t numEnd = intEnd;
    if (numEnd < text.size() && text[numEnd] == '.') {
        numEnd = digitsFrom(numEnd + 1);
    }
    if (numEnd - start <= (numEnd > intEnd ? 1u : 0u)) {
        return 0.0; // no digit at all
    }
    if (numEnd < text.size() && (text[numEnd] == 'E' || text[numEnd] == 'e')) {
        std::size_t expStart = numEnd + 1;
        if (expStart < text.size() && (text[expStart] == '+' || text[expStart] == '-')) {
            ++expStart;
        }
        const std::size_t expEnd = digitsFrom(expStart);
        if (expEnd > expStart) {
            numEnd = expEnd;
        }
    }
    // from_chars takes no leading '+' and reads the same whatever the locale.
    const std::size_t from = text[0] == '+' ? 1 : 0;
    double value = 0.0;
    std::from_chars(text.data() + from, text.data() + numEnd, value);
    return value;
}

} // namespace orvanel
