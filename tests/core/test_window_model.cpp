// SPDX-License-Identifier: MIT
// The window model on its own: start-up, the reset, the read-out switch,
// exit, the option group, and how the program's own changes to a box or an
// option button reach their handlers.
#include "ascii_image.h"
#include "core_fixture.h"

#include "tools/grid.h"
#include "tools/straight_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <sstream>
#include <string>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;
using namespace orvanel::controls;

namespace {

using Lines = std::vector<std::string>;

PixelBuffer shown(const Form1& w) {
    PixelBuffer out(kBoardSize, 0);
    w.composeBoard(out.view(), out.rect());
    return out;
}

// The values, separated by blanks; numbers in full precision.
template <typename... Values> std::string line(const Values&... values) {
    std::ostringstream out;
    out.precision(17);
    ((out << values << ' '), ...);
    std::string s = out.str();
    s.pop_back();
    return s;
}

// Everything a reset is meant to restore, one line each, in a fixed order.
Lines snapshot(const Form1& w) {
    Lines s;
    const WindowState& v = w.state();
    const FigureState& f = v.figure;
    s.push_back(line("vertices", f.xA, f.yA, f.xB, f.yB, f.xC, f.yC, f.xD, f.yD));
    s.push_back(line("vars", v.memoOn, v.lineMode, v.nextLineNumber, int(v.dragVertex), v.gridShown,
                     v.anglesShown, v.penColorIndex, v.lineColorIndex, w.surface().lineWidth()));
    const BoardLayer& l = w.layer();
    const std::pair<const char*, LineRow> rows[] = {{"side", LineRow::Line1},
                                                    {"line", LineRow::Line4},
                                                    {"grid row", LineRow::Line2},
                                                    {"grid column", LineRow::Line3}};
    for (const auto& [name, row] : rows) {
        for (const LineObject& o : l.row(row)) {
            std::ostringstream color;
            color << std::hex << o.color;
            s.push_back(
                line(name, o.p1.x, o.p1.y, o.p2.x, o.p2.y, color.str(), o.width, o.visible));
        }
    }
    for (const LetterObject& letter : l.letters()) {
        s.push_back(line("letter", letter.caption, letter.topLeft.x, letter.topLeft.y));
    }
    s.push_back(line("cursorCircle", l.cursorCircle().visible, l.cursorCircle().width));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlState& c = w.control(ControlId(i));
        s.push_back(line(kControls[i].objectName(), "checked", c.checked, "enabled", c.enabled,
                         "visible", c.visible, "bold", c.bold, "caption", c.caption));
    }
    return s;
}

// Compares line by line, so that a failure names the lines that differ.
void expectSameLines(const Lines& actual, const Lines& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i], expected[i]);
    }
}

// Replaces the line `from` of `lines` by `to`; `from` must be there.
void replaceLine(Lines& lines, const std::string& from, const std::string& to) {
    const auto it = std::find(lines.begin(), lines.end(), from);
    ASSERT_NE(it, lines.end()) << from;
    *it = to;
}

// The option buttons of the twelve that are selected: one at any time.
std::vector<ControlId> selectedOptions(const Form1& w) {
    std::vector<ControlId> on;
    for (const auto row :
         {std::span<const ControlId>(Option1), std::span<const ControlId>(Option2)}) {
        std::copy_if(row.begin(), row.end(), std::back_inserter(on),
                     [&w](ControlId id) { return w.control(id).checked; });
    }
    return on;
}

} // namespace

TEST(StartUp, StateOfTheWindow) {
    Window w;
    const WindowState& v = w.state();
    EXPECT_EQ(w.caption(), "Orvanel (by m.Quillon)");
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(v.anglesShown, 0);
    EXPECT_FALSE(w.control(Check2).checked);
    EXPECT_EQ(v.penColorIndex, kPaletteRed);
    EXPECT_EQ(v.lineColorIndex, kPaletteWhite);
    EXPECT_EQ(v.memoOn, 0);
    EXPECT_EQ(v.lineMode, 0);
    EXPECT_EQ(v.nextLineNumber, 0);
    EXPECT_EQ(v.dragVertex, kNoVertex);
    EXPECT_EQ(v.gridShown, 0);
    EXPECT_EQ(w.surface().lineWidth(), 3);
    EXPECT_FALSE(w.layer().cursorCircle().visible);
    EXPECT_EQ(selectedOptions(w), std::vector{Option2[3]});
    for (std::size_t i = 0; i < kControlCount; ++i) {
        EXPECT_FALSE(w.control(ControlId(i)).bold) << kControls[i].objectName();
    }
    for (int i = 0; i < kLineCount; ++i) {
        EXPECT_FALSE(w.control(Check1[i]).checked);
        const LineObject& l = w.layer().line(LineRow::Line4, i);
        EXPECT_EQ(l.p1.x, kParkedX);
        EXPECT_EQ(l.p2.x, kParkedX);
        EXPECT_EQ(l.p1.y, 480.0); // parked lines keep their y
    }
}

TEST(StartUp, GridBuiltHidden) {
    Window w;
    const auto rows = w.layer().row(LineRow::Line2);
    const auto columns = w.layer().row(LineRow::Line3);
    ASSERT_EQ(rows.size(), std::size_t(kGridRows));
    ASSERT_EQ(columns.size(), std::size_t(kGridColumns));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].p1, (PointF{0, 25.0 * i}));
        EXPECT_EQ(rows[i].p2, (PointF{800, 25.0 * i}));
        EXPECT_FALSE(rows[i].visible);
        EXPECT_EQ(rows[i].width, 1);
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(columns[i].p1, (PointF{25.0 * i, 0}));
        EXPECT_EQ(columns[i].p2, (PointF{25.0 * i, 625}));
        EXPECT_FALSE(columns[i].visible);
    }
}

TEST(StartUp, FigurePlacedByTheReset) {
    Window w;
    const BoardLayer& l = w.layer();
    const PointF corners[] = {{600, 150}, {100, 500}, {650, 500}, {550, 350}}; // A, B, C, D
    for (int i = 0; i < kVertexCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(l.line(LineRow::Line1, i).p1, corners[i]);
        EXPECT_EQ(l.line(LineRow::Line1, i).p2, corners[(i + 1) % kVertexCount]);
    }
    const PointF letters[] = {{590, 95}, {60, 520}, {665, 523}, {500, 330}};
    for (int i = 0; i < kVertexCount; ++i) {
        EXPECT_EQ(l.letter(i).topLeft, letters[i]);
    }
    EXPECT_EQ(l.letter(0).caption, "Ａ");
    EXPECT_EQ(l.letter(3).caption, "D");
    // Each letter's box fits its caption, as the window measures it.
    EXPECT_EQ(l.letter(0).size, testMeasurer().textSize(kLetterFont, "Ａ"));
    EXPECT_EQ(w.control(Label5[0]).caption, " 41");
    EXPECT_EQ(w.control(Label5[3]).caption, " 132");
}

// Selecting the thin red pen and then white runs both handlers inside
// Form_Load, before the reset: the pen, the colour and the pen's width are
// theirs, though white, selected last, is the one option selected of the
// group; the reset then parks every line of a ticked box again.
TEST(StartUp, RunsHandlersNested) {
    Window w;
    EXPECT_FALSE(w.control(Option1[0]).checked);
    EXPECT_TRUE(w.control(Option2[3]).checked);
    EXPECT_EQ(w.state().penColorIndex, kPaletteRed);
    EXPECT_EQ(w.state().lineColorIndex, kPaletteWhite);
    EXPECT_EQ(w.surface().lineWidth(), 3);
    Pointer pointer(w);
    w.click(Command5);
    pointer.drag({10, 10}, {200, 10});
    ASSERT_TRUE(w.control(Check1[0]).checked);
    w.click(Command1);
    EXPECT_FALSE(w.control(Check1[0]).checked);
    EXPECT_EQ(w.layer().line(LineRow::Line4, 0).p1.x, kParkedX);
}

TEST(StartUp, MarksPainted) {
    Window w;
    const RasterSurface& s = w.surface();
    EXPECT_EQ(s.pixel(594, 158), kYellow);
    EXPECT_EQ(s.pixel(128, 499), kYellow);
    EXPECT_EQ(s.pixel(622, 499), kYellow);
    EXPECT_EQ(s.pixel(560, 348), kRed);
    EXPECT_EQ(s.fillColor(), kRed);
    // The screen shows the surface under the sides: a side's pixel is white.
    const PixelBuffer screen = shown(w);
    EXPECT_EQ(screen.pixel(560, 348), kRed);
    EXPECT_EQ(screen.pixel(375, 500), kWhite);
    EXPECT_EQ(screen.pixel(375, 400), kGreen);
}

TEST(Reset, IsIdempotent) {
    Window w;
    const Lines first = snapshot(w);
    const PixelBuffer image = w.surface().pixels();
    w.click(Command1);
    expectSameLines(snapshot(w), first);
    EXPECT_TRUE(w.surface().pixels() == image);
    w.click(Command1);
    expectSameLines(snapshot(w), first);
    EXPECT_TRUE(w.surface().pixels() == image);
}

TEST(Reset, RestoresEverything) {
    Window w;
    const Lines initial = snapshot(w);
    const PixelBuffer image = w.surface().pixels();
    Pointer pointer(w);
    pointer.drag({600, 150}, {640.5, 120.25}); // A
    pointer.drag({550, 350}, {500, 380});      // D
    w.click(Command4);                         // grid on
    w.click(Command5);                         // line tool on
    pointer.drag({10, 10}, {300, 300});        // line 1, white
    w.click(Command3);                         // memo on, thin red
    w.click(Option1[7]);                       // bold eraser
    pointer.drag({100, 100}, {200, 200});
    ASSERT_NE(snapshot(w), initial);
    w.click(Command1);

    // Everything is back but what the reset leaves alone: the selected pen,
    // its colour and the width of its hidden circle, and the y ends and
    // colour of the parked line 1.
    Lines expected = initial;
    replaceLine(expected, "vars 0 0 0 0 0 0 12 15 3", "vars 0 0 0 0 0 0 2 15 3");
    replaceLine(expected, "cursorCircle 0 49", "cursorCircle 0 25");
    replaceLine(expected, "line 1000 480 1000 552 ffff0000 4 1",
                "line 1000 10 1000 300 ffffffff 4 1");
    replaceLine(expected, "Option1_7 checked 0 enabled 0 visible 1 bold 0 caption 消しゴム",
                "Option1_7 checked 1 enabled 0 visible 1 bold 0 caption 消しゴム");
    replaceLine(expected, "Option2_3 checked 1 enabled 0 visible 1 bold 0 caption 白",
                "Option2_3 checked 0 enabled 0 visible 1 bold 0 caption 白");
    expectSameLines(snapshot(w), expected);
    EXPECT_TRUE(w.surface().pixels() == image);
}

TEST(Reset, KeepsTheSelectionAndTheReadout) {
    Window w;
    w.click(Check2);
    EXPECT_EQ(w.state().anglesShown, 1);
    Pointer(w).drag({600, 150}, {500, 200});
    EXPECT_NE(w.control(Label5[0]).caption, " 41");
    w.click(Check3);
    w.click(Command1);
    EXPECT_EQ(w.state().anglesShown, 1);
    EXPECT_TRUE(w.control(Label5[0]).visible);
    EXPECT_EQ(w.control(Label5[0]).caption, " 41");
    EXPECT_TRUE(w.control(Check3).checked);
    EXPECT_TRUE(w.control(Option2[3]).checked);
}

TEST(Readout, SwitchDecidesByItsFlag) {
    Window w;
    w.click(Check2);
    for (int i = 0; i < kVertexCount; ++i) {
        EXPECT_TRUE(w.control(Label3[i]).visible);
        EXPECT_TRUE(w.control(Label5[i]).visible);
        EXPECT_TRUE(w.control(Label6[i]).visible);
    }
    EXPECT_EQ(w.control(Label5[1]).caption, " 35");
    w.click(Check2);
    for (int i = 0; i < kVertexCount; ++i) {
        EXPECT_FALSE(w.control(Label5[i]).visible);
    }
    EXPECT_EQ(w.control(Label5[1]).caption, " 35"); // not cleared when hidden
}

TEST(Exit, EndsTheProgramWhateverTheTool) {
    for (const ControlId tool : {Command1, Command3, Command5}) {
        SCOPED_TRACE(kControls[indexOf(tool)].objectName());
        Window w;
        w.click(tool);
        EXPECT_FALSE(w.ended());
        w.click(Command2);
        EXPECT_TRUE(w.ended());
    }
}

TEST(OptionGroup, SelectingOneOfTheTwelveClearsTheOthers) {
    Window w;
    w.click(Command3);
    for (const ControlId pen : Option1) {
        w.click(pen);
        EXPECT_EQ(selectedOptions(w), std::vector{pen});
    }
    w.click(Command5); // the line tool selects white, across the two rows
    EXPECT_EQ(selectedOptions(w), std::vector{Option2[3]});
    for (const ControlId colour : Option2) {
        w.click(colour);
        EXPECT_EQ(selectedOptions(w), std::vector{colour});
    }
}

// A box ticked or an option selected by the program runs its handler, and
// only when the value changes; a click on a disabled control does nothing.
TEST(Clicks, HandlersRunOnlyOnAChange) {
    struct Row {
        const char* name;
        std::vector<ControlId> before;
        ControlId click;
        // What the handlers that ran leave, beyond what the row's click
        // itself does; nothing else changes.
        void (*expect)(const Form1& w);
    };
    const Row rows[] = {
        {"memo on selects the thin red pen after the eraser",
         {Command3, Option1[3], Command3},
         Command3,
         [](const Form1& w) {
             EXPECT_TRUE(w.control(Option1[0]).checked);
             EXPECT_EQ(w.surface().lineWidth(), 3); // the eraser's width was 15
             EXPECT_FALSE(w.layer().cursorCircle().visible);
         }},
        {"line tool on selects white after red",
         {Command5, Option2[0], Command5},
         Command5,
         [](const Form1& w) {
             EXPECT_TRUE(w.control(Option2[3]).checked);
             EXPECT_EQ(w.state().lineColorIndex, kPaletteWhite);
         }},
        {"reset unticks a ticked box and parks its line",
         {Check1[4]},
         Command1,
         [](const Form1& w) {
             EXPECT_FALSE(w.control(Check1[4]).checked);
             EXPECT_EQ(w.layer().line(LineRow::Line4, 4).p1.x, kParkedX);
         }},
        {"the selected option again", {Command5}, Option2[3], nullptr},
        {"a disabled pen", {}, Option1[3], nullptr},
        {"a disabled colour", {Command3}, Option2[0], nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Window w;
        for (const ControlId id : row.before) {
            w.click(id);
        }
        const Lines before = snapshot(w);
        w.click(row.click);
        if (row.expect) {
            row.expect(w);
        } else {
            expectSameLines(snapshot(w), before);
        }
    }
}

TEST(Clicks, FinishedLineTicksItsBoxFromTheRelease) {
    Window w;
    w.click(Command5);
    Pointer pointer(w);
    pointer.press({10, 10});
    EXPECT_FALSE(w.control(Check1[0]).checked);
    pointer.release({200, 10});
    EXPECT_TRUE(w.control(Check1[0]).checked);
    EXPECT_EQ(w.layer().line(LineRow::Line4, 0).p2, (PointF{200, 10}));
    EXPECT_EQ(w.state().nextLineNumber, 2);
}
