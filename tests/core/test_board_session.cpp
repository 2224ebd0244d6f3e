// SPDX-License-Identifier: MIT
// Scripted sessions on the window model: pointer events on the board and
// clicks on the controls, one tool at a time, checking what the user would
// see.
#include "ascii_image.h"
#include "core_fixture.h"

#include "figure/angles.h"
#include "tools/straight_lines.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;
using namespace orvanel::controls;

namespace {

PointF vertexA(const Form1& w) {
    return w.state().figure.a();
}
PointF vertexD(const Form1& w) {
    return w.state().figure.d();
}
const LineObject& side(const Form1& w, int i) {
    return w.layer().line(LineRow::Line1, i);
}
const LineObject& straightLine(const Form1& w, int i) {
    return w.layer().line(LineRow::Line4, i);
}
bool checked(const Form1& w, ControlId id) {
    return w.control(id).checked;
}
bool bold(const Form1& w, ControlId id) {
    return w.control(id).bold;
}
// The board as the screen shows it, letters aside.
PixelBuffer shown(const Form1& w) {
    PixelBuffer out(kBoardSize, 0);
    w.composeBoard(out.view(), out.rect());
    return out;
}

} // namespace

// Figure tool.

TEST(FigureTool, PressWithin50PixelsOfATakesIt) {
    struct Row {
        const char* name;
        PointF offset; // press position relative to A
        bool takesA;
    };
    const Row rows[] = {
        {"50 right, 50 below: inside", {50, 50}, true},
        {"50 left, 50 above: inside", {-50, -50}, true},
        {"51 right: outside", {51, 0}, false},
        {"51 below: outside", {0, 51}, false},
        {"50.5 above: outside", {0, -50.5}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Window w;
        Pointer pointer(w);
        const PointF press = vertexA(w) + row.offset;
        pointer.press(press);
        EXPECT_EQ(w.state().dragVertex, row.takesA ? kVertexA : kNoVertex);
        pointer.move(press + PointF{5, 5});
        EXPECT_EQ(vertexA(w), (row.takesA ? PointF{605, 155} : PointF{600, 150}));
        EXPECT_EQ(vertexD(w), (PointF{550, 350}));
    }
}

TEST(FigureTool, DWinsOverA) {
    Window w;
    Pointer pointer(w);
    pointer.drag({550, 350}, {570, 180}); // D next to A
    pointer.press({585, 165});            // within 50 of both
    EXPECT_EQ(w.state().dragVertex, kVertexD);
    pointer.move({585, 175});
    EXPECT_EQ(vertexD(w), (PointF{570, 190}));
    EXPECT_EQ(vertexA(w), (PointF{600, 150}));
    // Presses next to B or C take nothing: B and C never move.
    pointer.release({585, 175});
    for (const PointF p : {PointF{100, 500}, PointF{650, 500}}) {
        pointer.press(p);
        EXPECT_EQ(w.state().dragVertex, kNoVertex);
        pointer.move(p + PointF{10, 10});
        pointer.release(p + PointF{10, 10});
    }
    EXPECT_EQ(w.state().figure.b(), (PointF{100, 500}));
    EXPECT_EQ(w.state().figure.c(), (PointF{650, 500}));
}

TEST(FigureTool, DragIsRelativeAndFollowedBySidesAndLetter) {
    Window w;
    Pointer pointer(w);
    pointer.press({590, 150}); // 10 left of A
    pointer.move({620, 130});  // +30, -20
    EXPECT_EQ(vertexA(w), (PointF{630, 130}));
    EXPECT_EQ(side(w, 0).p1, (PointF{630, 130}));
    EXPECT_EQ(side(w, 3).p2, (PointF{630, 130}));
    EXPECT_EQ(side(w, 0).p2, (PointF{100, 500})); // the other ends stay
    EXPECT_EQ(side(w, 3).p1, (PointF{550, 350}));
    EXPECT_EQ(w.layer().letter(0).topLeft, (PointF{620, 75}));
    // The read-out follows, measured again at the move.
    EXPECT_EQ(w.control(Label5[0]).caption, " 35");
    pointer.release({620, 130});
    pointer.press({550, 340});
    pointer.move({560, 330});
    EXPECT_EQ(vertexD(w), (PointF{560, 340}));
    EXPECT_EQ(side(w, 3).p1, (PointF{560, 340}));
    EXPECT_EQ(side(w, 2).p2, (PointF{560, 340}));
    EXPECT_EQ(w.layer().letter(3).topLeft, (PointF{510, 320}));
}

TEST(FigureTool, DragKeepsRealPositions) {
    Window w;
    Pointer pointer(w);
    pointer.press({590.25, 150.5});
    pointer.move({600.75, 140.125});
    EXPECT_EQ(vertexA(w), (PointF{610.5, 139.625}));
    EXPECT_EQ(w.state().lastX, 600.75f);
    EXPECT_EQ(w.state().lastY, 140.125f);
}

TEST(FigureTool, AnyReleaseEndsTheDrag) {
    Window w;
    Pointer pointer(w);
    pointer.press({600, 150});
    pointer.press({600, 150}, kRightButton);
    pointer.move({610, 160}); // the right press left the drag in progress
    EXPECT_EQ(vertexA(w), (PointF{610, 160}));
    pointer.release({610, 160}, kRightButton);
    EXPECT_EQ(w.state().dragVertex, kNoVertex);
    pointer.move({650, 200}); // left still held, but nothing is dragged
    EXPECT_EQ(vertexA(w), (PointF{610, 160}));
    pointer.release({650, 200});
}

TEST(FigureTool, RightPressWipesAndRedrawsTheMarks) {
    Window w;
    w.click(Command3);
    Pointer pointer(w);
    pointer.drag({100, 100}, {300, 100});
    EXPECT_GT(countColor(w.surface(), kRed), 500);
    const PixelBuffer marksOnly = Window().surface().pixels();
    pointer.press({400, 400}, kRightButton);
    EXPECT_TRUE(w.surface().pixels() == marksOnly);
    pointer.release({400, 400}, kRightButton);
}

TEST(FigureTool, NonClearKeepsTraces) {
    Window w;
    Pointer pointer(w);
    w.click(Check3);
    pointer.press({600, 150});
    for (int i = 1; i <= 10; ++i) {
        pointer.move({600.0 - 20 * i, 150});
    }
    pointer.release({400, 150});
    // Ten positions of A, 20 pixels apart: the marks of earlier positions stay.
    const int withTraces = countColor(w.surface(), kYellow);
    w.click(Check3);
    pointer.press({400, 150});
    pointer.move({400, 150.5});
    pointer.release({400, 150.5});
    const int latestOnly = countColor(w.surface(), kYellow);
    EXPECT_GT(withTraces, latestOnly + 1000);
    // Unticked, the board holds exactly the latest drawing.
    Window reference;
    Pointer(reference).drag({600, 150}, {400, 150.5});
    EXPECT_TRUE(w.surface().pixels() == reference.surface().pixels());
}

TEST(FigureTool, MiddlePressAndHoverChangeOnlyThePointer) {
    Window w;
    const PixelBuffer before = w.surface().pixels();
    Pointer pointer(w);
    pointer.press({600, 150}, kMiddleButton);
    EXPECT_EQ(w.state().dragVertex, kNoVertex);
    EXPECT_EQ(w.state().lastX, 600.0f);
    pointer.move({620, 170});
    pointer.release({620, 170}, kMiddleButton);
    pointer.move({300.5, 200.5});
    EXPECT_EQ(vertexA(w), (PointF{600, 150}));
    EXPECT_EQ(w.state().lastX, 300.5f);
    EXPECT_EQ(w.state().lastY, 200.5f);
    EXPECT_EQ(w.layer().cursorCircle().centre(), (PointF{300.5, 200.5}));
    EXPECT_TRUE(w.surface().pixels() == before);
}

TEST(FigureTool, DragPastTheEdgeIsNotClamped) {
    Window w;
    Pointer pointer(w);
    pointer.press({550, 350});
    pointer.move({-250, 900});
    EXPECT_EQ(vertexD(w), (PointF{-250, 900}));
    EXPECT_EQ(w.layer().letter(3).topLeft, (PointF{-300, 880}));
    pointer.move({550, 350});
    pointer.release({550, 350});
    EXPECT_EQ(vertexD(w), (PointF{550, 350}));
    EXPECT_EQ(w.control(Label5[3]).caption, " 132");
}

TEST(FigureTool, PressOnALetterIsTheLetters) {
    Window w;
    Pointer pointer(w);
    // The letter of A at (590, 95) lies within 50 of A on both axes, but a
    // press on it is the letter's, and so are its moves and its release.
    const PointF onLetter{595, 105};
    ASSERT_EQ(w.letterAt(onLetter), 0);
    pointer.press(onLetter);
    EXPECT_EQ(w.state().dragVertex, kNoVertex);
    EXPECT_EQ(w.state().lastX, 0.0f);
    pointer.move({620, 130});
    EXPECT_EQ(vertexA(w), (PointF{600, 150}));
    pointer.release({620, 130});
    // A hover move over the letter reaches the board: the circle follows.
    pointer.move(onLetter);
    EXPECT_EQ(w.layer().cursorCircle().centre(), onLetter);
    EXPECT_EQ(w.state().lastX, 595.0f);
    // A press beside the letter takes A as before.
    pointer.press({600, 140});
    EXPECT_EQ(w.state().dragVertex, kVertexA);
    pointer.release({600, 140});
}

TEST(FigureTool, CancelGivesALetterPressBack) {
    Window w;
    Pointer pointer(w);
    pointer.press({595, 105}); // on the letter of A
    w.boardCancel();
    Pointer next(w);
    next.press({600, 140});
    EXPECT_EQ(w.state().dragVertex, kVertexA);
}

TEST(FigureTool, EveryMoveIsADragStep) {
    Window w;
    Pointer pointer(w);
    pointer.press({550, 350});
    // 1,000 moves of one pixel around a 50-pixel square, five times: D is
    // where each move puts it, its read-out measured there.
    const PointF steps[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    PointF p{550, 350};
    int followed = 0;
    for (int i = 0; i < 1000; ++i) {
        p = p + steps[(i / 50) % 4];
        pointer.move(p);
        followed += vertexD(w) == p ? 1 : 0;
    }
    pointer.release(p);
    EXPECT_EQ(followed, 1000);
    EXPECT_EQ(vertexD(w), (PointF{550, 350}));
}

struct FarAway {
    std::string name;
    PointF vertex;
    PointF far;
};

class FarAwayAndBack : public testing::TestWithParam<FarAway> {};

TEST_P(FarAwayAndBack, ReturnsExactly) {
    const FarAway& row = GetParam();
    Window w;
    const PixelBuffer start = w.surface().pixels();
    Pointer pointer(w);
    pointer.press(row.vertex);
    EXPECT_NE(w.state().dragVertex, kNoVertex);
    pointer.move(row.far);
    const PointF held = row.vertex == PointF{600, 150} ? vertexA(w) : vertexD(w);
    EXPECT_DOUBLE_EQ(held.x, double(float(row.far.x)) - double(float(row.vertex.x)) + row.vertex.x);
    for (const ControlId value : Label5) { // the read-out stays whole degrees from 0 to 360
        const double shownValue = captionValue(w.control(value).caption);
        EXPECT_GE(shownValue, 0);
        EXPECT_LE(shownValue, 360);
    }
    (void)shown(w); // composing the board with a vertex that far away is safe
    pointer.move(row.vertex);
    pointer.release(row.vertex);
    EXPECT_EQ(vertexA(w), (PointF{600, 150}));
    EXPECT_EQ(vertexD(w), (PointF{550, 350}));
    EXPECT_EQ(w.layer().letter(3).topLeft, (PointF{500, 330}));
    EXPECT_EQ(w.control(Label5[3]).caption, " 132");
    EXPECT_TRUE(w.surface().pixels() == start);
}

std::vector<FarAway> farAwayRows() {
    std::vector<FarAway> rows;
    const std::pair<double, std::string> distances[] = {{1e4, "1e4"}, {1e7, "1e7"}, {1e30, "1e30"}};
    for (const auto& [d, name] : distances) {
        rows.push_back({"A_to_plus_minus_" + name, {600, 150}, {d, -d}});
        rows.push_back({"D_to_minus_plus_" + name, {550, 350}, {-d, d}});
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(FigureTool, FarAwayAndBack, testing::ValuesIn(farAwayRows()),
                         [](const auto& info) { return info.param.name; });

TEST(FigureTool, SwitchingToolsMidGestureEndsTheGesture) {
    // From the keyboard a tool can be switched while a button is held on the
    // board; the held vertex, pen or unfinished line goes with the old tool.
    {
        SCOPED_TRACE("memo on during a drag");
        Window w;
        Pointer pointer(w);
        pointer.press({600, 150});
        w.click(Command3); // memo on: the drag ends
        EXPECT_EQ(w.state().dragVertex, kNoVertex);
        pointer.release({600, 150});
        w.click(Command3); // memo off again
        pointer.move({650, 200});
        EXPECT_EQ(vertexA(w), (PointF{600, 150}));
    }
    {
        SCOPED_TRACE("memo off during a stroke");
        Window w;
        w.click(Command3);
        Pointer pointer(w);
        pointer.press({100, 100});
        w.click(Command3); // memo off mid-stroke
        EXPECT_EQ(w.state().penDown, 0);
        w.click(Command3); // on again: no stroke without a new press
        pointer.move({200, 100});
        EXPECT_EQ(w.surface().pixel(150, 100), kGreen);
        pointer.release({200, 100});
    }
    {
        SCOPED_TRACE("reset while a line is stretched");
        Window w;
        w.click(Command5);
        Pointer pointer(w);
        pointer.press({100, 100});
        pointer.move({200, 200});
        w.click(Command1); // reset mid-line: the line was never placed
        EXPECT_EQ(w.state().lineDrawing, 0);
        EXPECT_EQ(straightLine(w, 0).p2.x, kParkedX);
        pointer.release({200, 200});
        w.click(Command5);
        pointer.move({300, 300});
        EXPECT_EQ(straightLine(w, 0).p2.x, kParkedX);
        EXPECT_FALSE(checked(w, Check1[0]));
    }
}

// Memo pen.

TEST(MemoPen, MemoOnSelectsTheThinRedPen) {
    Window w;
    w.click(Command3);
    w.click(Option1[7]);
    w.click(Command3); // off
    EXPECT_FALSE(w.layer().cursorCircle().visible);
    w.click(Command3); // on again: always the thin red pen
    EXPECT_TRUE(w.control(Option1[0]).checked);
    EXPECT_EQ(w.state().memoOn, 1);
    EXPECT_EQ(w.state().penColorIndex, kPaletteRed);
    EXPECT_EQ(w.surface().lineWidth(), 3);
    EXPECT_FALSE(w.layer().cursorCircle().visible);
    for (const ControlId pen : Option1) {
        EXPECT_TRUE(w.control(pen).enabled);
    }
    for (const ControlId colour : Option2) {
        EXPECT_FALSE(w.control(colour).enabled);
        EXPECT_FALSE(checked(w, colour));
    }
    EXPECT_TRUE(bold(w, Command3));
    EXPECT_FALSE(bold(w, Command5));
}

struct PenRow {
    std::string name;
    int index;
    int colorIndex;
    int width;
    bool circle;
};

class Pens : public testing::TestWithParam<PenRow> {};

TEST_P(Pens, ColourWidthAndCircle) {
    const PenRow& row = GetParam();
    Window w;
    w.click(Command3);
    w.click(Option1[7]); // start from the circle shown
    w.click(Option1[row.index]);
    EXPECT_EQ(w.state().penColorIndex, row.colorIndex);
    EXPECT_EQ(w.surface().lineWidth(), row.width);
    EXPECT_EQ(w.layer().cursorCircle().visible, row.circle);
    // The circle's box: as wide as the eraser, centred on the pointer.
    Pointer(w).move({200.5, 300.5});
    if (row.circle) {
        EXPECT_EQ(w.layer().cursorCircle().width, double(row.width));
        EXPECT_EQ(w.layer().cursorCircle().diameter(), double(row.width));
        EXPECT_EQ(w.layer().cursorCircle().centre(), (PointF{200.5, 300.5}));
    }
    // A stroke has the pen's colour; DrawFigure never changes the pen.
    Pointer pointer(w);
    pointer.drag({100, 300}, {300, 300});
    EXPECT_EQ(w.surface().pixel(200, 300), paletteColor(row.colorIndex));
    pointer.press({10, 10}, kRightButton);
    pointer.release({10, 10}, kRightButton);
    EXPECT_EQ(w.surface().lineWidth(), row.width);
}

INSTANTIATE_TEST_SUITE_P(
    MemoPen, Pens,
    testing::Values(PenRow{"thin_red", 0, 12, 3, false}, PenRow{"thin_yellow", 1, 14, 3, false},
                    PenRow{"thin_blue", 2, 9, 3, false}, PenRow{"thin_eraser", 3, 2, 15, true},
                    PenRow{"bold_red", 4, 12, 6, false}, PenRow{"bold_yellow", 5, 14, 6, false},
                    PenRow{"bold_blue", 6, 9, 6, false}, PenRow{"bold_eraser", 7, 2, 25, true}),
    [](const auto& info) { return info.param.name; });

TEST(MemoPen, StrokeColourAndWidth) {
    Window w;
    w.click(Command3);
    Pointer pointer(w);
    pointer.press({100, 100});
    pointer.move({150, 100});
    pointer.move({200, 130});
    pointer.release({200, 130});
    for (int dy = -1; dy <= 1; ++dy) {
        EXPECT_EQ(w.surface().pixel(125, 100 + dy), kRed);
    }
    EXPECT_EQ(w.surface().pixel(125, 98), kGreen);
    EXPECT_EQ(w.surface().pixel(125, 102), kGreen);
    EXPECT_EQ(w.surface().pixel(175, 115), kRed); // second segment
    w.click(Option1[6]);                          // bold blue
    pointer.drag({100, 200}, {200, 200});
    for (int dy = -3; dy <= 3; ++dy) {
        EXPECT_EQ(w.surface().pixel(150, 200 + dy), kBlue);
    }
    EXPECT_EQ(w.surface().pixel(150, 204), kGreen);
}

TEST(MemoPen, ClickWithoutMoveDrawsNothing) {
    Window w;
    w.click(Command3);
    const PixelBuffer before = w.surface().pixels();
    Pointer pointer(w);
    pointer.press({300, 300});
    pointer.release({300, 300});
    EXPECT_TRUE(w.surface().pixels() == before);
}

TEST(MemoPen, EraserRestoresTheBoardButNotTheSides) {
    Window w;
    w.click(Command3);
    Pointer pointer(w);
    pointer.drag({300, 250}, {400, 250});
    EXPECT_EQ(w.surface().pixel(350, 250), kRed);
    w.click(Option1[7]);
    pointer.drag({300, 250}, {400, 250});
    EXPECT_EQ(w.surface().pixel(350, 250), kGreen);
    EXPECT_TRUE(w.surface().pixels() == Window().surface().pixels()); // the stroke is gone
    // Over the side AB: the side is an object above the surface and stays.
    pointer.drag({350, 325}, {360, 318});
    pointer.move({700, 600}); // take the eraser's circle away from the side
    EXPECT_EQ(side(w, 0).p1, (PointF{600, 150}));
    EXPECT_EQ(shown(w).pixel(350, 325), kWhite);
}

TEST(MemoPen, StrokesSurviveMemoOffAndOn) {
    Window w;
    w.click(Command3);
    Pointer(w).drag({300, 250}, {400, 250});
    w.click(Command3);
    EXPECT_EQ(w.state().memoOn, 0);
    w.click(Command3);
    EXPECT_EQ(w.surface().pixel(350, 250), kRed);
}

TEST(MemoPen, RightPressClearsStrokesKeepsThePen) {
    Window w;
    w.click(Command3);
    w.click(Option1[5]); // bold yellow
    Pointer pointer(w);
    pointer.drag({300, 250}, {400, 250});
    pointer.press({10, 10}, kRightButton);
    pointer.release({10, 10}, kRightButton);
    EXPECT_EQ(w.surface().pixel(350, 250), kGreen);
    EXPECT_EQ(w.surface().pixel(594, 158), kYellow); // the marks are repainted
    pointer.drag({300, 260}, {400, 260});
    EXPECT_EQ(w.surface().pixel(350, 263), kYellow);
}

TEST(MemoPen, RightReleaseEndsTheStroke) {
    Window w;
    w.click(Command3);
    Pointer pointer(w);
    pointer.press({100, 400});
    pointer.move({150, 400});
    pointer.press({150, 400}, kRightButton); // clears, the pen stays down
    EXPECT_EQ(w.state().penDown, 1);
    pointer.release({150, 400}, kRightButton);
    EXPECT_EQ(w.state().penDown, 0);
    pointer.move({250, 400});
    pointer.release({250, 400});
    EXPECT_EQ(w.surface().pixel(200, 400), kGreen);
}

TEST(MemoPen, DragClearsStrokesAtTheFirstMove) {
    Window w;
    w.click(Command3);
    Pointer pointer(w);
    pointer.drag({300, 250}, {400, 250});
    w.click(Command3); // back to the figure
    pointer.press({600, 150});
    EXPECT_EQ(w.surface().pixel(350, 250), kRed);
    pointer.move({601, 150});
    EXPECT_EQ(w.surface().pixel(350, 250), kGreen);
    pointer.release({601, 150});
}

// Straight lines.

TEST(StraightLines, FirstLineIsWhiteAndTicksBoxOne) {
    Window w;
    w.click(Command5);
    EXPECT_EQ(w.state().lineMode, 1);
    EXPECT_EQ(w.state().nextLineNumber, 1);
    EXPECT_TRUE(checked(w, Option2[3]));
    EXPECT_TRUE(bold(w, Command5));
    Pointer pointer(w);
    pointer.press({100.5, 100.25});
    EXPECT_EQ(straightLine(w, 0).p1, (PointF{100.5, 100.25}));
    EXPECT_EQ(straightLine(w, 0).p2, (PointF{100.5, 100.25}));
    pointer.move({300, 200});
    EXPECT_EQ(straightLine(w, 0).p2, (PointF{300, 200}));
    EXPECT_FALSE(checked(w, Check1[0]));
    pointer.release({320, 210});
    EXPECT_EQ(straightLine(w, 0).p2, (PointF{320, 210}));
    EXPECT_EQ(straightLine(w, 0).color, kWhite);
    EXPECT_EQ(straightLine(w, 0).width, 4);
    EXPECT_TRUE(checked(w, Check1[0]));
    EXPECT_EQ(w.state().nextLineNumber, 2);
    // A press and release at one point still takes its number.
    pointer.press({50, 50});
    pointer.release({50, 50});
    EXPECT_TRUE(checked(w, Check1[1]));
    EXPECT_EQ(w.state().nextLineNumber, 3);
}

TEST(StraightLines, ColourChoiceLastsUntilTheToolIsSwitchedOff) {
    Window w;
    w.click(Command5);
    w.click(Option2[2]);
    EXPECT_EQ(w.state().lineColorIndex, kPaletteBlue);
    Pointer pointer(w);
    pointer.drag({10, 10}, {100, 100});
    pointer.drag({10, 20}, {100, 110});
    EXPECT_EQ(straightLine(w, 0).color, kBlue);
    EXPECT_EQ(straightLine(w, 1).color, kBlue);
    w.click(Command5);
    EXPECT_FALSE(w.control(Option2[0]).enabled);
    w.click(Command5);
    EXPECT_EQ(w.state().lineColorIndex, kPaletteWhite);
    pointer.drag({10, 30}, {100, 120});
    EXPECT_EQ(straightLine(w, 2).color, kWhite);
    EXPECT_EQ(straightLine(w, 0).color, kBlue); // placed lines keep their colours
}

TEST(StraightLines, FifthLineSwitchesTheToolOff) {
    Window w;
    w.click(Command5);
    Pointer pointer(w);
    for (int i = 0; i < 5; ++i) {
        pointer.drag({10, 10.0 + 10 * i}, {200, 10.0 + 10 * i});
    }
    EXPECT_EQ(w.state().lineMode, 0);
    EXPECT_EQ(w.state().nextLineNumber, 0);
    EXPECT_FALSE(bold(w, Command5));
    for (const ControlId colour : Option2) {
        EXPECT_FALSE(w.control(colour).enabled);
    }
    // The next left press goes to the figure.
    pointer.press({600, 150});
    EXPECT_EQ(w.state().dragVertex, kVertexA);
    pointer.release({600, 150});
    // All five taken: switching the tool on does nothing.
    w.click(Command5);
    EXPECT_EQ(w.state().lineMode, 0);
    EXPECT_FALSE(w.control(Option2[0]).enabled);
    // Unticking box 3 parks its line; the tool then starts at number 3.
    w.click(Check1[2]);
    EXPECT_EQ(straightLine(w, 2).p1.x, kParkedX);
    EXPECT_EQ(straightLine(w, 2).p2.x, kParkedX);
    EXPECT_EQ(straightLine(w, 2).p1.y, 30.0);
    w.click(Command5);
    EXPECT_EQ(w.state().nextLineNumber, 3);
}

TEST(StraightLines, UntickedNumberIsFoundAtTheNextSearch) {
    Window w;
    w.click(Command5);
    Pointer pointer(w);
    pointer.drag({10, 10}, {200, 10});
    pointer.drag({10, 20}, {200, 20});
    EXPECT_EQ(w.state().nextLineNumber, 3);
    w.click(Check1[0]); // freed, but not searched for yet
    EXPECT_EQ(w.state().nextLineNumber, 3);
    pointer.drag({10, 30}, {200, 30});
    EXPECT_EQ(straightLine(w, 2).p1, (PointF{10, 30}));
    EXPECT_EQ(w.state().nextLineNumber, 1);
    EXPECT_EQ(straightLine(w, 0).p1.x, kParkedX);
}

TEST(StraightLines, BoxTickedByHandIsSkipped) {
    Window w;
    w.click(Check1[1]);
    w.click(Command5);
    Pointer pointer(w);
    pointer.drag({10, 10}, {200, 10});
    EXPECT_EQ(w.state().nextLineNumber, 3);
    EXPECT_EQ(straightLine(w, 1).p1.x, kParkedX); // taken by hand, still parked
    pointer.drag({10, 20}, {200, 20});
    EXPECT_EQ(straightLine(w, 2).p1, (PointF{10, 20}));
}

TEST(StraightLines, RightReleaseFixesTheLine) {
    Window w;
    w.click(Command5);
    Pointer pointer(w);
    pointer.press({10, 10});
    pointer.move({100, 100});
    pointer.press({100, 100}, kRightButton);
    pointer.release({110, 90}, kRightButton);
    EXPECT_EQ(straightLine(w, 0).p2, (PointF{110, 90}));
    EXPECT_TRUE(checked(w, Check1[0]));
    EXPECT_EQ(w.state().lineDrawing, 0);
    pointer.move({300, 300});
    EXPECT_EQ(straightLine(w, 0).p2, (PointF{110, 90}));
    pointer.release({300, 300});
    EXPECT_FALSE(checked(w, Check1[1]));
}

// A lost pointer releases every button it held, one by one, where it last
// was: the first release fixes the line there, the others find it fixed.
TEST(StraightLines, CancelFixesTheLineWhereThePointerLastWas) {
    Window w;
    w.click(Command5);
    Pointer pointer(w);
    pointer.press({10, 10});
    pointer.press({10, 10}, kMiddleButton);
    pointer.move({100.5, 90.5});
    w.boardCancel();
    EXPECT_EQ(straightLine(w, 0).p2, (PointF{100.5, 90.5}));
    EXPECT_TRUE(checked(w, Check1[0]));
    EXPECT_FALSE(checked(w, Check1[1]));
    w.boardMove(0, 0, 300, 300);
    EXPECT_EQ(w.state().lineDrawing, 0);
}

TEST(StraightLines, MemoAndLineToolExcludeEachOther) {
    Window w;
    Pointer pointer(w);
    w.click(Command5);
    pointer.drag({10, 10}, {200, 10});
    w.click(Command3);
    EXPECT_EQ(w.state().lineMode, 0);
    EXPECT_EQ(w.state().memoOn, 1);
    EXPECT_FALSE(bold(w, Command5));
    for (const ControlId colour : Option2) {
        EXPECT_FALSE(w.control(colour).enabled);
    }
    EXPECT_EQ(straightLine(w, 0).p2, (PointF{200, 10})); // placed lines stay
    w.click(Option1[3]);
    w.click(Command5);
    EXPECT_EQ(w.state().memoOn, 0);
    EXPECT_EQ(w.state().lineMode, 1);
    EXPECT_FALSE(w.layer().cursorCircle().visible);
    EXPECT_FALSE(bold(w, Command3));
    for (const ControlId pen : Option1) {
        EXPECT_FALSE(w.control(pen).enabled);
        EXPECT_FALSE(checked(w, pen));
    }
    EXPECT_EQ(w.state().penColorIndex, kPaletteGreen); // the other row's variable stays
    // Switching the line tool off leaves the pens disabled: the figure has the board.
    w.click(Command5);
    EXPECT_FALSE(w.control(Option1[0]).enabled);
    pointer.press({600, 150});
    EXPECT_EQ(w.state().dragVertex, kVertexA);
    pointer.release({600, 150});
}

// Grid and reset.

TEST(GridAndReset, GridShowsAndHides) {
    Window w;
    w.click(Command4);
    EXPECT_EQ(w.state().gridShown, 1);
    EXPECT_TRUE(bold(w, Command4));
    int visible = 0;
    for (const LineRow row : {LineRow::Line2, LineRow::Line3}) {
        for (const LineObject& l : w.layer().row(row)) {
            visible += l.visible;
        }
    }
    EXPECT_EQ(visible, 59);
    // Clearing the board and dragging leave the grid alone.
    Pointer pointer(w);
    pointer.press({5, 5}, kRightButton);
    pointer.release({5, 5}, kRightButton);
    pointer.drag({600, 150}, {610, 160});
    EXPECT_EQ(w.state().gridShown, 1);
    EXPECT_TRUE(w.layer().line(LineRow::Line3, 32).visible);
    EXPECT_EQ(w.layer().line(LineRow::Line3, 32).p1, (PointF{800, 0}));
    EXPECT_EQ(w.layer().line(LineRow::Line2, 25).p2, (PointF{800, 625}));
    // The screen shows the grid line at y = 625 and x = 800 in black.
    const PixelBuffer screen = shown(w);
    EXPECT_EQ(screen.pixel(13, 625), kBlack);
    EXPECT_EQ(screen.pixel(800, 13), kBlack);
    EXPECT_EQ(screen.pixel(13, 13), kGreen);
    w.click(Command4);
    EXPECT_EQ(w.state().gridShown, 0);
    EXPECT_FALSE(bold(w, Command4));
    EXPECT_FALSE(w.layer().line(LineRow::Line2, 0).visible);
    w.click(Command4);
    w.click(Command1);
    EXPECT_FALSE(w.layer().line(LineRow::Line2, 0).visible);
    EXPECT_FALSE(bold(w, Command4));
    w.click(Command4);
    EXPECT_TRUE(w.layer().line(LineRow::Line2, 0).visible);
}

TEST(GridAndReset, ResetFromEveryToolState) {
    const auto expectIdle = [](const Form1& w) {
        EXPECT_EQ(w.state().memoOn, 0);
        EXPECT_EQ(w.state().lineMode, 0);
        EXPECT_EQ(w.state().dragVertex, kNoVertex);
        EXPECT_EQ(w.state().nextLineNumber, 0);
        EXPECT_EQ(w.surface().lineWidth(), 3);
        EXPECT_EQ(vertexA(w), (PointF{600, 150}));
        EXPECT_EQ(vertexD(w), (PointF{550, 350}));
        EXPECT_FALSE(w.layer().cursorCircle().visible);
        for (const ControlId tool : {Command3, Command4, Command5}) {
            EXPECT_FALSE(bold(w, tool));
        }
    };
    {
        SCOPED_TRACE("during a drag: the reset drops the held vertex");
        Window w;
        Pointer pointer(w);
        pointer.press({600, 150});
        pointer.move({500, 100});
        w.click(Command1);
        expectIdle(w);
        pointer.move({520, 120});
        EXPECT_EQ(vertexA(w), (PointF{600, 150}));
        pointer.release({520, 120});
    }
    {
        SCOPED_TRACE("memo on with the thin eraser");
        Window w;
        w.click(Command3);
        w.click(Option1[3]);
        Pointer(w).drag({100, 100}, {200, 200});
        w.click(Command1);
        expectIdle(w);
        EXPECT_EQ(w.state().penColorIndex, kPaletteGreen);
        EXPECT_TRUE(checked(w, Option1[3]));
        w.click(Command3);
        EXPECT_EQ(w.state().penColorIndex, kPaletteRed);
    }
    {
        SCOPED_TRACE("all five lines drawn");
        Window w;
        w.click(Command5);
        Pointer pointer(w);
        for (int i = 0; i < 5; ++i) {
            pointer.drag({10, 10.0 + 10 * i}, {200, 10.0 + 10 * i});
        }
        w.click(Command1);
        expectIdle(w);
        for (int i = 0; i < kLineCount; ++i) {
            EXPECT_FALSE(checked(w, Check1[i]));
            EXPECT_EQ(straightLine(w, i).p1.x, kParkedX);
        }
    }
}
