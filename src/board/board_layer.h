// SPDX-License-Identifier: MIT
// The light objects lying on the board: lines, the cursor circle and the
// vertex letters. They are plain data shown above the drawing surface, never
// painted into it, so clearing the surface leaves them alone. They can be
// changed only through the writers below, each of which records the board
// area that needs repainting.
#pragma once

#include "board/damage_list.h"
#include "raster/color.h"
#include "raster/geometry.h"
#include "raster/pixel_math.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace orvanel {

struct LineObject {
    PointF p1;
    PointF p2;
    Rgb color = kWindowText;
    int width = 1;
    bool visible = true;

    // The board area the line covers when drawn, with room for its caps.
    RectF bounds() const;

    friend bool operator==(const LineObject&, const LineObject&) = default;
};

// The eraser's cursor circle (the design's Shape1), drawn in the box (left,
// top, width, height): the largest circle that fits the box, centred in it;
// outline only.
struct CursorCircle {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    Rgb color = kWindowText;
    bool visible = true;

    PointF centre() const { return {left + width / 2, top + height / 2}; }
    double diameter() const { return width < height ? width : height; }
    RectF bounds() const { return RectF{left, top, width, height}.adjusted(-2, -2, 2, 2); }

    friend bool operator==(const CursorCircle&, const CursorCircle&) = default;
};

// A vertex letter: its real left/top edges in board pixels, its caption and
// the size of its box, which fits the caption.
struct LetterObject {
    PointF topLeft;
    std::string caption; // UTF-8
    Size size;

    // Where the letter is shown: its top-left corner on a whole pixel.
    Rect box() const { return {toPixel(topLeft.x), toPixel(topLeft.y), size.width, size.height}; }

    friend bool operator==(const LetterObject&, const LetterObject&) = default;
};

// The rows of line objects, by their names in the design.
enum class LineRow {
    Line1, // the figure's four sides
    Line2, // horizontal grid lines
    Line3, // vertical grid lines
    Line4, // the straight lines of the line tool
};

class BoardLayer {
public:
    // Lines are shown in this order, each row above the ones before it: the
    // grid lowest, the figure's sides above it, the straight lines on top.
    static constexpr auto kPaintOrder =
        std::to_array({LineRow::Line2, LineRow::Line3, LineRow::Line1, LineRow::Line4});

    std::span<const LineObject> row(LineRow r) const { return rows_[index(r)]; }
    const LineObject& line(LineRow r, int i) const { return rows_[index(r)][i]; }
    std::span<const LetterObject> letters() const { return letters_; }
    const LetterObject& letter(int i) const { return letters_[i]; }
    const CursorCircle& cursorCircle() const { return cursorCircle_; }

    // Calls visit(const LineObject&) for every line, in the order shown.
    template <typename Visit> void forEachLineInPaintOrder(Visit visit) const {
        for (const LineRow r : kPaintOrder) {
            for (const LineObject& line : rows_[index(r)]) {
                visit(line);
            }
        }
    }

    // A new last member of a row.
    void addLine(LineRow r, LineObject line);
    void setEnds(LineRow r, int i, PointF p1, PointF p2);
    void setFirstEnd(LineRow r, int i, PointF p);
    void setSecondEnd(LineRow r, int i, PointF p);
    void setX(LineRow r, int i, double x1, double x2);
    void setColor(LineRow r, int i, Rgb color);
    void setVisible(LineRow r, int i, bool visible);

    void setCursorCircle(const CursorCircle& circle);
    void setCursorCircleBox(double left, double top, double width, double height);
    void setCursorCircleVisible(bool visible);

    void addLetter(LetterObject letter);
    void moveLetter(int i, PointF topLeft);
    void setLetterSize(int i, Size size);

    // Whether both hold the same lines and letters, and show or hide the
    // cursor circle alike (where it lies does not count).
    bool sameObjects(const BoardLayer& other) const {
        return rows_ == other.rows_ && letters_ == other.letters_ &&
               cursorCircle_.visible == other.cursorCircle_.visible;
    }

    // Whether both hold the very same objects (what awaits repainting aside).
    friend bool operator==(const BoardLayer& a, const BoardLayer& b) {
        return a.rows_ == b.rows_ && a.letters_ == b.letters_ && a.cursorCircle_ == b.cursorCircle_;
    }

    // Calls visit(Rect) for each rectangle that needs repainting since the
    // last call, then forgets them.
    template <typename Visit> void takeDamage(Visit visit) { damage_.take(visit); }

private:
    static constexpr std::size_t index(LineRow r) { return std::size_t(r); }
    LineObject& edit(LineRow r, int i) { return rows_[index(r)][i]; }
    void damage(const RectF& rect);
    void damage(const LineObject& line);
    void damageLetter(int i);

    std::array<std::vector<LineObject>, kPaintOrder.size()> rows_;
    std::vector<LetterObject> letters_;
    CursorCircle cursorCircle_;
    DamageList<64> damage_;
};

} // namespace orvanel
