// SPDX-License-Identifier: MIT
// Tiny pictures drawn as ASCII art, for pixel tests: one character a pixel.
#pragma once

#include "raster/color.h"
#include "raster/raster_surface.h"

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace orvanel::test {

// The palette colours the tests look for.
inline constexpr Rgb kGreen = rgb(0, 128, 0);
inline constexpr Rgb kWhite = rgb(255, 255, 255);
inline constexpr Rgb kYellow = rgb(255, 255, 0);
inline constexpr Rgb kRed = rgb(255, 0, 0);
inline constexpr Rgb kBlue = rgb(0, 0, 255);
inline constexpr Rgb kBlack = rgb(0, 0, 0);

using Art = std::vector<std::string>;

// Characters and the colours they stand for.
inline const std::map<char, Rgb> kArtColors{
    {'.', kGreen}, // board green
    {'#', kWhite}, // white border
    {'Y', kYellow}, {'R', kRed}, {'B', kBlue},
};

inline char artChar(Rgb color) {
    for (const auto& [c, rgb] : kArtColors) {
        if (rgb == color) {
            return c;
        }
    }
    return '?';
}

// Pixels as the picture shows them.
inline PixelBuffer pixelsFromArt(const Art& rows) {
    PixelBuffer pixels(Size{int(rows.front().size()), int(rows.size())}, kGreen);
    for (int y = 0; y < int(rows.size()); ++y) {
        for (int x = 0; x < int(rows[y].size()); ++x) {
            pixels.row(y)[x] = kArtColors.at(rows[y][x]);
        }
    }
    return pixels;
}

inline Art artFromPixels(const PixelBuffer& pixels) {
    Art rows;
    for (int y = 0; y < pixels.height(); ++y) {
        std::string row;
        for (int x = 0; x < pixels.width(); ++x) {
            row += artChar(pixels.pixel(x, y));
        }
        rows.push_back(row);
    }
    return rows;
}

// Pixels of `color` in the buffer.
inline int countColor(const PixelBuffer& pixels, Rgb color) {
    int n = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        n += int(std::count(pixels.row(y), pixels.row(y) + pixels.width(), color));
    }
    return n;
}
inline int countColor(const RasterSurface& s, Rgb color) {
    return countColor(s.pixels(), color);
}

// A real number drawn uniformly from [lo, hi).
inline double uniform(std::mt19937_64& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}
// A whole number drawn uniformly from [lo, hi).
inline int bounded(std::mt19937_64& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi - 1)(rng);
}

} // namespace orvanel::test
