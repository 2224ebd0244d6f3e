// SPDX-License-Identifier: MIT
// The window as a user meets it: the window model with what the program adds
// around its handlers, decided here so that every shell behaves alike.
//
// - A keyboard pointer on the board, shown as a crosshair while the board has
//   the keyboard focus: the arrow keys move it (Shift: ten pixels), Space
//   presses and releases the left button there, Escape releases, A and D put
//   it on that vertex, the context-menu key or Shift+F10 is a right click.
//   Each is the very pointer event a mouse would give there. The mouse and
//   the keyboard pointer do not mix: while one holds a button, the other's
//   presses and moves are ignored.
// - Undo and redo of every action (History), and the keys for them and for
//   the shell's picture of the window (save, copy, print) and for opening a
//   board.
// - What a screen reader is told, and when: where the keys put the pointer,
//   the button they hold or let go, and the read-out once, as one sentence,
//   when no button holds the board any longer.
#pragma once

#include "window/form1.h"
#include "window/history.h"
#include "window/notices.h"

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvanel {

// The keys the program reads; a shell maps its own key codes to these.
enum class Key { Left, Right, Up, Down, Space, Escape, A, D, F10, ContextMenu, Z, Y, S, C, P, O };
// The key of that name ("Left", "Space", "F10", "ContextMenu", "Z", ...), as
// a shell without key codes of its own names them; none for another name.
std::optional<Key> keyNamed(std::string_view name);

// What a key asks of the shell beyond what the session did itself.
enum class KeyResult {
    Ignored, // not a key of the program's: the shell handles it as usual
    Done,    // taken by the session
    SavePicture,
    CopyPicture,
    PrintPicture,
    OpenBoard, // the chooser of boards to open: the kept ones, or any file
};

// Everything a shell shows anew since it last asked, in one exchange: taken
// after each input (or once a frame), it tells which controls to show again,
// what of the board to repaint, whether a button holds the board and the
// crosshair shows, what a screen reader is to hear now, whether the board
// should be kept, the figure's new link, and whether the program ended.
// Taking it allocates nothing while nothing needs a text.
struct Frame {
    std::bitset<kControlCount> controls; // whose state changed, by ControlId
    DamageList<8> damage;                // board rectangles to repaint
    bool held = false;                   // a button holds the board
    bool crosshair = false;              // the crosshair and the board's focus ring show
    bool keepDue = false;                // see Session::takeKeepDue
    bool ended = false;                  // "終了": the shell closes the window
    std::string announcement;            // for a screen reader, now; empty: nothing
    std::optional<std::string> link;     // the figure's link, when it changed

    template <typename Visit> void forEachControl(Visit visit) const {
        for (std::size_t i = 0; i < kControlCount; ++i) {
            if (controls[i]) {
                visit(ControlId(i));
            }
        }
    }
};

class Session {
public:
    explicit Session(const TextMeasurer& measurer);

    Form1& window() { return window_; }
    const Form1& window() const { return window_; }
    const History& history() const { return history_; }

    // A user's click on a control: one action.
    void click(ControlId id);

    // A pointer on the board, as a shell receives it: the mouse, or a finger
    // or pen, with the shell's number for it. One pointer holds the board,
    // the first to press, until all its buttons are up: another's presses
    // and moves are ignored meanwhile (a second finger, a pen while the
    // mouse drags, the mouse while the keyboard holds). A finger or pen is
    // the left button while it touches. One action lasts from the first
    // button pressed to the last released. The button codes and positions
    // are as Form1::boardPress and its siblings take them.
    enum class PointerKind { Mouse, Touch, Pen };
    void pointerPress(PointerKind kind, int id, int button, int held, int modifiers, float x,
                      float y);
    void pointerMove(PointerKind kind, int id, int held, int modifiers, float x, float y);
    void pointerRelease(PointerKind kind, int id, int button, int held, int modifiers, float x,
                        float y);
    // The pointer was taken away without a release (the system took a touch
    // over for a gesture of its own): its buttons are let go where it last
    // was.
    void pointerCancel(PointerKind kind, int id);

    // The mouse, as above.
    void boardPress(int button, int held, int modifiers, float x, float y) {
        pointerPress(PointerKind::Mouse, 0, button, held, modifiers, x, y);
    }
    void boardMove(int held, int modifiers, float x, float y) {
        pointerMove(PointerKind::Mouse, 0, held, modifiers, x, y);
    }
    void boardRelease(int button, int held, int modifiers, float x, float y) {
        pointerRelease(PointerKind::Mouse, 0, button, held, modifiers, x, y);
    }
    void boardCancel() { pointerCancel(PointerKind::Mouse, 0); }

    // A key while the board has the keyboard focus, and a key pressed with
    // Ctrl anywhere in the window. A key held down repeats: `repeat` says so,
    // and a repeated Space leaves the button as it is until the key is let
    // go and pressed again.
    KeyResult boardKey(Key key, bool shift, bool repeat = false);
    KeyResult shortcut(Key key, bool shift);
    // The board took the keyboard focus: by a press of a pointer on it, or
    // otherwise (Tab, the program's start). The crosshair shows only when no
    // pointer gave the focus, and from the first board key on.
    void boardFocusIn(bool byPointer);
    // The board lost the keyboard focus, also when its window did. A button
    // held on the board, by the keyboard or the mouse, is let go where its
    // pointer was.
    void boardFocusOut();

    // The keyboard pointer, in board pixels, and whether its crosshair shows.
    PointF keyboardPointer() const { return keyboardAt_; }
    bool crosshairShown() const { return boardFocused_; }
    // The board area the crosshair covers around `at`.
    static Rect crosshairRect(PointF at);

    // Whether a button is held on the board, by the mouse or the keyboard.
    bool gestureInProgress() const { return holder_ != Holder::None; }

    // Damage and composition as Form1 has them, the crosshair included.
    template <typename Visit> void takeDamage(Visit visit) { window_.takeDamage(visit); }
    void composeBoard(PixelView target, Rect area, BoardScale scale = {}) const;

    // The read-out as one sentence ("∠Ａ = 41°、∠Ｂ = 35°、…"), empty while it
    // is hidden.
    std::string readoutSentence() const;
    // Line `i` of the read-out as one phrase, "∠Ａ = 41°".
    std::string readoutLine(int i) const;

    // The PNG picture of the window `png` (as a shell made it) with the
    // board in it, so that opening the picture gives this board back; empty
    // when `png` is no PNG.
    std::vector<std::uint8_t> pictureWithBoard(std::span<const std::uint8_t> png) const;
    // Opens the board a file carries, as one action that undo takes back;
    // a file that is no sound board changes nothing and says why.
    std::optional<Notice> openBoard(std::span<const std::uint8_t> file);
    // The figure as a link's text (see window/figure_link.h), and the figure
    // a link describes put on the window as one action; an unreadable link
    // changes nothing and says so.
    std::string link() const;
    std::optional<Notice> openLink(std::string_view text);

    // Fills `frame` with everything that changed since the last frame; its
    // damage is added to what it held. Controls, damage and any announcement
    // are taken; the link is reported once when it changes, between actions.
    void takeFrame(Frame& frame);

    // Whether the board should be kept now (a shell keeps it in storage, so
    // that nothing is lost when the window goes): true once after every
    // action that changed the window, an undo or a redo, never while a
    // button is held, and not at all while nothing changed.
    bool takeKeepDue();

    // What a screen reader is to be told now, as one utterance, and taking it
    // (empty: nothing). A shell asks after every input and tells it at once.
    // - A or D: the vertex the keyboard pointer is now on ("頂点 D").
    // - Space: the vertex it took ("頂点 D をつかみました"), or that it pressed
    //   the button elsewhere ("押しました"); Space or Escape again, that it let
    //   go ("離しました").
    // - The read-out, once no button holds the board, when it differs from
    //   what was last told: after a drag's release, a click, an undo. Nothing
    //   while a button is held: the arrows' steps are not told one by one.
    bool announcementPending() const;
    std::string takeAnnouncement();

private:
    enum class Holder { None, Pointer, Keyboard };

    void moveKeyboardPointer(PointF to);
    void keyboardButton(int button, bool press);
    void endHold();
    bool holds(PointerKind kind, int id) const {
        return holder_ == Holder::Pointer && kind == pointerKind_ && id == pointerId_;
    }
    // A finger or a pen is the left button while it touches.
    bool actsAsLeft() const { return pointerKind_ != PointerKind::Mouse; }
    void showCrosshair(bool shown);
    bool undoOrRedo(bool undo);

    Form1 window_;
    History history_;
    Holder holder_ = Holder::None;
    PointerKind pointerKind_ = PointerKind::Mouse; // the pointer that holds the board
    int pointerId_ = 0;
    PointF keyboardAt_;
    bool boardFocused_ = false;
    std::uint64_t keptRevision_ = 0;
    std::uint64_t linkRevision_ = 0;
    std::string linkShown_; // the link last reported
    std::string cue_;       // what the last board key did, not yet told
    std::string announced_; // the read-out last told
};

} // namespace orvanel
