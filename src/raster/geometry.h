// SPDX-License-Identifier: MIT
// Small value types for board geometry: real points, whole-pixel points,
// sizes and rectangles. Whole-pixel rectangles include both edges
// (right = left + width - 1); real rectangles run from left to left + width.
#pragma once

#include <algorithm>
#include <cmath>

namespace orvanel {

struct PointF {
    double x = 0;
    double y = 0;

    friend constexpr PointF operator+(PointF a, PointF b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr PointF operator-(PointF a, PointF b) { return {a.x - b.x, a.y - b.y}; }
    friend constexpr PointF operator-(PointF a) { return {-a.x, -a.y}; }
    friend constexpr PointF operator*(PointF a, double k) { return {a.x * k, a.y * k}; }
    friend constexpr PointF operator*(double k, PointF a) { return a * k; }
    friend constexpr bool operator==(PointF, PointF) = default;
};

struct Point {
    int x = 0;
    int y = 0;

    friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(Size, Size) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int right() const { return left + width - 1; }
    constexpr int bottom() const { return top + height - 1; }
    constexpr bool isEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool contains(Point p) const {
        return p.x >= left && p.x <= right() && p.y >= top && p.y <= bottom();
    }
    constexpr bool intersects(const Rect& r) const {
        return !isEmpty() && !r.isEmpty() && left <= r.right() && r.left <= right() &&
               top <= r.bottom() && r.top <= bottom();
    }
    constexpr Rect intersected(const Rect& r) const {
        const int l = std::max(left, r.left);
        const int t = std::max(top, r.top);
        const int rt = std::min(right(), r.right());
        const int b = std::min(bottom(), r.bottom());
        return rt < l || b < t ? Rect{} : fromEdges(l, t, rt, b);
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    constexpr Rect united(const Rect& r) const {
        if (isEmpty()) {
            return r;
        }
        if (r.isEmpty()) {
            return *this;
        }
        return fromEdges(std::min(left, r.left), std::min(top, r.top), std::max(right(), r.right()),
                         std::max(bottom(), r.bottom()));
    }
    constexpr Rect translated(int dx, int dy) const { return {left + dx, top + dy, width, height}; }
    static constexpr Rect fromEdges(int l, int t, int r, int b) {
        return {l, t, r - l + 1, b - t + 1};
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct RectF {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    constexpr double right() const { return left + width; }
    constexpr double bottom() const { return top + height; }
    constexpr bool isEmpty() const { return !(width > 0) || !(height > 0); }
    // Edges included.
    constexpr bool contains(PointF p) const {
        return p.x >= left && p.x <= right() && p.y >= top && p.y <= bottom();
    }
    constexpr bool intersects(const RectF& r) const {
        return left < r.right() && r.left < right() && top < r.bottom() && r.top < bottom();
    }
    constexpr RectF intersected(const RectF& r) const {
        const double l = std::max(left, r.left);
        const double t = std::max(top, r.top);
        const double rt = std::min(right(), r.right());
        const double b = std::min(bottom(), r.bottom());
        return rt <= l || b <= t ? RectF{} : RectF{l, t, rt - l, b - t};
    }
    constexpr RectF adjusted(double dl, double dt, double dr, double db) const {
        return {left + dl, top + dt, width + dr - dl, height + db - dt};
    }
    // The whole-pixel rectangle covering this one: edges rounded outwards.
    Rect alignedRect() const {
        const int l = int(std::floor(left));
        const int t = int(std::floor(top));
        return {l, t, int(std::ceil(right())) - l, int(std::ceil(bottom())) - t};
    }
    // The rectangle with corners a and b, whichever way round they lie.
    static constexpr RectF spanning(PointF a, PointF b) {
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
    }
    static constexpr RectF of(const Rect& r) {
        return {double(r.left), double(r.top), double(r.width), double(r.height)};
    }
};

} // namespace orvanel
