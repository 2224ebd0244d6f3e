// SPDX-License-Identifier: MIT
// The board's fast drawing (clearing only what was painted, segments walked
// row by row, outlines clipped to the marks' boxes, the fill's span scans)
// must leave exactly the pixels of the plain way: clear everything, draw
// every primitive pixel by pixel. A seeded random session of drags, right
// presses, memo strokes with every pen, trace keeping and resets is played on
// the window model and on a plain reference board, and the two boards are
// compared after every operation.
#include <gtest/gtest.h>

#include "ascii_image.h"
#include "core_fixture.h"
#include "reference/plain_raster.h"

#include "figure/angles.h"
#include "tools/memo_pen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;

namespace {

// The plain board: every operation touches every pixel it may concern.
class ReferenceBoard {
public:
    ReferenceBoard() : image_(kBoardSize, kGreen) { reset(); }

    const PixelBuffer& pixels() const { return image_; }

    void reset() {
        image_.fill(kGreen);
        width_ = 3;
        figure_ = FigureState{};
        measureAndDraw();
    }
    // The window's geometry is taken as it is: what is compared is pixels.
    void dragStep(const FigureState& figure, bool keepTraces) {
        figure_ = figure;
        if (!keepTraces) {
            image_.fill(kGreen);
        }
        measureAndDraw();
    }
    void rightPress() {
        image_.fill(kGreen);
        drawFigure();
    }
    void setPen(int width) { width_ = width; }
    void memoSegment(PointF from, PointF to, Rgb color) {
        if (width_ <= 1) {
            thinSegment(from, to, color);
            return;
        }
        // Every pixel whose centre lies within half the width of the segment.
        const double r = width_ / 2.0;
        const Rect box = RectF::spanning(from, to)
                             .adjusted(-r - 1, -r - 1, r + 1, r + 1)
                             .alignedRect()
                             .intersected(image_.rect());
        for (int y = box.top; y <= box.bottom(); ++y) {
            for (int x = box.left; x <= box.right(); ++x) {
                if (distanceToSegment(PointF{double(x), double(y)}, from, to) <= r) {
                    plot(x, y, color);
                }
            }
        }
    }

private:
    static double dot(PointF a, PointF b) { return a.x * b.x + a.y * b.y; }

    static double distanceToSegment(PointF p, PointF a, PointF b) {
        const PointF d = b - a;
        const double len2 = dot(d, d);
        const double t = len2 > 0 ? std::clamp(dot(p - a, d) / len2, 0.0, 1.0) : 0;
        const PointF q = a + t * d - p;
        return std::hypot(q.x, q.y);
    }

    Rgb& at(std::int64_t x, std::int64_t y) { return image_.row(int(y))[x]; }
    void plot(std::int64_t x, std::int64_t y, Rgb color) {
        if (x >= 0 && y >= 0 && x < image_.width() && y < image_.height()) {
            at(x, y) = color;
        }
    }

    // The digital line between the rounded ends, column by column (or row by
    // row), ends ordered, halves rounded up.
    void thinSegment(PointF from, PointF to, Rgb color) {
        std::int64_t x0 = std::int64_t(std::nearbyint(from.x));
        std::int64_t y0 = std::int64_t(std::nearbyint(from.y));
        std::int64_t x1 = std::int64_t(std::nearbyint(to.x));
        std::int64_t y1 = std::int64_t(std::nearbyint(to.y));
        const auto roundedRatio = [](std::int64_t num, std::int64_t den) { // round(num / den)
            return std::int64_t(std::floor((2.0 * num + den) / (2.0 * den)));
        };
        if (std::abs(x1 - x0) >= std::abs(y1 - y0)) {
            if (x0 > x1) {
                std::swap(x0, x1);
                std::swap(y0, y1);
            }
            for (std::int64_t x = x0; x <= x1; ++x) {
                plot(x, x1 == x0 ? y0 : y0 + roundedRatio((x - x0) * (y1 - y0), x1 - x0), color);
            }
        } else {
            if (y0 > y1) {
                std::swap(x0, x1);
                std::swap(y0, y1);
            }
            for (std::int64_t y = y0; y <= y1; ++y) {
                plot(x0 + roundedRatio((y - y0) * (x1 - x0), y1 - y0), y, color);
            }
        }
    }

    void mark(PointF s1a, PointF s1b, PointF s2a, PointF s2b, PointF vertex, bool paint,
              Point start, Rgb color) {
        thinSegment(s1a, s1b, kWhite);
        thinSegment(s2a, s2b, kWhite);
        drawCircle(image_, vertex, 30, kWhite);
        if (paint) {
            floodFill(image_, start, kWhite, color);
        }
        drawCircle(image_, vertex, 30, kGreen);
        thinSegment(s1a, s1b, kGreen);
        thinSegment(s2a, s2b, kGreen);
    }

    static Point rounded(double x, double y) {
        return {int(std::nearbyint(x)), int(std::nearbyint(y))};
    }

    static Point bisectorStart(PointF v, double theta) {
        const double r = theta * 3.14 / 180;
        return rounded(v.x + 10 * std::cos(r), v.y - 10 * std::sin(r));
    }

    void drawFigure() {
        const FigureState& f = figure_;
        const Directions& d = dirs_;
        const double thetaA =
            d.dirAB < d.dirAD ? (d.dirAB + d.dirAD) / 2 : (d.dirAB + d.dirAD) / 2 + 180;
        const double thetaD =
            d.dirDA > d.dirDC ? (d.dirDA + d.dirDC) / 2 : (d.dirDA + d.dirDC) / 2 + 180;
        mark(f.a(), f.b(), f.d(), f.a(), f.a(), true, bisectorStart(f.a(), thetaA), kYellow);
        mark(f.a(), f.b(), f.b(), f.c(), f.b(), shown_[1] > 1, rounded(f.xB + 28, f.yB - 1),
             kYellow);
        mark(f.b(), f.c(), f.c(), f.d(), f.c(), shown_[2] > 1, rounded(f.xC - 28, f.yC - 1),
             kYellow);
        mark(f.c(), f.d(), f.d(), f.a(), f.d(), true, bisectorStart(f.d(), thetaD), kRed);
    }

    void measureAndDraw() {
        shown_ = measureAngles(figure_, dirs_);
        drawFigure();
    }

    PixelBuffer image_;
    int width_ = 3;
    FigureState figure_;
    Directions dirs_;
    std::array<int, 4> shown_{};
};

std::string hex(Rgb c) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", unsigned(c));
    return text;
}

std::string firstDifference(const PixelBuffer& a, const PixelBuffer& b) {
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return "(" + std::to_string(x) + ", " + std::to_string(y) +
                       "): " + hex(a.pixel(x, y)) + " vs " + hex(b.pixel(x, y));
            }
        }
    }
    return {};
}

std::string mismatch(int op, const std::string& what, const Form1& w,
                     const ReferenceBoard& reference) {
    return "operation " + std::to_string(op) + " (" + what + "): first differing pixel " +
           firstDifference(w.surface().pixels(), reference.pixels());
}

std::string at(PointF p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

TEST(SurfaceDifferential, RandomSessionMatchesThePlainBoard) {
    constexpr int kOperations = 10'000;
    std::mt19937_64 rng(4242);
    Window w;
    ReferenceBoard reference;
    ASSERT_EQ(firstDifference(w.surface().pixels(), reference.pixels()), "");

    PointF pointer{400, 300};
    const auto someDisplacement = [&](double jump) {
        switch (bounded(rng, 0, 10)) {
        case 0: // a big jump, sometimes far off the board
            return PointF{uniform(rng, -jump, jump), uniform(rng, -jump, jump)};
        case 1:
            return PointF{uniform(rng, -0.5, 0.5), uniform(rng, -0.5, 0.5)};
        default:
            return PointF{uniform(rng, -12, 12), uniform(rng, -12, 12)};
        }
    };
    std::string last; // the operation last played, for the report
    for (int op = 0; op < kOperations; ++op) {
        const int kind = bounded(rng, 0, 100);
        if (kind < 55) { // a drag of A or D by a few steps
            if (w.state().memoOn) {
                w.click(controls::Command3);
            }
            const HeldVertex vertex = bounded(rng, 0, 2) ? kVertexA : kVertexD;
            const PointF v = vertex == kVertexA ? w.state().figure.a() : w.state().figure.d();
            // A press on a letter belongs to the letter: the board's handlers
            // never hear of it, so the presses here miss the letters.
            do {
                pointer = v + PointF{uniform(rng, -40, 40), uniform(rng, -40, 40)};
            } while (w.letterAt(pointer) >= 0);
            w.boardPress(kLeftButton, kLeftButton, 0, float(pointer.x), float(pointer.y));
            const HeldVertex held = w.state().dragVertex;
            const int steps = bounded(rng, 1, 6);
            for (int s = 0; s < steps; ++s) {
                const PointF next = pointer + someDisplacement(900);
                w.boardMove(kLeftButton, 0, float(next.x), float(next.y));
                if (held != kNoVertex) {
                    reference.dragStep(w.state().figure, w.control(controls::Check3).checked);
                }
                pointer = next;
                last = "drag " + std::to_string(int(held)) + " to " + at(next);
                ASSERT_TRUE(w.surface().pixels() == reference.pixels())
                    << mismatch(op, last, w, reference);
            }
            w.boardRelease(kLeftButton, 0, 0, float(pointer.x), float(pointer.y));
        } else if (kind < 65) {
            w.click(controls::Check3); // keep traces, or stop keeping them
            continue;
        } else if (kind < 72) {
            PointF spot{10, 10};
            while (w.letterAt(spot) >= 0) {
                spot.x += 40;
            }
            w.boardPress(kRightButton, kRightButton, 0, float(spot.x), float(spot.y));
            w.boardRelease(kRightButton, 0, 0, float(spot.x), float(spot.y));
            reference.rightPress();
            last = "right press";
        } else if (kind < 97) { // a memo stroke with any pen
            if (!w.state().memoOn) {
                w.click(controls::Command3);
            }
            const int pen = bounded(rng, 0, 8);
            w.click(controls::Option1[pen]);
            ASSERT_TRUE(w.control(controls::Option1[pen]).checked) << "pen " << pen;
            reference.setPen(kPens[pen].width);
            do {
                pointer = PointF{uniform(rng, -30, 830), uniform(rng, -30, 650)};
            } while (w.letterAt(pointer) >= 0);
            w.boardPress(kLeftButton, kLeftButton, 0, float(pointer.x), float(pointer.y));
            const int segments = bounded(rng, 1, 5);
            for (int s = 0; s < segments; ++s) {
                const PointF from{w.state().lastX, w.state().lastY};
                const PointF next = pointer + someDisplacement(150);
                w.boardMove(kLeftButton, 0, float(next.x), float(next.y));
                reference.memoSegment(from, PointF{w.state().lastX, w.state().lastY},
                                      paletteColor(kPens[pen].colorIndex));
                pointer = next;
            }
            w.boardRelease(kLeftButton, 0, 0, float(pointer.x), float(pointer.y));
            last = "stroke with pen " + std::to_string(pen);
        } else {
            w.click(controls::Command1);
            reference.reset();
            last = "reset";
        }
        ASSERT_TRUE(w.surface().pixels() == reference.pixels()) << mismatch(op, last, w, reference);
    }
}

} // namespace
