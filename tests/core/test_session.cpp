// SPDX-License-Identifier: MIT
// What the session adds around the window: undo and redo of whole actions,
// the keyboard pointer, and what a screen reader is told of them.
#include <gtest/gtest.h>

#include "core_fixture.h"
#include "random_actions.h"

#include "window/session.h"

#include <new>
#include <random>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;
using namespace orvanel::controls;

namespace {

struct TestSession : Session {
    TestSession() : Session(testMeasurer()) {}
};

// All a user can see of the window: its state and the board's pixels.
struct Seen {
    Form1::Snapshot state;
    PixelBuffer pixels;

    explicit Seen(const Form1& w) : state(w.snapshot()), pixels(w.surface().pixels()) {}
    bool operator==(const Seen& o) const { return state.looksLike(o.state) && pixels == o.pixels; }
};

// Random actions with random undos and redos: every undo shows the window as
// it was before the action it takes back, every redo as it was after it.
TEST(History, UndoAndRedoReturnToWhatWasSeen) {
    for (const std::uint64_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        std::mt19937_64 rng(seed);
        TestSession s;
        std::vector<std::pair<Seen, Seen>> done; // before and after each kept action
        std::vector<std::pair<Seen, Seen>> undone;
        for (int round = 0; round < 400; ++round) {
            const int what = int(rng() % 10);
            if (what < 6) {
                Seen before(s.window());
                randomAction(s, rng);
                Seen after(s.window());
                if (!(before == after)) {
                    done.emplace_back(std::move(before), std::move(after));
                    undone.clear();
                }
            } else if (what < 8) {
                s.shortcut(Key::Z, false);
                if (!done.empty()) {
                    ASSERT_TRUE(Seen(s.window()) == done.back().first) << "undo, round " << round;
                    undone.push_back(std::move(done.back()));
                    done.pop_back();
                }
            } else {
                s.shortcut(rng() % 2 ? Key::Y : Key::Z, true);
                if (!undone.empty()) {
                    ASSERT_TRUE(Seen(s.window()) == undone.back().second)
                        << "redo, round " << round;
                    done.push_back(std::move(undone.back()));
                    undone.pop_back();
                }
            }
            ASSERT_EQ(s.history().stepCount(), done.size()) << "round " << round;
        }
    }
}

// Board-wide actions, a zigzag of the bold pen over the whole board and a
// right click that wipes it, in turn, under a small budget: the history
// stays within it, and what it gives up are the oldest steps, whether it
// trims itself or the heap runs out.
TEST(History, GivesUpTheOldestStepsToStayWithinItsBudget) {
    constexpr std::size_t kBudget = std::size_t(3) << 20;
    Window w;
    History h(w, kBudget);
    Pointer pointer(w);
    w.click(Command3);
    w.click(Option1[6]); // the bold blue pen
    std::vector<Seen> before;
    for (int action = 0; action < 40; ++action) {
        before.emplace_back(w);
        h.begin(w);
        if (action % 2 == 0) {
            pointer.press({5, 5});
            for (int i = 0; i < 30; ++i) {
                pointer.move({5 + 26.5 * i + action, i % 2 == 0 ? 620.0 : 5.0});
            }
            pointer.release({790, 5});
        } else {
            pointer.press({400, 300}, kRightButton);
            pointer.release({400, 300}, kRightButton);
        }
        h.end(w);
        ASSERT_LE(h.bytes(), kBudget) << "action " << action;
    }
    const std::size_t kept = h.stepCount();
    EXPECT_GT(kept, 2u);
    EXPECT_LT(kept, before.size());

    History::giveBackMemoryWhenExhausted();
    std::get_new_handler()(); // as the heap would call it, out of memory
    std::set_new_handler(nullptr);
    ASSERT_EQ(h.stepCount(), kept - 1);
    for (std::size_t i = 1; i < kept; ++i) {
        ASSERT_TRUE(h.undo(w));
        ASSERT_TRUE(Seen(w) == before[before.size() - i]) << "undo " << i;
    }
    EXPECT_FALSE(h.canUndo());
}

// A click on a control while a button holds the board (a tap on a box while
// the keyboard drags) belongs to that gesture's one action.
TEST(History, AClickDuringAHoldBelongsToItsAction) {
    TestSession s;
    s.boardKey(Key::D, false);
    s.boardKey(Key::Space, false);
    s.boardKey(Key::Right, true);
    s.click(Check3);
    s.boardKey(Key::Right, true);
    s.boardKey(Key::Space, false);
    EXPECT_EQ(s.history().stepCount(), 1u);
    s.shortcut(Key::Z, false);
    EXPECT_FALSE(s.window().control(Check3).checked);
    EXPECT_EQ(s.window().state().figure, FigureState{});
}

TEST(History, NothingMovesWhileAButtonIsHeld) {
    TestSession s;
    s.click(Command3);
    s.boardPress(kLeftButton, kLeftButton, 0, 100, 100);
    s.boardMove(kLeftButton, 0, 200, 120);
    const PixelBuffer drawing = s.window().surface().pixels();
    s.shortcut(Key::Z, false);
    EXPECT_TRUE(s.window().surface().pixels() == drawing);
    s.boardRelease(kLeftButton, 0, 0, 200, 120);
    s.shortcut(Key::Z, false); // the stroke
    s.shortcut(Key::Z, false); // "メモ"
    EXPECT_FALSE(s.window().control(Command3).bold);
    EXPECT_FALSE(s.history().canUndo());
}

// The same lesson by mouse and by keyboard leaves the same board and read-out.
TEST(KeyboardPointer, DoesWhatTheMouseDoes) {
    TestSession byMouse;
    TestSession byKeys;
    byKeys.boardFocusIn(false);
    const auto keys = [&](std::initializer_list<Key> list, bool shift = false) {
        for (const Key k : list) {
            EXPECT_EQ(byKeys.boardKey(k, shift), KeyResult::Done);
        }
    };
    const auto mouseDrag = [&](PointF from, PointF by, int steps) {
        byMouse.boardPress(kLeftButton, kLeftButton, 0, float(from.x), float(from.y));
        for (int i = 1; i <= steps; ++i) {
            byMouse.boardMove(kLeftButton, 0, float(from.x + by.x * i), float(from.y + by.y * i));
        }
        const PointF to = from + PointF{by.x * steps, by.y * steps};
        byMouse.boardRelease(kLeftButton, 0, 0, float(to.x), float(to.y));
    };
    // D 60 pixels right, A 30 up.
    keys({Key::D, Key::Space});
    keys({Key::Right, Key::Right, Key::Right, Key::Right, Key::Right, Key::Right}, true);
    keys({Key::Space, Key::A, Key::Space});
    keys({Key::Up, Key::Up, Key::Up}, true);
    keys({Key::Space});
    mouseDrag({550, 350}, {10, 0}, 6);
    mouseDrag({600, 150}, {0, -10}, 3);
    // A memo stroke, three presses of the thin red pen from A's new place.
    byKeys.click(Command3);
    byMouse.click(Command3);
    keys({Key::Space, Key::Down, Key::Down, Key::Space});
    byMouse.boardPress(kLeftButton, kLeftButton, 0, 600, 120);
    byMouse.boardMove(kLeftButton, 0, 600, 121);
    byMouse.boardMove(kLeftButton, 0, 600, 122);
    byMouse.boardRelease(kLeftButton, 0, 0, 600, 122);
    // A line stretched by keyboard and by mouse, then a right click.
    byKeys.click(Command5);
    byMouse.click(Command5);
    keys({Key::Space});
    keys({Key::Left, Key::Left}, true);
    keys({Key::Space, Key::ContextMenu});
    mouseDrag({600, 122}, {-10, 0}, 2);
    byMouse.boardPress(kRightButton, kRightButton, 0, 580, 122);
    byMouse.boardRelease(kRightButton, 0, 0, 580, 122);

    EXPECT_TRUE(byKeys.window().surface().pixels() == byMouse.window().surface().pixels());
    EXPECT_TRUE(byKeys.window().snapshot().looksLike(byMouse.window().snapshot()));
    EXPECT_EQ(byKeys.window().control(Label5[3]).caption,
              byMouse.window().control(Label5[3]).caption);
    EXPECT_NE(byKeys.window().state().figure, FigureState{});
}

TEST(KeyboardPointer, AndMouseDoNotMix) {
    TestSession s;
    s.boardKey(Key::D, false);
    s.boardKey(Key::Space, false);
    s.boardPress(kLeftButton, kLeftButton, 0, 100, 100); // ignored: the keyboard holds
    s.boardMove(kLeftButton, 0, 300, 100);
    s.boardKey(Key::Right, true);
    s.boardRelease(kLeftButton, 0, 0, 300, 100);
    EXPECT_TRUE(s.gestureInProgress());
    s.boardKey(Key::Escape, false);
    EXPECT_FALSE(s.gestureInProgress());
    EXPECT_EQ(s.window().state().figure.d(), (PointF{560, 350}));
}

// Losing the focus lets go of a held button, keyboard or mouse, where its
// pointer was; the gesture is then one undoable action like any other.
TEST(KeyboardPointer, HoldEndsWhenTheFocusGoes) {
    for (const bool byKeyboard : {true, false}) {
        SCOPED_TRACE(byKeyboard ? "keyboard" : "mouse");
        TestSession s;
        s.boardFocusIn(!byKeyboard);
        if (byKeyboard) {
            s.boardKey(Key::D, false);
            s.boardKey(Key::Space, false);
            s.boardKey(Key::Right, true);
        } else {
            s.boardPress(kLeftButton, kLeftButton, 0, 550, 350);
            s.boardMove(kLeftButton, 0, 560, 350);
        }
        s.boardFocusOut();
        EXPECT_FALSE(s.gestureInProgress());
        EXPECT_FALSE(s.crosshairShown());
        s.boardMove(kLeftButton, 0, 600, 350); // the mouse's held button is nobody's now
        EXPECT_EQ(s.window().state().figure.d(), (PointF{560, 350}));
        s.shortcut(Key::Z, false);
        EXPECT_EQ(s.window().state().figure, FigureState{});
    }
}

// The first pointer to press holds the board until its last button is up:
// a second finger, a pen or the mouse meanwhile change nothing; a finger or a
// pen is the left button, whatever button the shell names.
TEST(Pointers, TheFirstToPressHoldsTheBoard) {
    using Kind = Session::PointerKind;
    TestSession s;
    s.pointerPress(Kind::Touch, 7, kRightButton, kRightButton, 0, 550, 350); // a finger on D
    s.pointerPress(Kind::Touch, 8, kLeftButton, kLeftButton, 0, 600, 150);   // a second on A
    s.pointerMove(Kind::Touch, 8, kLeftButton, 0, 700, 150);
    s.pointerPress(Kind::Mouse, 7, kLeftButton, kLeftButton, 0, 600, 150); // same number, the mouse
    s.pointerMove(Kind::Mouse, 7, kLeftButton, 0, 700, 150);
    s.pointerMove(Kind::Touch, 7, kLeftButton, 0, 560, 350);
    s.pointerRelease(Kind::Touch, 8, kLeftButton, 0, 0, 700, 150);
    EXPECT_TRUE(s.gestureInProgress());
    s.pointerRelease(Kind::Touch, 7, kLeftButton, 0, 0, 560, 350);
    EXPECT_FALSE(s.gestureInProgress());
    EXPECT_EQ(s.window().state().figure.d(), (PointF{560, 350}));
    EXPECT_EQ(s.window().state().figure.a(), (PointF{600, 150}));
    EXPECT_EQ(s.history().stepCount(), 1u);
    // A repeated Space leaves the keyboard's button held.
    s.boardKey(Key::Space, false);
    s.boardKey(Key::Space, false, true);
    EXPECT_TRUE(s.gestureInProgress());
}

TEST(Announcement, WhereTheKeysPutThePointerAndTheAnglesOnceAtTheRelease) {
    TestSession s;
    EXPECT_FALSE(s.announcementPending()); // hidden read-out says nothing
    s.click(Check2);
    ASSERT_TRUE(s.announcementPending());
    EXPECT_EQ(s.takeAnnouncement(), "∠Ａ = 41°、∠Ｂ = 35°、∠Ｃ = 56°、∠Ｄ = 132°");
    EXPECT_FALSE(s.announcementPending());
    s.boardKey(Key::D, false);
    EXPECT_EQ(s.takeAnnouncement(), "頂点 D");
    s.boardKey(Key::Space, false);
    EXPECT_EQ(s.takeAnnouncement(), "頂点 D をつかみました");
    for (int i = 0; i < 6; ++i) {
        s.boardKey(Key::Right, true);
        s.boardKey(Key::A, false); // the vertex keys wait for the release
        EXPECT_FALSE(s.announcementPending()) << "step " << i;
    }
    s.boardKey(Key::Space, false);
    EXPECT_EQ(s.takeAnnouncement(), "離しました。∠Ａ = 58°、∠Ｂ = 35°、∠Ｃ = 75°、∠Ｄ = 168°");
    EXPECT_EQ(s.takeAnnouncement(), "");

    // Off the vertices the button is only pressed; let go with nothing moved,
    // only that is told.
    s.boardKey(Key::A, false);
    EXPECT_EQ(s.takeAnnouncement(), "頂点 A");
    for (int i = 0; i < 6; ++i) {
        s.boardKey(Key::Down, true); // beyond A's reach
    }
    EXPECT_FALSE(s.announcementPending());
    s.boardKey(Key::Space, false);
    EXPECT_EQ(s.takeAnnouncement(), "押しました");
    s.boardKey(Key::Escape, false);
    EXPECT_EQ(s.takeAnnouncement(), "離しました");

    // A mouse drag: nothing until the release, then the angles alone; an
    // undo tells the angles it brings back.
    s.boardPress(kLeftButton, kLeftButton, 0, 600, 150);
    s.boardMove(kLeftButton, 0, 560, 190);
    EXPECT_FALSE(s.announcementPending());
    s.boardRelease(kLeftButton, 0, 0, 560, 190);
    EXPECT_EQ(s.takeAnnouncement(), s.readoutSentence());
    s.shortcut(Key::Z, false);
    EXPECT_EQ(s.takeAnnouncement(), "∠Ａ = 58°、∠Ｂ = 35°、∠Ｃ = 75°、∠Ｄ = 168°");
    s.click(Check2); // hidden again: nothing to tell
    EXPECT_EQ(s.takeAnnouncement(), "");
}

} // namespace
