// SPDX-License-Identifier: MIT
#include "window/session.h"

#include "window/board_file.h"
#include "window/figure_link.h"

#include <algorithm>
#include <utility>

namespace orvanel {

using namespace controls;

namespace {

// The crosshair: arms of this many pixels on each side of its centre, white
// with a black edge so that it shows on the board, the marks and the chalk.
constexpr int kArm = 6;

} // namespace

std::optional<Key> keyNamed(std::string_view name) {
    static constexpr std::pair<std::string_view, Key> kNames[] = {
        {"Left", Key::Left},   {"Right", Key::Right},
        {"Up", Key::Up},       {"Down", Key::Down},
        {"Space", Key::Space}, {"Escape", Key::Escape},
        {"A", Key::A},         {"D", Key::D},
        {"F10", Key::F10},     {"ContextMenu", Key::ContextMenu},
        {"Z", Key::Z},         {"Y", Key::Y},
        {"S", Key::S},         {"C", Key::C},
        {"P", Key::P},         {"O", Key::O},
    };
    for (const auto& [n, key] : kNames) {
        if (n == name) {
            return key;
        }
    }
    return std::nullopt;
}

Session::Session(const TextMeasurer& measurer)
    : window_(measurer),
      history_(window_), keyboardAt_{kBoardSize.width / 2.0, kBoardSize.height / 2.0},
      announced_(readoutSentence()) {
    // A window that runs out of memory gives up its oldest undo steps rather
    // than its life (in a browser the module's memory has a ceiling).
    History::giveBackMemoryWhenExhausted();
}

void Session::click(ControlId id) {
    // A click while a button is held on the board (from the keyboard, or a
    // second pointer) belongs to that gesture's action; "終了" ends the
    // program and leaves nothing to undo.
    if (gestureInProgress() || id == Command2) {
        window_.click(id);
        return;
    }
    history_.begin(window_);
    window_.click(id);
    history_.end(window_);
}

void Session::pointerPress(PointerKind kind, int id, int button, int held, int modifiers, float x,
                           float y) {
    if (holder_ == Holder::None) {
        holder_ = Holder::Pointer;
        pointerKind_ = kind;
        pointerId_ = id;
        history_.begin(window_);
    } else if (!holds(kind, id)) {
        return;
    }
    if (actsAsLeft()) {
        button = held = kLeftButton;
    }
    window_.boardPress(button, held, modifiers, x, y);
}

void Session::pointerMove(PointerKind kind, int id, int held, int modifiers, float x, float y) {
    if (holder_ == Holder::None) {
        // A pointer passing over the board (the eraser's circle follows it),
        // but not one whose button went down elsewhere, nor a finger, which
        // touches only to press.
        if (kind != PointerKind::Touch && held == 0) {
            window_.boardMove(0, modifiers, x, y);
        }
        return;
    }
    if (!holds(kind, id)) {
        return;
    }
    window_.boardMove(actsAsLeft() ? kLeftButton : held, modifiers, x, y);
}

void Session::pointerRelease(PointerKind kind, int id, int button, int held, int modifiers, float x,
                             float y) {
    if (!holds(kind, id)) {
        return;
    }
    if (actsAsLeft()) {
        button = kLeftButton;
        held = 0;
    }
    window_.boardRelease(button, held, modifiers, x, y);
    if (held == 0) {
        holder_ = Holder::None;
        history_.end(window_);
    }
}

void Session::pointerCancel(PointerKind kind, int id) {
    if (!holds(kind, id)) {
        return;
    }
    window_.boardCancel();
    holder_ = Holder::None;
    history_.end(window_);
}

Rect Session::crosshairRect(PointF at) {
    const int x = toPixel(at.x);
    const int y = toPixel(at.y);
    return {x - kArm - 1, y - kArm - 1, 2 * kArm + 3, 2 * kArm + 3};
}

void Session::boardFocusIn(bool byPointer) {
    // The crosshair shows where the keyboard has the board: after Tab, not
    // after a press of the mouse, a finger or a pen that focused it.
    showCrosshair(!byPointer);
}

void Session::boardFocusOut() {
    endHold();
    showCrosshair(false);
}

void Session::showCrosshair(bool shown) {
    if (boardFocused_ != shown) {
        boardFocused_ = shown;
        window_.damageBoard(crosshairRect(keyboardAt_));
    }
}

void Session::endHold() {
    // Whatever held the board lets go where its pointer was: with the focus
    // gone, nothing would tell the user why the board ignores the mouse and
    // Ctrl+Z until a key the board no longer receives.
    if (holder_ == Holder::Keyboard) {
        keyboardButton(kLeftButton, false);
    } else if (holder_ == Holder::Pointer) {
        pointerCancel(pointerKind_, pointerId_);
    }
}

void Session::moveKeyboardPointer(PointF to) {
    // The pointer stays on the board, as a mouse's place on it would.
    to.x = std::clamp(to.x, 0.0, double(kBoardSize.width - 1));
    to.y = std::clamp(to.y, 0.0, double(kBoardSize.height - 1));
    window_.damageBoard(crosshairRect(keyboardAt_));
    keyboardAt_ = to;
    window_.damageBoard(crosshairRect(keyboardAt_));
    if (holder_ != Holder::Pointer) {
        const int held = holder_ == Holder::Keyboard ? kLeftButton : 0;
        window_.boardMove(held, 0, float(to.x), float(to.y));
    }
}

void Session::keyboardButton(int button, bool press) {
    const auto x = float(keyboardAt_.x);
    const auto y = float(keyboardAt_.y);
    if (press) {
        holder_ = Holder::Keyboard;
        history_.begin(window_);
        window_.boardPress(button, button, 0, x, y);
    } else {
        window_.boardRelease(button, 0, 0, x, y);
        holder_ = Holder::None;
        history_.end(window_);
    }
}

KeyResult Session::boardKey(Key key, bool shift, bool repeat) {
    // A key on the board shows where the keyboard pointer is, also when the
    // board took the focus from a mouse click.
    showCrosshair(true);
    const double step = shift ? 10 : 1;
    switch (key) {
    case Key::Left:
        moveKeyboardPointer(keyboardAt_ + PointF{-step, 0});
        return KeyResult::Done;
    case Key::Right:
        moveKeyboardPointer(keyboardAt_ + PointF{step, 0});
        return KeyResult::Done;
    case Key::Up:
        moveKeyboardPointer(keyboardAt_ + PointF{0, -step});
        return KeyResult::Done;
    case Key::Down:
        moveKeyboardPointer(keyboardAt_ + PointF{0, step});
        return KeyResult::Done;
    case Key::Space:
        if (repeat) {
            return KeyResult::Done; // the button stays as the first press left it
        }
        if (holder_ == Holder::None) {
            keyboardButton(kLeftButton, true);
            const HeldVertex vertex = window_.state().dragVertex;
            cue_ = vertex == kNoVertex
                       ? std::string(kButtonPressedText)
                       : std::string(kLetters[std::size_t(vertex) - 1].accessibleName) +
                             std::string(kVertexTakenText);
        } else if (holder_ == Holder::Keyboard) {
            keyboardButton(kLeftButton, false);
            cue_ = kButtonLetGoText;
        }
        return KeyResult::Done;
    case Key::Escape:
        if (holder_ == Holder::Keyboard) {
            keyboardButton(kLeftButton, false);
            cue_ = kButtonLetGoText;
            return KeyResult::Done;
        }
        return KeyResult::Ignored;
    case Key::A:
    case Key::D:
        if (holder_ == Holder::None) {
            const FigureState& f = window_.state().figure;
            moveKeyboardPointer(key == Key::A ? f.a() : f.d());
            cue_ = kLetters[std::size_t(key == Key::A ? kVertexA : kVertexD) - 1].accessibleName;
        }
        return KeyResult::Done;
    case Key::F10:
        if (!shift) {
            return KeyResult::Ignored;
        }
        [[fallthrough]];
    case Key::ContextMenu:
        if (holder_ == Holder::None) {
            keyboardButton(kRightButton, true);
            keyboardButton(kRightButton, false);
        }
        return KeyResult::Done;
    default:
        return KeyResult::Ignored;
    }
}

bool Session::undoOrRedo(bool undo) {
    // A step is whole actions only: nothing moves while a button is held.
    if (gestureInProgress()) {
        return false;
    }
    return undo ? history_.undo(window_) : history_.redo(window_);
}

KeyResult Session::shortcut(Key key, bool shift) {
    switch (key) {
    case Key::Z:
        undoOrRedo(!shift);
        return KeyResult::Done;
    case Key::Y:
        undoOrRedo(false);
        return KeyResult::Done;
    case Key::S:
        return KeyResult::SavePicture;
    case Key::C:
        return KeyResult::CopyPicture;
    case Key::P:
        return KeyResult::PrintPicture;
    case Key::O:
        return KeyResult::OpenBoard;
    default:
        return KeyResult::Ignored;
    }
}

void Session::composeBoard(PixelView target, Rect area, BoardScale scale) const {
    window_.composeBoard(target, area, scale);
    if (!boardFocused_) {
        return;
    }
    // The crosshair, a white cross on a black edge, as blocks of board pixels.
    const int cx = toPixel(keyboardAt_.x);
    const int cy = toPixel(keyboardAt_.y);
    const int across = 2 * kArm + 3;
    area = area.intersected(target.rect());
    for (const Rect& edge :
         {Rect{cx - kArm - 1, cy - 1, across, 1}, Rect{cx - kArm - 1, cy + 1, across, 1},
          Rect{cx - 1, cy - kArm - 1, 1, across}, Rect{cx + 1, cy - kArm - 1, 1, across}}) {
        fillBoardPixels(scale, edge, paletteColor(0), target, area);
    }
    for (const Rect& arm :
         {Rect{cx - kArm, cy, 2 * kArm + 1, 1}, Rect{cx, cy - kArm, 1, 2 * kArm + 1}}) {
        fillBoardPixels(scale, arm, paletteColor(kPaletteWhite), target, area);
    }
}

std::string Session::readoutSentence() const {
    if (!window_.control(Label5[0]).visible) {
        return {};
    }
    std::string sentence;
    for (int i = 0; i < kVertexCount; ++i) {
        sentence += (i > 0 ? "、" : "") + readoutLine(i);
    }
    return sentence;
}

std::string Session::readoutLine(int i) const {
    std::string value = window_.control(Label5[i]).caption;
    value.erase(0, value.find_first_not_of(' '));
    return window_.control(Label3[i]).caption + " " + value + window_.control(Label6[i]).caption;
}

std::vector<std::uint8_t> Session::pictureWithBoard(std::span<const std::uint8_t> png) const {
    return orvanel::pictureWithBoard(png, writeBoard(window_));
}

std::optional<Notice> Session::openBoard(std::span<const std::uint8_t> file) {
    Form1::Snapshot state = window_.snapshot();
    PixelBuffer pixels(kBoardSize, kBoardGreen);
    if (const std::optional<Notice> problem = readBoard(file, state, pixels)) {
        return problem;
    }
    // A file dropped while a button holds the board: the gesture ends first.
    endHold();
    history_.begin(window_);
    window_.restore(state);
    window_.restoreBoardPixels(pixels.rect(), pixels);
    history_.end(window_);
    return std::nullopt;
}

void Session::takeFrame(Frame& frame) {
    frame.controls.reset();
    window_.takeChangedControls([&](ControlId id) { frame.controls.set(indexOf(id)); });
    window_.takeDamageInto(frame.damage);
    frame.held = gestureInProgress();
    frame.crosshair = boardFocused_;
    frame.keepDue = takeKeepDue();
    frame.ended = window_.ended();
    frame.announcement.clear();
    if (announcementPending()) {
        frame.announcement = takeAnnouncement();
    }
    frame.link.reset();
    // The link changes only with an action, and is told between actions.
    if (!frame.held && history_.revision() != linkRevision_) {
        linkRevision_ = history_.revision();
        std::string now = link();
        if (now != linkShown_) {
            linkShown_ = now;
            frame.link = std::move(now);
        }
    }
}

bool Session::takeKeepDue() {
    if (gestureInProgress() || history_.revision() == keptRevision_) {
        return false;
    }
    keptRevision_ = history_.revision();
    return true;
}

std::string Session::link() const {
    return writeLink(linkOf(window_));
}

std::optional<Notice> Session::openLink(std::string_view text) {
    const std::optional<FigureLink> link = readLink(text);
    if (!link) {
        return Notice::BadLink;
    }
    endHold();
    history_.begin(window_);
    window_.openLink(*link);
    history_.end(window_);
    return std::nullopt;
}

bool Session::announcementPending() const {
    return !cue_.empty() || (!gestureInProgress() && readoutSentence() != announced_);
}

std::string Session::takeAnnouncement() {
    // One utterance: told apart, the read-out would cut the cue short.
    std::string told = std::move(cue_);
    cue_.clear();
    if (!gestureInProgress()) {
        std::string sentence = readoutSentence();
        if (sentence != announced_ && !sentence.empty()) {
            told += (told.empty() ? "" : std::string(kUtteranceBreak)) + sentence;
        }
        announced_ = std::move(sentence);
    }
    return told;
}

} // namespace orvanel
