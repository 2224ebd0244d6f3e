#include "figure/angles.h"

#include <cmath>

namespace orvanel {

std::optional<double> rayDirection(QPointF p, QPointF q) {
    const double dx = q.x() - p.x();
    const double du = p.y() - q.y(); // positive when Q lies higher on the screen
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

std::optional<double> rayDirectionFromLeft(QPointF p, QPointF q) {
    const double dx = q.x() - p.x();
    const double du = p.y() - q.y();
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

QString angleCaption(int value) {
    return QLatin1Char(' ') + QString::number(value);
}

double captionValue(const QString& caption) {
    QString text = caption;
    text.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    // The longest leading run that reads as a decimal number.
    qsizetype end = 0;
    const auto digitsFrom = [&](qsizetype i) {
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
        }
        return i;
    };
    if (end < text.size() && (text[end] == u'+' || text[end] == u'-')) {
        ++end;
    }
    const qsizetype intEnd = digitsFrom(end);
    qsizetype numEnd = intEnd;
    if (numEnd < text.size() && text[numEnd] == u'.') {
        numEnd = digitsFrom(numEnd + 1);
    }
    if (numEnd - end <= (numEnd > intEnd ? 1 : 0)) {
        return 0.0; // no digit at all
    }
    if (numEnd < text.size() && (text[numEnd] == u'E' || text[numEnd] == u'e')) {
        qsizetype expStart = numEnd + 1;
        if (expStart < text.size() && (text[expStart] == u'+' || text[expStart] == u'-')) {
            ++expStart;
        }
        const qsizetype expEnd = digitsFrom(expStart);
        if (expEnd > expStart) {
            numEnd = expEnd;
        }
    }
    return text.left(numEnd).toDouble();
}

} // namespace orvanel
