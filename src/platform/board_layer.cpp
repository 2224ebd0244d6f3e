#include "platform/board_layer.h"

#include "platform/pixel_math.h"

#include <algorithm>
#include <cmath>

namespace orvanel {

QRectF LineObject::bounds() const {
    const double pad = width / 2.0 + 2;
    return QRectF(p1, p2).normalized().adjusted(-pad, -pad, pad, pad);
}

QRectF CircleShape::bounds() const {
    return QRectF(left, top, width, height).adjusted(-2, -2, 2, 2);
}

void BoardLayer::damage(const QRectF& rect) {
    // Only what can be on the screen matters; clamping keeps far-away objects
    // from overflowing the integer rectangle.
    const QRectF visible = rect.intersected(QRectF(-64, -64, 4096, 4096));
    if (visible.isEmpty()) {
        return;
    }
    QRect r = visible.toAlignedRect();
    for (int i = 0; i < damageCount_; ++i) {
        if (damage_[i].intersects(r)) {
            r |= damage_[i];
            damage_[i] = damage_[--damageCount_];
            i = -1; // the grown rectangle may now meet others
        }
    }
    if (damageCount_ == int(damage_.size())) {
        r |= damage_[--damageCount_];
    }
    damage_[damageCount_++] = r;
}

void BoardLayer::damage(const LineObject& line) {
    if (!line.visible) {
        return;
    }
    // A long slanted line is damaged piece by piece: the boxes of its pieces
    // cover far less of the board than the box of the whole line.
    const auto clipped = clipSegment(line.p1, line.p2, QRectF(-64, -64, 4096, 4096));
    if (!clipped) {
        return;
    }
    const auto [a, b] = *clipped;
    const double span = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
    const int pieces = std::clamp(int(span / 64) + 1, 1, 8);
    const double pad = line.width / 2.0 + 2;
    for (int i = 0; i < pieces; ++i) {
        const QPointF from = a + (b - a) * (double(i) / pieces);
        const QPointF to = a + (b - a) * (double(i + 1) / pieces);
        damage(QRectF(from, to).normalized().adjusted(-pad, -pad, pad, pad));
    }
}

void BoardLayer::setEnds(LineObject& line, QPointF p1, QPointF p2) {
    damage(line);
    line.p1 = p1;
    line.p2 = p2;
    damage(line);
}

void BoardLayer::setFirstEnd(LineObject& line, QPointF p) {
    setEnds(line, p, line.p2);
}

void BoardLayer::setSecondEnd(LineObject& line, QPointF p) {
    setEnds(line, line.p1, p);
}

void BoardLayer::setX(LineObject& line, double x1, double x2) {
    setEnds(line, QPointF(x1, line.p1.y()), QPointF(x2, line.p2.y()));
}

void BoardLayer::setColor(LineObject& line, QRgb color) {
    line.color = color;
    damage(line);
}

void BoardLayer::setVisible(LineObject& line, bool visible) {
    if (line.visible == visible) {
        return;
    }
    damage(line.bounds());
    line.visible = visible;
}

void BoardLayer::setShapeBox(double left, double top, double width, double height) {
    if (shape1.visible) {
        damage(shape1.bounds());
    }
    shape1.left = left;
    shape1.top = top;
    shape1.width = width;
    shape1.height = height;
    if (shape1.visible) {
        damage(shape1.bounds());
    }
}

void BoardLayer::setShapeVisible(bool visible) {
    if (shape1.visible != visible) {
        shape1.visible = visible;
        damage(shape1.bounds());
    }
}

void BoardLayer::moveLetter(int index, QPointF topLeft) {
    damage(label2[index].bounds().adjusted(-1, -1, 1, 1));
    label2[index].topLeft = topLeft;
    damage(label2[index].bounds().adjusted(-1, -1, 1, 1));
}

} // namespace orvanel
