// SPDX-License-Identifier: MIT
// Where a shell that places the window itself (the page) shows it: as large
// as the space allows, never below half its size, the board's corner on a
// whole device pixel; a factor asked for is taken only when it is sound.
#include <gtest/gtest.h>

#include "window/design.h"
#include "window/fit.h"

#include <cmath>
#include <random>

using namespace orvanel;

namespace {

TEST(WindowPlace, FillsTheSpaceWithTheBoardOnAWholeDevicePixel) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> side(200, 4000);
    const double dprs[] = {1, 1.25, 1.5, 2, 2.625, 3};
    for (int round = 0; round < 2000; ++round) {
        const double width = std::round(side(rng));
        const double height = std::round(side(rng));
        const double dpr = dprs[rng() % std::size(dprs)];
        const WindowPlace p = placeWindow(width, height, dpr, std::nullopt);
        const double fit = fitFactor(width, height, kWindowSize);
        ASSERT_GE(p.factor, kMinFitFactor);
        ASSERT_LE(p.factor, fit + 1e-12);
        if (!p.scrolls) {
            EXPECT_GT(p.factor, fit - 0.01) << width << " x " << height << " at " << dpr;
            EXPECT_LE(p.left + kWindowSize.width * p.factor, width + 1e-6);
            EXPECT_LE(p.top + kWindowSize.height * p.factor, height + 1e-6);
            const double boardX = (p.left + (kBoardBox.left + kBoardBorder) * p.factor) * dpr;
            const double boardY = (p.top + (kBoardBox.top + kBoardBorder) * p.factor) * dpr;
            EXPECT_NEAR(boardX, std::round(boardX), 1e-6);
            EXPECT_NEAR(boardY, std::round(boardY), 1e-6);
        } else {
            EXPECT_EQ(p.factor, kMinFitFactor);
        }
    }
}

TEST(WindowPlace, TakesOnlyASoundFactorAskedFor) {
    EXPECT_EQ(askedFactor("1"), 1.0);
    EXPECT_EQ(askedFactor("1.5"), 1.5);
    EXPECT_EQ(askedFactor("0.5"), 0.5);
    EXPECT_EQ(askedFactor("4"), 4.0);
    for (const char* bad :
         {"", "0", "0.01", "1000", "1e400", "NaN", "Infinity", "-1", "4.01", " 1", "1,5", "+1"}) {
        EXPECT_EQ(askedFactor(bad), std::nullopt) << bad;
    }
    // One asked for is kept where it does not fit: the page then scrolls.
    const WindowPlace p = placeWindow(1366, 625, 1, 1.0);
    EXPECT_EQ(p.factor, 1.0);
    EXPECT_TRUE(p.scrolls);
}

TEST(WindowPlace, ATooSmallScreenLaysThePageOutForTheWindowAtItsOwnSize) {
    // A screen that holds the window at half its size keeps its own width.
    EXPECT_EQ(zoomedOutWidth(768, 1024), std::nullopt);
    EXPECT_EQ(zoomedOutWidth(844, 390), std::nullopt);
    EXPECT_EQ(zoomedOutWidth(459, 344), std::nullopt);
    for (const double bad : {0.0, -1.0, double(NAN), double(INFINITY)}) {
        EXPECT_EQ(zoomedOutWidth(bad, 800), std::nullopt) << bad;
    }
    // Phones held upright, and a screen too low: the page is laid out wider,
    // and the window stands whole in it at least at its own size.
    const double dprs[] = {1, 1.75, 2, 2.625, 3};
    for (const auto& [width, height] : {std::pair{390.0, 844.0},
                                        {360.0, 640.0},
                                        {412.0, 823.0},
                                        {458.0, 900.0},
                                        {900.0, 300.0}}) {
        const std::optional<double> wide = zoomedOutWidth(width, height);
        ASSERT_TRUE(wide) << width << " x " << height;
        EXPECT_EQ(*wide, std::ceil(*wide));
        for (const double dpr : dprs) {
            const WindowPlace p = placeWindow(*wide, *wide * height / width, dpr, std::nullopt);
            EXPECT_GE(p.factor, 1.0) << width << " x " << height << " at " << dpr;
            EXPECT_FALSE(p.scrolls) << width << " x " << height << " at " << dpr;
        }
    }
    EXPECT_EQ(zoomedOutWidth(390, 844), kWindowSize.width + 2 * kZoomedOutMargin);
}

} // namespace
