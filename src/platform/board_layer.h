// The light objects lying on the board: lines, the cursor circle and the
// vertex letters. They are plain data painted above the drawing surface, never
// into it, so clearing the surface leaves them alone. Every change through the
// setters records the screen area that needs repainting.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>

#include <array>
#include <vector>

namespace orvanel {

struct LineObject {
    QPointF p1;
    QPointF p2;
    QRgb color = qRgb(0, 0, 0);
    int width = 1;
    bool visible = true;

    // The screen area the line covers when drawn, with room for its caps.
    QRectF bounds() const;
};

// A circle drawn in the box (left, top, width, height): the largest circle that
// fits the box, centred in it; outline only.
struct CircleShape {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    QRgb color = qRgb(0, 0, 0);
    bool visible = true;

    QPointF centre() const { return {left + width / 2, top + height / 2}; }
    double diameter() const { return width < height ? width : height; }
    QRectF bounds() const;
};

// A vertex letter: its real left/top edges in board pixels, its caption and
// the size of its box, which fits the caption.
struct LetterObject {
    QPointF topLeft;
    QString caption;
    QSizeF size;

    QRectF bounds() const { return QRectF(topLeft, size); }
};

// The vertex letters A, B, C and D.
inline constexpr int kLetterCount = 4;

class BoardLayer {
public:
    std::array<LineObject, 4> line1; // the figure's sides
    std::vector<LineObject> line2;   // horizontal grid lines
    std::vector<LineObject> line3;   // vertical grid lines
    std::array<LineObject, 5> line4; // the straight lines of the line tool
    std::array<LetterObject, kLetterCount> label2;
    CircleShape shape1;

    // Setters that keep track of what must be repainted.
    void setEnds(LineObject& line, QPointF p1, QPointF p2);
    void setFirstEnd(LineObject& line, QPointF p);
    void setSecondEnd(LineObject& line, QPointF p);
    void setX(LineObject& line, double x1, double x2);
    void setColor(LineObject& line, QRgb color);
    void setVisible(LineObject& line, bool visible);
    void setShapeBox(double left, double top, double width, double height);
    void setShapeVisible(bool visible);
    void moveLetter(int index, QPointF topLeft);

    // Calls visit(QRect) for each rectangle that needs repainting since the
    // last call, then forgets them.
    template <typename Visit> void takeDamage(Visit visit) {
        for (int i = 0; i < damageCount_; ++i) {
            visit(damage_[i]);
        }
        damageCount_ = 0;
    }
    void damageAll() { damage(QRectF(-64, -64, 4096, 4096)); }

private:
    void damage(const QRectF& rect);
    void damage(const LineObject& line);

    // A few rectangles, merged when they overlap or run out: no allocation.
    std::array<QRect, 64> damage_{};
    int damageCount_ = 0;
};

} // namespace orvanel
