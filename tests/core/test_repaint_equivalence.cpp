// SPDX-License-Identifier: MIT
// A shell repaints only what the window reports as damaged. Played through a
// long seeded session of user actions, that incremental repaint must always
// give the very picture a full repaint gives; and the light objects must
// stack the same way on every repaint: grid lowest, then the figure's sides,
// then the straight lines, the cursor circle and the letters on top.
#include "ascii_image.h"
#include "core_fixture.h"

#include "tools/memo_pen.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace orvanel;
using namespace orvanel::test;

namespace {

// Each letter is painted as an opaque box of a colour of its own, the way a
// shell paints a letter's box over the composed board.
constexpr Rgb letterColor(int i) {
    return rgb(10 + i, 20, 30);
}

void paint(const Form1& w, PixelBuffer& frame, const Rect& area) {
    w.composeBoard(frame.view(), area);
    for (int i = 0; i < int(w.layer().letters().size()); ++i) {
        const Rect box = w.layer().letter(i).box().intersected(area).intersected(frame.rect());
        for (int y = box.top; y <= box.bottom(); ++y) {
            std::fill(frame.row(y) + box.left, frame.row(y) + box.right() + 1, letterColor(i));
        }
    }
}

PixelBuffer fullPicture(const Form1& w) {
    PixelBuffer frame(kBoardSize, kBlack);
    paint(w, frame, frame.rect());
    return frame;
}

std::string firstDifference(const PixelBuffer& a, const PixelBuffer& b) {
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                std::ostringstream s;
                s << "pixel (" << x << ", " << y << ") shown " << std::hex << a.pixel(x, y)
                  << ", whole picture " << b.pixel(x, y);
                return s.str();
            }
        }
    }
    return {};
}

// Plays random user actions on a window and keeps the screen the way a shell
// does: the previous frame with the reported damage repainted.
class Session {
public:
    explicit Session(std::uint64_t seed) : rng_(seed), frame_(fullPicture(w_)) {
        w_.takeDamage([](const Rect&) {});
    }

    // Repaints the damage and says where the frame differs from a full
    // repaint; empty when it does not.
    std::string repaintAndCompare() {
        w_.takeDamage([this](const Rect& r) { paint(w_, frame_, r); });
        return firstDifference(frame_, fullPicture(w_));
    }

    // One user action; returns what it was.
    std::string act() {
        const int kind = bounded(rng_, 0, 100);
        if (kind < 30) {
            return dragVertex();
        }
        if (kind < 50) {
            return stroke();
        }
        if (kind < 65) {
            return straightLine();
        }
        if (kind < 70) {
            return clickOn(controls::Command4, "grid");
        }
        if (kind < 75) {
            return clickOn(controls::Check1[bounded(rng_, 0, kLineCount)], "line box");
        }
        if (kind < 80) {
            return clickOn(controls::Check3, "nonClear");
        }
        if (kind < 85) {
            pointer_.drag(somewhere(), somewhere(), kRightButton);
            return "right press";
        }
        if (kind < 95) {
            return hover();
        }
        return clickOn(controls::Command1, "reset");
    }

    bool stepwise() { return bounded(rng_, 0, 2) == 0; }

private:
    PointF somewhere() { return {uniform(rng_, -60, 860), uniform(rng_, -60, 690)}; }
    PointF near(PointF p, double reach) {
        return {p.x + uniform(rng_, -reach, reach), p.y + uniform(rng_, -reach, reach)};
    }

    std::string clickOn(ControlId id, const char* what) {
        w_.click(id);
        return what;
    }

    // Switches to the tool `button` turns on, if it is not on already.
    void use(ControlId button, int flag) {
        if (flag == 0) {
            w_.click(button);
        }
    }

    // Moves with the button held, repainting between moves now and then as
    // a shell does once a frame.
    void moves(PointF from, int count, double reach) {
        for (int i = 0; i < count; ++i) {
            from = near(from, reach);
            pointer_.move(from);
            if (stepwise()) {
                failure_ = failure_.empty() ? repaintAndCompare() : failure_;
            }
        }
    }

    std::string dragVertex() {
        if (w_.state().memoOn) {
            w_.click(controls::Command3);
        }
        if (w_.state().lineMode) {
            w_.click(controls::Command5);
        }
        const bool a = bounded(rng_, 0, 2) == 0;
        const PointF start = near(a ? w_.state().figure.a() : w_.state().figure.d(), 45);
        pointer_.press(start);
        moves(start, bounded(rng_, 1, 8), 40);
        pointer_.release(start);
        return a ? "drag of A" : "drag of D";
    }

    std::string stroke() {
        use(controls::Command3, w_.state().memoOn);
        const int pen = bounded(rng_, 0, int(kPens.size()));
        w_.click(controls::Option1[pen]);
        const PointF start = somewhere();
        pointer_.press(start);
        moves(start, bounded(rng_, 1, 6), 60);
        pointer_.release(start);
        return "stroke with pen " + std::to_string(pen);
    }

    std::string straightLine() {
        use(controls::Command5, w_.state().lineMode);
        if (!w_.state().lineMode) {
            return "line tool refused: every number taken";
        }
        w_.click(controls::Option2[bounded(rng_, 0, int(kLineColors.size()))]);
        const PointF start = somewhere();
        pointer_.press(start);
        moves(start, bounded(rng_, 1, 5), 300);
        pointer_.release(near(start, 400));
        return "straight line";
    }

    std::string hover() {
        if (w_.state().memoOn && bounded(rng_, 0, 2) == 0) {
            w_.click(controls::Option1[bounded(rng_, 0, 2) == 0 ? 3 : 7]); // an eraser
        }
        moves(somewhere(), bounded(rng_, 1, 6), 30);
        return "hover";
    }

public:
    std::string failure_; // the first difference seen in the middle of an action

private:
    Window w_;
    Pointer pointer_{w_};
    std::mt19937_64 rng_;
    PixelBuffer frame_;
};

TEST(RepaintEquivalence, DamagedAreasRepaintedGiveTheWholePicture) {
    constexpr std::uint64_t kSeed = 20261208;
    constexpr int kActions = 1500;
    Session session(kSeed);
    for (int i = 0; i < kActions; ++i) {
        const std::string action = session.act();
        const std::string difference =
            session.failure_.empty() ? session.repaintAndCompare() : session.failure_;
        ASSERT_EQ(difference, "") << "after action " << i << " (" << action << "), seed " << kSeed;
    }
}

// The colour shown at board point p after a full repaint.
Rgb shownAt(const Form1& w, Point p) {
    return fullPicture(w).pixel(p.x, p.y);
}

TEST(RepaintEquivalence, LightObjectsStackGridSidesLinesCircleLetters) {
    Window w;
    Pointer pointer(w);
    w.click(controls::Command4); // the grid: a row at y = 500 under the base line B-C
    const Rgb white = paletteColor(kPaletteWhite);
    EXPECT_EQ(shownAt(w, {300, 500}), white) << "the side B-C lies above the grid";
    EXPECT_EQ(shownAt(w, {300, 10}), kWindowText) << "the grid is shown where nothing covers it";

    w.click(controls::Command5); // a red straight line across the base line
    w.click(controls::Option2[0]);
    pointer.drag({300, 450}, {300, 550});
    EXPECT_EQ(shownAt(w, {300, 500}), kRed) << "a straight line lies above the sides";

    w.click(controls::Command3); // the bold eraser's circle over the straight line
    w.click(controls::Option1[7]);
    pointer.move({288, 500});
    EXPECT_EQ(shownAt(w, {300, 500}), kWindowText) << "the cursor circle lies above the lines";

    // Letter B's box lies over the board's green at the start; drawn above
    // everything, also above a straight line through it.
    const Rect b = w.layer().letter(1).box();
    w.click(controls::Command5);
    pointer.drag({b.left - 20.0, b.top + 5.0}, {b.right() + 20.0, b.top + 5.0});
    EXPECT_EQ(shownAt(w, {b.left + 2, b.top + 5}), letterColor(1));
}

} // namespace
