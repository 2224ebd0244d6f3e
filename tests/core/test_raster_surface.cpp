// SPDX-License-Identifier: MIT
// Pixel rules of the board surface (segments, clearing, what changed), and of
// the plain circle and flood fill its marks are checked against.
#include "ascii_image.h"
#include "reference/plain_raster.h"

#include "raster/color.h"
#include "raster/shrink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;

namespace {

PointF toPointF(Point p) {
    return {double(p.x), double(p.y)};
}

// The rectangles the surface reports as changed since the last call.
std::vector<Rect> takeChanged(RasterSurface& surface) {
    std::vector<Rect> rects;
    surface.takeDamage([&](const Rect& r) { rects.push_back(r); });
    return rects;
}

struct FloodFillRow {
    std::string name;
    Art before;
    Point start;
    bool painted;
    Art after;
};

} // namespace

TEST(PlainRaster, FloodFill) {
    const std::vector<FloodFillRow> rows{
        {"closed box: inside only, border kept",
         {".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."},
         {3, 2},
         true,
         {".......", ".#####.", ".#YYY#.", ".#YYY#.", ".#####.", "......."}},
        // 8-connected diagonal border: a 4-connected fill must not slip between
        // two diagonal neighbours.
        {"diagonal border holds",
         {"#.....", ".#....", "..#...", "...#..", "....#.", ".....#"},
         {0, 5},
         true,
         {"#.....", "Y#....", "YY#...", "YYY#..", "YYYY#.", "YYYYY#"}},
        {"start on the border paints nothing",
         {"...", ".#.", "..."},
         {1, 1},
         false,
         {"...", ".#.", "..."}},
        {"start left of the surface paints nothing",
         {"...", "..."},
         {-1, 0},
         false,
         {"...", "..."}},
        {"start below the surface paints nothing", {"...", "..."}, {1, 2}, false, {"...", "..."}},
        {"other colours inside are painted over",
         {"#####", "#RBR#", "#####"},
         {1, 1},
         true,
         {"#####", "#YYY#", "#####"}},
        {"pixels already of the fill colour are passed through",
         {"######", "#.Y..#", "#.Y.##", "######"},
         {1, 1},
         true,
         {"######", "#YYYY#", "#YYY##", "######"}},
        {"region reached only around corners",
         {"#######", "#...#.#", "#.#.#.#", "#.#...#", "#######"},
         {1, 1},
         true,
         {"#######", "#YYY#Y#", "#Y#Y#Y#", "#Y#YYY#", "#######"}},
        {"fill runs to the surface's edges",
         {"..#..", "..#..", "..#.."},
         {4, 0},
         true,
         {"..#YY", "..#YY", "..#YY"}},
    };
    for (const FloodFillRow& row : rows) {
        SCOPED_TRACE(row.name);
        PixelBuffer pixels = pixelsFromArt(row.before);
        EXPECT_EQ(floodFill(pixels, row.start, kWhite, kYellow), row.painted);
        EXPECT_EQ(artFromPixels(pixels), row.after);
    }
}

TEST(PlainRaster, FloodFillWholeBoard) {
    PixelBuffer board(kBoardSize, kGreen);
    ASSERT_TRUE(floodFill(board, {401, 313}, kWhite, kYellow));
    EXPECT_EQ(countColor(board, kYellow), kBoardSize.width * kBoardSize.height);
    // A second fill over the pixels of the first.
    ASSERT_TRUE(floodFill(board, {0, 0}, kGreen, kWhite));
    EXPECT_EQ(countColor(board, kWhite), kBoardSize.width * kBoardSize.height);
}

TEST(PlainRaster, FloodFillDoesNotRecurse) {
    // A serpentine corridor one pixel wide through the whole board: a fill that
    // recursed per pixel would need hundreds of thousands of frames.
    RasterSurface surface;
    for (int x = 1; x < surface.width(); x += 2) {
        const double y1 = (x / 2) % 2 == 0 ? 0 : 1;
        surface.drawSegment({double(x), y1}, {double(x), y1 + surface.height() - 2}, kWhite);
    }
    PixelBuffer board = surface.pixels();
    ASSERT_TRUE(floodFill(board, {0, 0}, kWhite, kYellow));
    EXPECT_EQ(countColor(board, kGreen), 0);
}

TEST(RasterSurface, ThinSegmentIsDirectionIndependent) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 2000; ++i) {
        const PointF a{uniform(rng, -20.0, 60.0), uniform(rng, -20.0, 60.0)};
        const PointF b{uniform(rng, -20.0, 60.0), uniform(rng, -20.0, 60.0)};
        RasterSurface forward(Size{40, 40});
        RasterSurface backward(Size{40, 40});
        forward.drawSegment(a, b, kWhite);
        backward.drawSegment(b, a, kWhite);
        ASSERT_TRUE(forward.pixels() == backward.pixels())
            << "(" << a.x << "," << a.y << ")-(" << b.x << "," << b.y << ")";
    }
}

TEST(RasterSurface, ThinSegmentEndsRoundHalfToEven) {
    struct Row {
        std::string name;
        PointF end;
        Point pixel;
    };
    const std::vector<Row> rows{
        {"2.5 rounds down to even 2", {2.5, 2.5}, {2, 2}},
        {"3.5 rounds up to even 4", {3.5, 3.5}, {4, 4}},
        {"2.51 rounds up", {2.51, 1.49}, {3, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RasterSurface surface(Size{8, 8});
        surface.drawSegment(row.end, row.end, kWhite);
        EXPECT_EQ(countColor(surface, kWhite), 1);
        EXPECT_EQ(surface.pixel(row.pixel.x, row.pixel.y), kWhite);
    }
}

TEST(RasterSurface, ThinSegmentIs8ConnectedWithBothEnds) {
    std::mt19937_64 rng(11);
    for (int i = 0; i < 500; ++i) {
        const Point a{bounded(rng, 0, 50), bounded(rng, 0, 50)};
        const Point b{bounded(rng, 0, 50), bounded(rng, 0, 50)};
        SCOPED_TRACE(testing::Message()
                     << "(" << a.x << "," << a.y << ")-(" << b.x << "," << b.y << ")");
        RasterSurface surface(Size{50, 50});
        surface.drawSegment(toPointF(a), toPointF(b), kWhite);
        ASSERT_EQ(surface.pixel(a.x, a.y), kWhite);
        ASSERT_EQ(surface.pixel(b.x, b.y), kWhite);
        // As many pixels as the longer axis spans: one per column or row.
        const int expected = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) + 1;
        ASSERT_EQ(countColor(surface, kWhite), expected);
    }
}

TEST(RasterSurface, RedrawInGreenCoversExactly) {
    std::mt19937_64 rng(3);
    for (int i = 0; i < 1000; ++i) {
        RasterSurface surface(Size{64, 64});
        const PointF a{uniform(rng, -10.0, 74.0), uniform(rng, -10.0, 74.0)};
        const PointF b{uniform(rng, -10.0, 74.0), uniform(rng, -10.0, 74.0)};
        surface.drawSegment(a, b, kWhite);
        surface.drawSegment(a, b, kGreen);
        ASSERT_EQ(countColor(surface, kWhite), 0)
            << "segment (" << a.x << "," << a.y << ")-(" << b.x << "," << b.y << ")";
    }
}

TEST(RasterSurface, WideSegmentCoversHalfWidth) {
    struct Row {
        std::string name;
        int width;
        int reach; // rows covered on each side of the centre line
    };
    const std::vector<Row> rows{
        {"thin pen, 3", 3, 1},
        {"bold pen, 6", 6, 3},
        {"thin eraser, 15", 15, 7},
        {"bold eraser, 25", 25, 12},
    };
    for (const auto& [name, width, reach] : rows) {
        SCOPED_TRACE(name);
        RasterSurface surface(Size{100, 60});
        surface.setLineWidth(width);
        surface.drawSegment({30, 30}, {70, 30}, kYellow);
        for (int dy = -reach; dy <= reach; ++dy) {
            EXPECT_EQ(surface.pixel(50, 30 + dy), kYellow) << "dy " << dy;
        }
        EXPECT_EQ(surface.pixel(50, 30 - reach - 1), kGreen);
        EXPECT_EQ(surface.pixel(50, 30 + reach + 1), kGreen);
        // Round ends: the end cap reaches as far as the sides, but not its corners.
        EXPECT_EQ(surface.pixel(70 + reach, 30), kYellow);
        EXPECT_EQ(surface.pixel(70 + reach + 1, 30), kGreen);
        if (reach >= 3) {
            EXPECT_EQ(surface.pixel(70 + reach, 30 + reach), kGreen);
        }
        // A zero-length segment is a dot as wide as the pen.
        RasterSurface dot(Size{60, 60});
        dot.setLineWidth(width);
        dot.drawSegment({30, 30}, {30, 30}, kYellow);
        EXPECT_EQ(dot.pixel(30 + reach, 30), kYellow);
        EXPECT_EQ(dot.pixel(30 + reach + 1, 30), kGreen);
    }
}

TEST(PlainRaster, CircleOutlineIsSymmetricAndClosed) {
    PixelBuffer board(Size{81, 81}, kGreen);
    drawCircle(board, {40, 40}, 30, kWhite);
    for (int y = 0; y < 81; ++y) {
        for (int x = 0; x < 81; ++x) {
            const Rgb p = board.pixel(x, y);
            ASSERT_EQ(board.pixel(80 - x, y), p) << "x " << x << ", y " << y;
            ASSERT_EQ(board.pixel(x, 80 - y), p) << "x " << x << ", y " << y;
            ASSERT_EQ(board.pixel(y, x), p) << "x " << x << ", y " << y;
        }
    }
    EXPECT_EQ(board.pixel(40, 10), kWhite);
    EXPECT_EQ(board.pixel(70, 40), kWhite);
    ASSERT_TRUE(floodFill(board, {40, 40}, kWhite, kYellow));
    // The fill stays inside: every yellow pixel lies within the radius.
    for (int y = 0; y < 81; ++y) {
        for (int x = 0; x < 81; ++x) {
            if (board.pixel(x, y) == kYellow) {
                ASSERT_LT(std::hypot(x - 40, y - 40), 30) << "x " << x << ", y " << y;
            }
        }
    }
    EXPECT_EQ(board.pixel(0, 0), kGreen);
}

TEST(RasterSurface, FarAwayCoordinatesAreClipped) {
    struct Row {
        PointF far;
        int width;
    };
    std::vector<Row> rows;
    for (const double d : {1e4, 1e7, 1e30}) {
        for (const int width : {1, 25}) {
            rows.push_back({{-d, d * 0.3}, width});
            rows.push_back({{d, -d}, width});
        }
    }
    for (const auto& [far, width] : rows) {
        SCOPED_TRACE(testing::Message() << "(" << far.x << ", " << far.y << ") at width " << width);
        RasterSurface surface;
        surface.setLineWidth(width);
        const PointF near{400, 300};
        surface.drawSegment(far, near, kWhite);
        EXPECT_EQ(surface.pixel(400, 300), kWhite);
        // The visible part runs from the near end towards the far one.
        const PointF dir = (far - near) * (1 / std::hypot(far.x - near.x, far.y - near.y));
        const PointF probe = near + 100 * dir;
        EXPECT_EQ(surface.pixel(int(std::lround(probe.x)), int(std::lround(probe.y))), kWhite);
        PixelBuffer board = surface.pixels();
        drawCircle(board, far, 30, kWhite);
        EXPECT_TRUE(board == surface.pixels());
        EXPECT_FALSE(floodFill(board, {int(std::clamp(far.x, -1e9, 1e9)), 0}, kWhite, kYellow));
    }
}

TEST(RasterSurface, ClearEqualsFullFill) {
    std::mt19937_64 rng(5);
    RasterSurface surface;
    const PixelBuffer blank = RasterSurface().pixels();
    for (int round = 0; round < 50; ++round) {
        for (int i = 0; i < 5; ++i) {
            surface.setLineWidth(bounded(rng, 1, 26));
            surface.drawSegment({uniform(rng, -100.0, 900.0), uniform(rng, -100.0, 700.0)},
                                {uniform(rng, -100.0, 900.0), uniform(rng, -100.0, 700.0)},
                                paletteColor(bounded(rng, 0, 16)));
        }
        surface.clear();
        ASSERT_TRUE(surface.pixels() == blank) << "round " << round;
    }
}

TEST(RasterSurface, ChangedRectsCoverChangedPixels) {
    RasterSurface surface;
    takeChanged(surface);
    const PixelBuffer before = surface.pixels();
    surface.setLineWidth(6);
    surface.drawSegment({100, 100}, {300, 220}, kYellow);
    surface.setLineWidth(1);
    surface.drawSegment({0, 600}, {801, 600}, kGreen); // changes nothing
    const std::vector<Rect> changed = takeChanged(surface);
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            if (surface.pixel(x, y) != before.pixel(x, y)) {
                ASSERT_TRUE(std::any_of(changed.begin(), changed.end(),
                                        [&](const Rect& r) {
                                            return r.contains({x, y});
                                        }))
                    << "x " << x << ", y " << y;
            }
        }
    }
    const Rect untouched{0, 590, 802, 20};
    EXPECT_TRUE(std::none_of(changed.begin(), changed.end(),
                             [&](const Rect& r) { return r.intersects(untouched); }));
    EXPECT_TRUE(takeChanged(surface).empty());
}

// Shrunk at any factor from one half up, a one-pixel stroke in any direction
// keeps a pixel in every device column and row it crosses; where nothing is
// drawn, the board stays its own green.
TEST(Shrink, KeepsThinStrokes) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> x(0, 801), y(0, 625), k(0.5, 0.99);
    for (int round = 0; round < 40; ++round) {
        RasterSurface surface;
        const PointF a{x(rng), y(rng)};
        const PointF b{x(rng), y(rng)};
        surface.drawSegment(a, b, paletteColor(kPaletteRed));
        const double f = k(rng);
        PixelBuffer shown(Size{int(802 * f), int(626 * f)}, 0);
        shrinkInto(shown.view(), 0, 0, surface.pixels(), f, f, kBoardGreen);
        const Rect span = RectF::spanning(a * f, b * f).alignedRect().intersected(shown.rect());
        const bool alongX = span.width >= span.height;
        // The columns (or rows) strictly inside the stroke's ends.
        for (int d = (alongX ? span.left : span.top) + 1;
             d < (alongX ? span.right() : span.bottom()); ++d) {
            int found = 0;
            for (int e = 0; e < (alongX ? shown.height() : shown.width()); ++e) {
                found +=
                    (alongX ? shown.pixel(d, e) : shown.pixel(e, d)) == paletteColor(kPaletteRed);
            }
            ASSERT_GT(found, 0) << "round " << round << " at factor " << f << ", " << d;
        }
        EXPECT_EQ(shown.pixel(0, 0) == kBoardGreen, surface.pixel(0, 0) == kBoardGreen);
    }
}
