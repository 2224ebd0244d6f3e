// SPDX-License-Identifier: MIT
// The window model without any toolkit: a measure of captions that needs no
// font, and a pointer on the board that remembers which buttons it holds.
#pragma once

#include "window/form1.h"

#include <cmath>
#include <ostream>
#include <string_view>

namespace orvanel {

// Points print as (x, y) in failure messages.
inline void PrintTo(const PointF& p, std::ostream* os) {
    *os << '(' << p.x << ", " << p.y << ')';
}
inline void PrintTo(Point p, std::ostream* os) {
    *os << '(' << p.x << ", " << p.y << ')';
}

} // namespace orvanel

namespace orvanel::test {

// Every character is 4/5 of the font's pixel size wide and a line is 11/10
// of it high: the vertex letters come out about as large as in the design.
class FixedMeasurer : public TextMeasurer {
public:
    Size textSize(const FontSpec& font, std::string_view text) const override {
        const double pixels = fontPixels(font);
        int characters = 0;
        for (const unsigned char c : text) {
            characters += (c & 0xc0) != 0x80; // UTF-8: count the first byte of each
        }
        return {int(std::ceil(characters * pixels * 0.8)), int(std::ceil(pixels * 1.1))};
    }
};

inline const TextMeasurer& testMeasurer() {
    static const FixedMeasurer measurer;
    return measurer;
}

// A fresh window, as the program starts it.
struct Window : Form1 {
    Window() : Form1(testMeasurer()) {}
};

// A pointer on the board of `w` that remembers the buttons it holds.
class Pointer {
public:
    explicit Pointer(Form1& w) : w_(w) {}
    void press(PointF p, int button = kLeftButton) {
        held_ |= button;
        w_.boardPress(button, held_, 0, float(p.x), float(p.y));
    }
    void move(PointF p) { w_.boardMove(held_, 0, float(p.x), float(p.y)); }
    void release(PointF p, int button = kLeftButton) {
        held_ &= ~button;
        w_.boardRelease(button, held_, 0, float(p.x), float(p.y));
    }
    void drag(PointF from, PointF to, int button = kLeftButton) {
        press(from, button);
        move(to);
        release(to, button);
    }
    int held() const { return held_; }

private:
    Form1& w_;
    int held_ = 0;
};

} // namespace orvanel::test
