// SPDX-License-Identifier: MIT
// The four angle marks painted by drawFigure, checked pixel by pixel.
#include "ascii_image.h"
#include "core_fixture.h"
#include "figure/angles.h"
#include "figure/draw_figure.h"
#include "raster/color.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;

namespace {

struct Drawn {
    FigureState figure;
    Directions dirs;
    std::array<int, 4> shown{};
    RasterSurface surface;
};

Drawn draw(PointF a, PointF d) {
    Drawn out;
    out.figure.xA = a.x;
    out.figure.yA = a.y;
    out.figure.xD = d.x;
    out.figure.yD = static_cast<float>(d.y);
    out.surface.setLineWidth(3);
    out.shown = measureAngles(out.figure, out.dirs);
    drawFigure(out.surface, out.figure, out.dirs, out.shown[1], out.shown[2]);
    return out;
}

// Pixels of `color` within `radius` of `centre`.
int countNear(const RasterSurface& s, PointF centre, double radius, Rgb color) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if (s.pixel(x, y) == color && std::hypot(x - centre.x, y - centre.y) <= radius) {
                ++n;
            }
        }
    }
    return n;
}

int countAll(const RasterSurface& s, Rgb color) {
    return countNear(s, {0, 0}, 1e9, color);
}

constexpr double kDiskArea = std::numbers::pi * kMarkRadius * kMarkRadius;

} // namespace

TEST(DrawFigure, StartingFigure) {
    Drawn f = draw({600, 150}, {550, 350});
    EXPECT_EQ(f.shown, (std::array<int, 4>{41, 35, 56, 132}));
    EXPECT_EQ(fillStartAtA(f.figure, f.dirs), (Point{594, 158}));
    EXPECT_EQ(fillStartAtD(f.figure, f.dirs), (Point{560, 348}));
    EXPECT_EQ(f.surface.pixel(594, 158), kYellow);
    EXPECT_EQ(f.surface.pixel(128, 499), kYellow);
    EXPECT_EQ(f.surface.pixel(622, 499), kYellow);
    EXPECT_EQ(f.surface.pixel(560, 348), kRed);
    // The red mark lies on the side of D facing away from B.
    EXPECT_EQ(f.surface.pixel(540, 350), paletteColor(kPaletteGreen));
    // Sector areas follow the angles: 41, 35 and 56 degrees of the disk at
    // A, B and C, and 132 at D, less the pixels of the erased outline.
    const auto sectorArea = [](int degrees) { return kDiskArea * degrees / 360; };
    const int atA = countNear(f.surface, f.figure.a(), 31, kYellow);
    const int atB = countNear(f.surface, f.figure.b(), 31, kYellow);
    const int atC = countNear(f.surface, f.figure.c(), 31, kYellow);
    const int atD = countNear(f.surface, f.figure.d(), 31, kRed);
    EXPECT_GT(atA, 0.75 * sectorArea(41));
    EXPECT_LT(atA, sectorArea(41));
    EXPECT_GT(atB, 0.75 * sectorArea(35));
    EXPECT_LT(atB, sectorArea(35));
    EXPECT_GT(atC, 0.75 * sectorArea(56));
    EXPECT_LT(atC, sectorArea(56));
    EXPECT_GT(atD, 0.8 * sectorArea(132));
    EXPECT_LT(atD, sectorArea(132));
}

TEST(DrawFigure, BoardStateAfterwards) {
    Drawn f = draw({600, 150}, {550, 350});
    EXPECT_EQ(f.surface.lineWidth(), 3);
    EXPECT_EQ(f.surface.fillColor(), kRed);
    EXPECT_EQ(countAll(f.surface, kWhite), 0);
}

TEST(DrawFigure, MarksStayInTheirDisks) {
    Drawn f = draw({600, 150}, {550, 350});
    const int yellow = countAll(f.surface, kYellow);
    const int near = countNear(f.surface, f.figure.a(), 31, kYellow) +
                     countNear(f.surface, f.figure.b(), 31, kYellow) +
                     countNear(f.surface, f.figure.c(), 31, kYellow);
    EXPECT_EQ(yellow, near);
    EXPECT_EQ(countAll(f.surface, kRed), countNear(f.surface, f.figure.d(), 31, kRed));
}

TEST(DrawFigure, SmallReadoutAtBPaintsNothing) {
    struct Row {
        std::string name;
        PointF a;
        int shownAtB;
        bool painted;
    };
    const std::vector<Row> rows{
        {"A on the base line: 0", {400, 500}, 0, false},
        // atan(5 / 300) in 3.14-degrees is 0.955; atan(8 / 300) is 1.528.
        {"A just above the base line: 1", {400, 495}, 1, false},
        // At 2 the fill starts, but its start pixel (B + (28, -1)) lies on side BA.
        {"a read-out of 2 starts on the side", {400, 490}, 2, false},
        {"a read-out of 4 paints", {400, 480}, 4, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Drawn f = draw(row.a, {550, 350});
        EXPECT_EQ(f.shown[1], row.shownAtB);
        EXPECT_EQ(countNear(f.surface, f.figure.b(), 31, kYellow) > 0, row.painted);
        EXPECT_EQ(countAll(f.surface, kWhite), 0);
    }
}

TEST(DrawFigure, ABelowTheBaseLine) {
    Drawn f = draw({400, 600}, {550, 350});
    EXPECT_GT(f.shown[1], 180);
    // The mark at B sweeps from the base line (towards C) over the top to BA:
    // more than half of the disk.
    const int atB = countNear(f.surface, f.figure.b(), 31, kYellow);
    EXPECT_GT(atB, kDiskArea / 2);
    EXPECT_EQ(f.surface.pixel(100, 480), kYellow); // straight above B
}

TEST(DrawFigure, DOnSideAB) {
    Drawn f = draw({600, 150}, {350, 325});
    EXPECT_EQ(f.shown[0], 0);
    EXPECT_DOUBLE_EQ(f.dirs.dirAB, f.dirs.dirAD);
    // The start point points away from B, and the fill spreads over the disk.
    const int atA = countNear(f.surface, f.figure.a(), 31, kYellow);
    EXPECT_GT(atA, 0.85 * kDiskArea);
}

TEST(DrawFigure, SideShorterThanTheRadius) {
    // A within 30 pixels of D: side DA ends inside the circles and cuts no disk.
    Drawn f = draw({560, 330}, {550, 350});
    // Yellow at A, partly painted over red by the mark at D, fills the disk.
    const int atA = countNear(f.surface, f.figure.a(), 31, kYellow) +
                    countNear(f.surface, f.figure.a(), 31, kRed);
    EXPECT_GT(atA, 0.85 * kDiskArea);
    EXPECT_EQ(countAll(f.surface, kWhite), 0);
}

TEST(DrawFigure, VertexOffTheBoard) {
    struct Row {
        std::string name;
        PointF a;
        PointF d;
    };
    const std::vector<Row> rows{
        {"A beyond the left edge", {-100, 150}, {550, 350}},
        {"A half over the top edge", {600, 5}, {550, 350}},
        {"D far below", {600, 150}, {550, 1e6}},
        {"D at 1e30", {600, 150}, {1e30, -1e30}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Drawn f = draw(row.a, row.d);
        EXPECT_EQ(countAll(f.surface, kWhite), 0);
        // Whatever is painted stays within the four disks.
        const int painted = countAll(f.surface, kYellow) + countAll(f.surface, kRed);
        const int inDisks = countNear(f.surface, f.figure.a(), 31, kYellow) +
                            countNear(f.surface, f.figure.b(), 31, kYellow) +
                            countNear(f.surface, f.figure.c(), 31, kYellow) +
                            countNear(f.surface, f.figure.d(), 31, kRed);
        EXPECT_EQ(painted, inDisks);
    }
}

TEST(DrawFigure, PaintsOverEarlierMarks) {
    // Without clearing, a second drawing for another position paints over
    // the first, and the first stays where nothing covers it.
    Drawn f = draw({600, 150}, {550, 350});
    f.figure.xD = 500;
    f.shown = measureAngles(f.figure, f.dirs);
    drawFigure(f.surface, f.figure, f.dirs, f.shown[1], f.shown[2]);
    EXPECT_EQ(f.surface.pixel(560, 348), kRed);
    EXPECT_GT(countNear(f.surface, {500, 350}, 31, kRed), 0);
}
