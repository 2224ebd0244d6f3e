// SPDX-License-Identifier: MIT
#include "board/board_layer.h"

#include <algorithm>
#include <cmath>

namespace orvanel {

namespace {

// Only this much of the board's surroundings can be on the screen; clamping
// to it keeps far-away objects from overflowing the integer rectangles.
constexpr RectF kReach{-64, -64, 4096, 4096};

} // namespace

RectF LineObject::bounds() const {
    const double pad = width / 2.0 + 2;
    return RectF::spanning(p1, p2).adjusted(-pad, -pad, pad, pad);
}

void BoardLayer::damage(const RectF& rect) {
    const RectF visible = rect.intersected(kReach);
    if (!visible.isEmpty()) {
        damage_.add(visible.alignedRect());
    }
}

void BoardLayer::damage(const LineObject& line) {
    if (!line.visible) {
        return;
    }
    // A long slanted line is damaged piece by piece: the boxes of its pieces
    // cover far less of the board than the box of the whole line.
    const auto clipped = clipSegment(line.p1, line.p2, kReach);
    if (!clipped) {
        return;
    }
    const auto [a, b] = *clipped;
    const double span = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    const int pieces = std::clamp(int(span / 64) + 1, 1, 8);
    const double pad = line.width / 2.0 + 2;
    for (int i = 0; i < pieces; ++i) {
        const PointF from = a + (b - a) * (double(i) / pieces);
        const PointF to = a + (b - a) * (double(i + 1) / pieces);
        damage(RectF::spanning(from, to).adjusted(-pad, -pad, pad, pad));
    }
}

void BoardLayer::damageLetter(int i) {
    const LetterObject& letter = letters_[i];
    damage(RectF{letter.topLeft.x, letter.topLeft.y, double(letter.size.width),
                 double(letter.size.height)}
               .adjusted(-1, -1, 1, 1));
}

void BoardLayer::addLine(LineRow r, LineObject line) {
    rows_[index(r)].push_back(line);
    damage(line);
}

void BoardLayer::setEnds(LineRow r, int i, PointF p1, PointF p2) {
    LineObject& line = edit(r, i);
    damage(line);
    line.p1 = p1;
    line.p2 = p2;
    damage(line);
}

void BoardLayer::setFirstEnd(LineRow r, int i, PointF p) {
    setEnds(r, i, p, line(r, i).p2);
}

void BoardLayer::setSecondEnd(LineRow r, int i, PointF p) {
    setEnds(r, i, line(r, i).p1, p);
}

void BoardLayer::setX(LineRow r, int i, double x1, double x2) {
    const LineObject& l = line(r, i);
    setEnds(r, i, {x1, l.p1.y}, {x2, l.p2.y});
}

void BoardLayer::setColor(LineRow r, int i, Rgb color) {
    LineObject& line = edit(r, i);
    line.color = color;
    damage(line);
}

void BoardLayer::setVisible(LineRow r, int i, bool visible) {
    LineObject& line = edit(r, i);
    if (line.visible == visible) {
        return;
    }
    damage(line.bounds());
    line.visible = visible;
}

void BoardLayer::setCursorCircle(const CursorCircle& circle) {
    setCursorCircleVisible(false);
    cursorCircle_ = circle;
    cursorCircle_.visible = false;
    setCursorCircleVisible(circle.visible);
}

void BoardLayer::setCursorCircleBox(double left, double top, double width, double height) {
    if (cursorCircle_.visible) {
        damage(cursorCircle_.bounds());
    }
    cursorCircle_.left = left;
    cursorCircle_.top = top;
    cursorCircle_.width = width;
    cursorCircle_.height = height;
    if (cursorCircle_.visible) {
        damage(cursorCircle_.bounds());
    }
}

void BoardLayer::setCursorCircleVisible(bool visible) {
    if (cursorCircle_.visible != visible) {
        cursorCircle_.visible = visible;
        damage(cursorCircle_.bounds());
    }
}

void BoardLayer::addLetter(LetterObject letter) {
    letters_.push_back(std::move(letter));
    damageLetter(int(letters_.size()) - 1);
}

void BoardLayer::moveLetter(int i, PointF topLeft) {
    damageLetter(i);
    letters_[i].topLeft = topLeft;
    damageLetter(i);
}

void BoardLayer::setLetterSize(int i, Size size) {
    damageLetter(i);
    letters_[i].size = size;
    damageLetter(i);
}

} // namespace orvanel
