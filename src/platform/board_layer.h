// The light objects lying on the board: lines, the cursor circle and the
// vertex letters. They are plain data painted above the drawing surface, never
// into it, so clearing the surface leaves them alone. Every change through the
// setters records the screen area that needs repainting.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QRgb>
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

// A vertex letter: its real left/top edges in board pixels and its caption.
struct LetterObject {
    QPointF topLeft;
    QString caption;
};

class BoardLayer {
public:
    std::array<LineObject, 4> line1; // the figure's sides
    std::vector<LineObject> line2;   // horizontal grid lines
    std::vector<LineObject> line3;   // vertical grid lines
    std::array<LineObject, 5> line4; // the straight lines of the line tool
    std::array<LetterObject, 4> label2;
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

    // Letters moved since the last call, as a bit mask by index.
    unsigned takeMovedLetters();
    QRegion takeDamage();
    void damageAll() { damage_ += QRect(-100000, -100000, 200000, 200000); }

private:
    void damage(const QRectF& rect);
    void damage(const LineObject& line);

    QRegion damage_;
    unsigned movedLetters_ = 0;
};

} // namespace orvanel
