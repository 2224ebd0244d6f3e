// SPDX-License-Identifier: MIT
// Measuring the four angles: directions with the 3.14 constant, the rounding
// of the shown values and the captions.
#include "figure/angles.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

using namespace orvanel;

namespace {

FigureState figureWith(PointF a, PointF d) {
    FigureState f;
    f.xA = a.x;
    f.yA = a.y;
    f.xD = d.x;
    f.yD = static_cast<float>(d.y);
    return f;
}

using Shown = std::array<int, 4>;

} // namespace

TEST(Angles, Readout) {
    struct Row {
        std::string name;
        PointF a;
        PointF d;
        Shown shown;
    };
    // Away from the worked examples the values come from the formulas worked
    // by hand; each row's A + B + C equals D modulo 360, up to rounding.
    const std::vector<Row> rows{
        {"starting figure", {600, 150}, {550, 350}, {41, 35, 56, 132}},
        {"A straight above D", {400, 200}, {400, 400}, {45, 45, 22, 112}},
        {"D out of the triangle, convex", {600, 150}, {700, 300}, {89, 35, 104, 228}},
        {"A and D on the base line", {300, 500}, {200, 500}, {0, 0, 0, 360}},
        {"D on side AB: 0 at A", {600, 150}, {350, 325}, {0, 35, 30, 65}},
        {"A straight above B: 90 at B", {100, 200}, {550, 350}, {72, 90, 56, 218}},
        {"D straight above C: 90 at C", {600, 150}, {650, 300}, {73, 35, 90, 198}},
        {"A below the base line", {400, 600}, {550, 350}, {258, 342, 56, 295}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Directions dirs;
        EXPECT_EQ(measureAngles(figureWith(row.a, row.d), dirs), row.shown);
    }
}

TEST(Angles, StartingFigureDirections) {
    Directions dirs;
    measureAngles(FigureState{}, dirs);
    EXPECT_NEAR(dirs.dirAB, 215.01, 0.01);
    EXPECT_NEAR(dirs.dirAD, 256.00, 0.01);
    EXPECT_NEAR(dirs.dirBA, 35.01, 0.01);
    EXPECT_NEAR(dirs.dirCDFromLeft, 56.34, 0.01);
    EXPECT_NEAR(dirs.dirDA, 76.00, 0.01);
    EXPECT_LT(std::abs(dirs.dirDC - 303.66f), 0.01f) << dirs.dirDC;
}

TEST(Angles, DirectionCases) {
    struct Row {
        std::string name;
        PointF q; // from P = (0, 0)
        double standard;
        double fromLeft;
    };
    const std::vector<Row> rows{
        {"right", {10, 0}, 0.0, 180.0},
        {"up", {0, -10}, 90.0, 90.0},
        {"left", {-10, 0}, 180.0, 0.0},
        {"down", {0, 10}, 270.0, 270.0},
        // The arctangent part comes out pi/3.14 times its true size.
        {"up-right 45 reads 45.0228", {10, -10}, 45.0228, 134.9772},
        {"up-left 135 reads 134.9772", {-10, -10}, 134.9772, 45.0228},
        {"down-left", {-10, 10}, 225.0228, 314.9772},
        {"down-right", {10, 10}, 314.9772, 225.0228},
        {"just right of up: beyond 90", {1e-6, -10}, 90.0456, 89.9544},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto s = rayDirection({0, 0}, row.q);
        const auto l = rayDirectionFromLeft({0, 0}, row.q);
        EXPECT_TRUE(s.has_value());
        EXPECT_TRUE(l.has_value());
        if (s && l) {
            EXPECT_NEAR(*s, row.standard, 1e-4);
            EXPECT_NEAR(*l, row.fromLeft, 1e-4);
        }
        EXPECT_FALSE(rayDirection(row.q, row.q));
        EXPECT_FALSE(rayDirectionFromLeft(row.q, row.q));
    }
}

TEST(Angles, RoundingHalves) {
    struct Row {
        std::string name;
        double value;
        int shown;
    };
    const std::vector<Row> rows{
        {"44.5 shows 45", 44.5, 45},
        {"44.49 shows 44", 44.49, 44},
        {"359.7 shows 360", 359.7, 360},
        {"0 shows 0", 0.0, 0},
    };
    for (const auto& [name, value, shown] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(shownAngleAtB(value), shown);
        EXPECT_EQ(shownAngleAtC(value), shown);
        EXPECT_EQ(shownAngleAtA(100, 100 + value), shown);
        EXPECT_EQ(shownAngleAtA(100 + 360 - value, 100), value == 0 ? 0 : shown);
        EXPECT_EQ(shownAngleAtD(100 + value, 100.0f), value == 0 ? 360 : shown);
        // A negative difference wraps round: -315.5 is 44.5.
        EXPECT_EQ(shownAngleAtA(315.5, 0), 45);
        EXPECT_EQ(shownAngleAtD(0, 315.5f), 45);
    }
}

TEST(Angles, CoincidentPointsKeepDirections) {
    Directions dirs;
    measureAngles(FigureState{}, dirs);
    const Directions before = dirs;
    // A dragged exactly onto B: the directions between them keep their values.
    const Shown shown = measureAngles(figureWith({100, 500}, {550, 350}), dirs);
    EXPECT_EQ(dirs.dirAB, before.dirAB);
    EXPECT_EQ(dirs.dirBA, before.dirBA);
    EXPECT_EQ(shown[1], 35);
    // D dragged onto C keeps dirCDFromLeft and dirDC.
    Directions dirs2;
    measureAngles(FigureState{}, dirs2);
    const Directions before2 = dirs2;
    measureAngles(figureWith({600, 150}, {650, 500}), dirs2);
    EXPECT_EQ(dirs2.dirCDFromLeft, before2.dirCDFromLeft);
    EXPECT_EQ(dirs2.dirDC, before2.dirDC);
    // D onto A keeps dirAD and dirDA.
    Directions dirs3;
    measureAngles(FigureState{}, dirs3);
    const Directions before3 = dirs3;
    measureAngles(figureWith({600, 150}, {600, 150}), dirs3);
    EXPECT_EQ(dirs3.dirAD, before3.dirAD);
    EXPECT_EQ(dirs3.dirDA, before3.dirDA);
}

TEST(Angles, Captions) {
    struct Row {
        std::string name;
        int value;
        std::string caption;
    };
    const std::vector<Row> rows{
        {"two digits", 41, " 41"},
        {"zero", 0, " 0"},
        {"three digits", 360, " 360"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(angleCaption(row.value), row.caption);
        EXPECT_DOUBLE_EQ(captionValue(row.caption), double(row.value));
    }
}

TEST(Angles, CaptionValues) {
    struct Row {
        std::string name;
        std::string caption;
        double value;
    };
    const std::vector<Row> rows{
        {"design text", "33", 33.0},
        {"blanks anywhere", " 1 2", 12.0},
        {"no number", "abc", 0.0},
        {"empty", "", 0.0},
        {"number then text", " 7\u00b0", 7.0},
        {"fraction", "1.5", 1.5},
        {"lone point", ".", 0.0},
        {"sign", "-2", -2.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_DOUBLE_EQ(captionValue(row.caption), row.value);
    }
}
