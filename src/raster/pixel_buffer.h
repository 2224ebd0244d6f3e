// SPDX-License-Identifier: MIT
// Rows of 32-bit pixels: a view over memory somebody else owns (a shell's
// screen image, say), and a buffer that owns its pixels.
#pragma once

#include "raster/color.h"
#include "raster/geometry.h"

#include <cstddef>
#include <vector>

namespace orvanel {

// `height` rows of `width` pixels, the first at `pixels`, each `stride`
// pixels after the one before.
struct PixelView {
    Rgb* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    Rgb* row(int y) const { return pixels + y * stride; }
    Rect rect() const { return {0, 0, width, height}; }
    // The view whose pixel (0, 0) is this view's pixel (dx, dy); the
    // rectangle it covers shrinks accordingly.
    PixelView shifted(int dx, int dy) const {
        return {pixels + dy * stride + dx, width - dx, height - dy, stride};
    }
};

class PixelBuffer {
public:
    PixelBuffer(Size size, Rgb fill)
        : width_(size.width), height_(size.height),
          pixels_(std::size_t(size.width) * std::size_t(size.height), fill) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {width_, height_}; }
    Rect rect() const { return {0, 0, width_, height_}; }
    Rgb* row(int y) { return pixels_.data() + std::ptrdiff_t(y) * width_; }
    const Rgb* row(int y) const { return pixels_.data() + std::ptrdiff_t(y) * width_; }
    Rgb pixel(int x, int y) const { return row(y)[x]; }
    const Rgb* data() const { return pixels_.data(); }
    std::size_t byteCount() const { return pixels_.size() * sizeof(Rgb); }
    PixelView view() { return {pixels_.data(), width_, height_, width_}; }
    void fill(Rgb color) { std::fill(pixels_.begin(), pixels_.end(), color); }

    friend bool operator==(const PixelBuffer&, const PixelBuffer&) = default;

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

} // namespace orvanel
