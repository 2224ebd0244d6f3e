// SPDX-License-Identifier: MIT
#include "window/fit.h"

#include "format/decimal.h"
#include "window/design.h"

#include <cmath>

namespace orvanel {

namespace {

// The left (or top) edge at which a window `size` wide, whose board starts
// `board` pixels inside it, is centred in `space`, moved by less than a
// device pixel so that the board starts on a whole one; none where that
// cannot fit.
std::optional<double> edge(double space, double size, double board, double dpr) {
    const double centred = std::max(0.0, (space - size) / 2);
    const double at = (centred + board) * dpr;
    for (const double device : {std::floor(at + 0.5), std::ceil(at), std::floor(at)}) {
        const double left = device / dpr - board;
        if (left >= 0 && (left + size <= space + 1e-6 || space + 1e-6 < size)) {
            return left;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<double> askedFactor(std::string_view text) {
    const std::optional<double> f = readDecimal(text, kMaxAskedFactor);
    if (!f || *f < kMinFitFactor) {
        return std::nullopt;
    }
    return f;
}

WindowPlace placeWindow(double width, double height, double dpr, std::optional<double> asked) {
    const double w = kWindowSize.width;
    const double h = kWindowSize.height;
    const double boardLeft = kBoardBox.left + kBoardBorder;
    const double boardTop = kBoardBox.top + kBoardBorder;
    dpr = std::isfinite(dpr) && dpr > 0 ? dpr : 1;
    double f = asked ? *asked : fitFactor(width, height, kWindowSize);
    for (;;) {
        const std::optional<double> left = edge(width, w * f, boardLeft * f, dpr);
        const std::optional<double> top = edge(height, h * f, boardTop * f, dpr);
        if ((left && top) || asked || f <= kMinFitFactor) {
            const bool fits = w * f <= width + 1e-6 && h * f <= height + 1e-6;
            return {f, left.value_or(0), top.value_or(0), !fits};
        }
        // No place puts the board on a whole device pixel: a hair smaller.
        f -= 1 / (std::max(w, h) * dpr);
    }
}

std::optional<double> zoomedOutWidth(double width, double height) {
    const double w = kWindowSize.width;
    const double h = kWindowSize.height;
    if (!(width > 0 && height > 0 && std::isfinite(width) && std::isfinite(height)) ||
        (width + 1e-6 >= w * kMinFitFactor && height + 1e-6 >= h * kMinFitFactor)) {
        return std::nullopt;
    }
    const double margin = 2 * kZoomedOutMargin;
    return std::ceil(std::max(w + margin, (h + margin) * width / height));
}

} // namespace orvanel
