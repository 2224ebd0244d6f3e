// SPDX-License-Identifier: MIT
// Undo and redo of the user's actions. An action is one gesture on the board
// (from the first button pressed to the last released) or one click on a
// control. A step keeps the window's state before and after its action and,
// of the board's pixels, only the 16 x 16 tiles the action changed, before
// and after. Which tiles changed is found by comparing the board with a copy
// of it as it stood after the last step, so no handler has to say what it
// painted.
#pragma once

#include "window/form1.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

namespace orvanel {

class History {
public:
    // At least this many steps are kept, and more while they fit in kMaxBytes.
    static constexpr std::size_t kMinSteps = 100;
    static constexpr std::size_t kMaxBytes = std::size_t(32) << 20;
    static constexpr int kTile = 16;

    explicit History(const Form1& window);

    // An action starts: the window as it is now is what undo returns to.
    void begin(const Form1& window);
    // The action is over: a step is kept when it changed anything a user can
    // see, and what could be redone is forgotten.
    void end(const Form1& window);

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // Puts the window back to before the last step, or forward to after the
    // step undone last; false when there is none.
    bool undo(Form1& window);
    bool redo(Form1& window);

    std::size_t stepCount() const { return done_.size(); }
    // The memory the kept steps hold, undone ones included.
    std::size_t bytes() const { return bytes_; }

private:
    struct Step {
        Form1::Snapshot before;
        Form1::Snapshot after;
        std::vector<int> tiles;        // tile numbers, row by row
        std::vector<Rgb> pixelsBefore; // their pixels, tile after tile
        std::vector<Rgb> pixelsAfter;
        std::size_t bytes() const;
    };

    Rect tileRect(int tile) const;
    // The tiles where the board differs from the copy, with their pixels in
    // both; the copy is brought up to date.
    void takeChangedTiles(const Form1& window, Step& step);
    void apply(Form1& window, const Form1::Snapshot& state, const Step& step,
               const std::vector<Rgb>& pixels);
    // Undoes (`back`) or redoes the last step of `from`, which moves to `to`.
    bool travel(std::deque<Step>& from, std::deque<Step>& to, Form1& window, bool back);
    void forget(std::deque<Step>& steps, bool oldest);

    PixelBuffer shown_; // the board's pixels after the last step
    int tilesAcross_;
    int tilesDown_;
    std::optional<Form1::Snapshot> pending_;
    std::deque<Step> done_;
    std::deque<Step> undone_;
    std::size_t bytes_ = 0;
};

} // namespace orvanel
