// SPDX-License-Identifier: MIT
#include "window/state_format.h"

#include "figure/angles.h"
#include "tools/memo_pen.h"
#include "tools/straight_lines.h"

namespace orvanel {

namespace {

using namespace controls;

// A control's four changeable flags in one byte.
enum : std::uint8_t { kBold = 1, kChecked = 2, kEnabled = 4, kVisible = 8 };

// The widest pen the board can have: the bold eraser's 25 and room to
// spare, far below what would make a stroke cost seconds.
constexpr int kWidestPen = 64;

void writeColor(ByteWriter& out, Rgb c) {
    out.byte(std::uint8_t(redOf(c)));
    out.byte(std::uint8_t(greenOf(c)));
    out.byte(std::uint8_t(blueOf(c)));
}

Rgb readColor(ByteReader& in) {
    const int r = in.byte();
    const int g = in.byte();
    const int b = in.byte();
    return rgb(r, g, b);
}

void writePoint(ByteWriter& out, PointF p) {
    out.real(p.x);
    out.real(p.y);
}

PointF readPoint(ByteReader& in) {
    const double x = in.real(kCoordinateLimit);
    const double y = in.real(kCoordinateLimit);
    return {x, y};
}

// A value the handlers keep in single precision: written exactly as a
// double, read back to the float it was.
float readSingle(ByteReader& in, double limit) {
    return float(in.real(limit));
}

int readFlag(ByteReader& in) {
    return int(in.varint(0, 1));
}

// The rows whose lines a session moves and colours; the grid's lines only
// show and hide, all together. No line changes its width.
constexpr LineRow kMovedRows[] = {LineRow::Line1, LineRow::Line4};

void writeLine(ByteWriter& out, const LineObject& l) {
    writePoint(out, l.p1);
    writePoint(out, l.p2);
    writeColor(out, l.color);
    out.byte(l.visible ? 1 : 0);
}

LineObject readLine(ByteReader& in) {
    LineObject l;
    l.p1 = readPoint(in);
    l.p2 = readPoint(in);
    l.color = readColor(in);
    l.visible = readFlag(in) == 1;
    return l;
}

// Whether the variables describe a window the handlers could have left
// between two actions: one tool at most, a line tool with a line to place,
// no gesture under way.
bool restful(const WindowState& v) {
    return !(v.memoOn == 1 && v.lineMode == 1) && !(v.lineMode == 1 && v.nextLineNumber == 0) &&
           v.dragVertex == kNoVertex && v.penDown == 0 && v.lineDrawing == 0;
}

} // namespace

void writeState(const Form1::Snapshot& s, ByteWriter& out) {
    out.varint(kControlCount);
    for (const ControlState& c : s.controls) {
        out.byte(std::uint8_t((c.bold ? kBold : 0) | (c.checked ? kChecked : 0) |
                              (c.enabled ? kEnabled : 0) | (c.visible ? kVisible : 0)));
    }
    const WindowState& v = s.v;
    const FigureState& f = v.figure;
    for (const double coordinate : {f.xA, f.yA, f.xB, f.yB, f.xC, f.yC, f.xD, double(f.yD)}) {
        out.real(coordinate);
    }
    const Directions& d = v.dirs;
    for (const double direction :
         {d.dirAB, d.dirAD, d.dirBA, d.dirCDFromLeft, d.dirDA, double(d.dirDC)}) {
        out.real(direction);
    }
    for (const int value :
         {v.anglesShown, int(v.dragVertex), v.memoOn, v.penDown, v.penColorIndex, v.lineMode,
          v.lineDrawing, v.nextLineNumber, v.lineColorIndex, v.gridShown, s.lineWidth}) {
        out.varint(std::uint64_t(value));
    }
    out.real(v.lastX);
    out.real(v.lastY);
    for (int i = 0; i < kVertexCount; ++i) {
        out.real(s.captionValues[i]);
        out.varint(s.shownAngles[i] ? std::uint64_t(*s.shownAngles[i]) + 1 : 0);
    }
    writePoint(out, s.dragAnchor.vertex);
    out.real(s.dragAnchor.pointerX);
    out.real(s.dragAnchor.pointerY);

    const BoardLayer& layer = s.layer;
    for (const LineRow row : kMovedRows) {
        out.varint(layer.row(row).size());
        for (const LineObject& l : layer.row(row)) {
            writeLine(out, l);
        }
    }
    out.byte(layer.row(LineRow::Line2).front().visible ? 1 : 0);
    out.varint(layer.letters().size());
    for (const LetterObject& l : layer.letters()) {
        writePoint(out, l.topLeft);
    }
    const CursorCircle& c = layer.cursorCircle();
    for (const double value : {c.left, c.top, c.width, c.height}) {
        out.real(value);
    }
    out.byte(c.visible ? 1 : 0);
}

bool readState(ByteReader& in, Form1::Snapshot& into) {
    Form1::Snapshot s = into;
    in.varint(kControlCount, kControlCount);
    for (ControlState& c : s.controls) {
        const std::uint8_t flags = in.byte();
        if (flags > (kBold | kChecked | kEnabled | kVisible)) {
            in.fail();
        }
        c.bold = flags & kBold;
        c.checked = flags & kChecked;
        c.enabled = flags & kEnabled;
        c.visible = flags & kVisible;
    }
    WindowState& v = s.v;
    FigureState& f = v.figure;
    for (double* coordinate : {&f.xA, &f.yA, &f.xB, &f.yB, &f.xC, &f.yC, &f.xD}) {
        *coordinate = in.real(kCoordinateLimit);
    }
    f.yD = readSingle(in, kCoordinateLimit);
    Directions& d = v.dirs;
    for (double* direction : {&d.dirAB, &d.dirAD, &d.dirBA, &d.dirCDFromLeft, &d.dirDA}) {
        *direction = in.real(360);
    }
    d.dirDC = readSingle(in, 360);
    v.anglesShown = readFlag(in);
    v.dragVertex = HeldVertex(in.varint(0, int(kVertexD)));
    v.memoOn = readFlag(in);
    v.penDown = readFlag(in);
    v.penColorIndex = int(in.varint(0, 15));
    v.lineMode = readFlag(in);
    v.lineDrawing = readFlag(in);
    v.nextLineNumber = int(in.varint(0, kLineCount));
    v.lineColorIndex = int(in.varint(0, 15));
    v.gridShown = readFlag(in);
    s.lineWidth = int(in.varint(1, kWidestPen));
    v.lastX = readSingle(in, kCoordinateLimit);
    v.lastY = readSingle(in, kCoordinateLimit);
    for (int i = 0; i < kVertexCount; ++i) {
        s.captionValues[i] = in.real(kCoordinateLimit);
        const std::uint64_t shown = in.varint(0, 361);
        s.shownAngles[i] = shown == 0 ? std::nullopt : std::optional<int>(int(shown) - 1);
        // The caption shows the value measured last, or the design's until
        // one was.
        s.controls[indexOf(Label5[i])].caption = shown == 0
                                                     ? std::string(Form1::design(Label5[i]).caption)
                                                     : angleCaption(int(shown) - 1);
    }
    s.dragAnchor.vertex = readPoint(in);
    s.dragAnchor.pointerX = readSingle(in, kCoordinateLimit);
    s.dragAnchor.pointerY = readSingle(in, kCoordinateLimit);

    BoardLayer& layer = s.layer;
    for (const LineRow row : kMovedRows) {
        const std::size_t count = layer.row(row).size();
        in.varint(count, count);
        for (std::size_t i = 0; i < count && in.ok(); ++i) {
            const LineObject l = readLine(in);
            layer.setEnds(row, int(i), l.p1, l.p2);
            layer.setColor(row, int(i), l.color);
            layer.setVisible(row, int(i), l.visible);
        }
    }
    const bool gridShown = readFlag(in) == 1;
    for (const LineRow row : {LineRow::Line2, LineRow::Line3}) {
        for (int i = 0; i < int(layer.row(row).size()); ++i) {
            layer.setVisible(row, i, gridShown);
        }
    }
    const std::size_t letters = layer.letters().size();
    in.varint(letters, letters);
    for (std::size_t i = 0; i < letters && in.ok(); ++i) {
        layer.moveLetter(int(i), readPoint(in));
    }
    double box[4];
    for (double& value : box) {
        value = in.real(kCoordinateLimit);
    }
    layer.setCursorCircleBox(box[0], box[1], box[2], box[3]);
    layer.setCursorCircleVisible(readFlag(in) == 1);
    if (!in.ok() || box[2] < 0 || box[3] < 0 || !restful(v)) {
        in.fail();
        return false;
    }
    into = std::move(s);
    return true;
}

} // namespace orvanel
