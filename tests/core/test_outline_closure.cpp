// SPDX-License-Identifier: MIT
// The outline that bounds every angle mark, two sides meeting at a vertex and
// the radius-30 circle, drawn at width 1, must hold the flood fill at every
// real-valued vertex position, and drawing the sides again in green must
// remove them.
#include "ascii_image.h"
#include "figure/draw_figure.h"
#include "raster/color.h"
#include "raster/pixel_math.h"
#include "reference/plain_raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <numbers>
#include <random>

using namespace orvanel;
using orvanel::test::uniform;

TEST(OutlineClosure, RandomSectorsHoldTheFill) {
    constexpr int kSectors = 100'000;
    constexpr int kSize = 72;
    const Rgb white = paletteColor(kPaletteWhite);
    const Rgb green = paletteColor(kPaletteGreen);
    const Rgb yellow = paletteColor(kPaletteYellow);
    std::mt19937_64 rng(20261208);
    RasterSurface surface(Size{kSize, kSize});
    int leaks = 0;
    int whiteLeft = 0;
    int filled = 0;
    for (int i = 0; i < kSectors; ++i) {
        surface.clear();
        const PointF v{uniform(rng, 31.0, kSize - 31.0), uniform(rng, 31.0, kSize - 31.0)};
        // Two sides leaving the vertex, reaching far past the circle.
        const double a1 = uniform(rng, 0.0, 2 * std::numbers::pi);
        const double a2 = a1 + uniform(rng, 0.05, 2 * std::numbers::pi - 0.05);
        const double len1 = uniform(rng, 31.0, 2000.0);
        const double len2 = uniform(rng, 31.0, 2000.0);
        const PointF e1 = v + len1 * PointF{std::cos(a1), -std::sin(a1)};
        const PointF e2 = v + len2 * PointF{std::cos(a2), -std::sin(a2)};
        // Sides are drawn from the vertex or towards it, as the figure does.
        const bool towards = test::bounded(rng, 0, 2) == 1;
        surface.drawSegment(towards ? e1 : v, towards ? v : e1, white);
        surface.drawSegment(v, e2, white);
        PixelBuffer board = surface.pixels();
        test::drawCircle(board, v, kMarkRadius, white);
        const double mid = (a1 + a2) / 2;
        const Point start{int(roundHalfEven(v.x + 10 * std::cos(mid))),
                          int(roundHalfEven(v.y - 10 * std::sin(mid)))};
        if (test::floodFill(board, start, white, yellow)) {
            ++filled;
        }
        // The outline cuts the disk into two regions, the sector and the rest;
        // the fill must stay inside the disk and within one of the two. Near a
        // side a pixel may belong to either region: the digital line leans
        // half a pixel and the vertex is rounded to its pixel.
        int inSector = 0;
        int inRest = 0;
        int outsideDisk = 0;
        for (int y = 0; y < kSize; ++y) {
            const Rgb* row = board.row(y);
            for (int x = 0; x < kSize; ++x) {
                if (row[x] != yellow) {
                    continue;
                }
                const PointF p = PointF{double(x), double(y)} - v;
                const double dist = std::hypot(p.x, p.y);
                if (dist > kMarkRadius + 1.5) {
                    ++outsideDisk;
                    continue;
                }
                if (dist < 3) {
                    continue;
                }
                const double ang = std::fmod(std::atan2(-p.y, p.x) - a1 + 4 * std::numbers::pi,
                                             2 * std::numbers::pi);
                const double lean = 2.0 / dist;
                const double sweep = a2 - a1;
                if (ang > lean && ang < sweep - lean) {
                    ++inSector;
                } else if (ang > sweep + lean && ang < 2 * std::numbers::pi - lean) {
                    ++inRest;
                }
            }
        }
        if (outsideDisk > 0 || (inSector > 0 && inRest > 0)) {
            ++leaks;
            ADD_FAILURE() << "leak at sector " << i << ": vertex (" << v.x << ", " << v.y
                          << "), sides " << a1 << " " << a2 << ", drawn "
                          << (towards ? "towards" : "from") << " the vertex";
        }
        surface.drawSegment(towards ? e1 : v, towards ? v : e1, green);
        surface.drawSegment(v, e2, green);
        whiteLeft += test::countColor(surface, white);
        if (leaks || whiteLeft) {
            break;
        }
    }
    const auto summary = testing::Message()
                         << kSectors << " sectors, " << filled << " fills started, " << leaks
                         << " leaks, " << whiteLeft << " white pixels left";
    std::cout << summary << '\n';
    EXPECT_EQ(leaks, 0) << summary;
    EXPECT_EQ(whiteLeft, 0) << summary;
}
