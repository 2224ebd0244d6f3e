// SPDX-License-Identifier: MIT
// Undo and redo of the user's actions. An action is one gesture on the board
// (from the first button pressed to the last released) or one click on a
// control. A step keeps the window's state before and after its action, in
// the compact form a saved board carries it, and, of the board's pixels,
// only the 16 x 16 tiles the action changed, before and after, as runs of
// colours. Which tiles changed is found by comparing the board with a copy
// of it as it stood after the last step, so no handler has to say what it
// painted.
//
// Everything the history holds, that copy included, stays within its budget:
// a new step pushes out the oldest ones until it fits, and the last step is
// always kept, however large. Ordinary actions cost a few kilobytes, so a
// lesson's last hundreds of actions can be taken back; board-wide ones (a
// right click after a zigzag of chalk over the whole board) a few hundred.
#pragma once

#include "window/form1.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace orvanel {

class History {
public:
    static constexpr std::size_t kMaxBytes = std::size_t(32) << 20;
    static constexpr int kTile = 16;

    // Keeps the steps of `window` within `maxBytes`.
    explicit History(const Form1& window, std::size_t maxBytes = kMaxBytes);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // An action starts: the window as it is now is what undo returns to.
    void begin(const Form1& window);
    // The action is over: a step is kept when it changed anything a user can
    // see, and what could be redone is forgotten.
    void end(const Form1& window);

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // Puts the window back to before the last step, or forward to after the
    // step undone last; false when there is none. Every control and the
    // whole board are reported changed.
    bool undo(Form1& window);
    bool redo(Form1& window);

    std::size_t stepCount() const { return done_.size(); }
    // Counts every step kept, undone or redone: the window changed whenever
    // it moves.
    std::uint64_t revision() const { return revision_; }
    // All the memory the history holds: its steps, undone ones included, the
    // copy of the board and the state an action in progress started from.
    std::size_t bytes() const;

    // Forgets the oldest step (or, with none to undo, the step furthest
    // ahead to redo), to free its memory; false when there is none, or the
    // history is in the middle of changing its steps.
    bool giveUpOldest();

    // From now on, when the heap is exhausted, every history gives up its
    // oldest steps, one at a time, before the allocation fails: a program
    // that runs out of memory loses the oldest undo steps, not its life.
    static void giveBackMemoryWhenExhausted();

private:
    struct Step {
        std::vector<std::uint8_t> before; // the window's state, as writeState writes it
        std::vector<std::uint8_t> after;
        std::vector<std::uint16_t> tiles;       // tile numbers, row by row
        std::vector<std::uint8_t> pixelsBefore; // their pixels, tile after tile, as runs
        std::vector<std::uint8_t> pixelsAfter;
        std::size_t bytes() const;
    };

    Rect tileRect(int tile) const;
    // The tiles where the board differs from the copy, with their pixels in
    // both; the copy is brought up to date.
    void takeChangedTiles(const Form1& window, Step& step);
    void apply(Form1& window, const std::vector<std::uint8_t>& state, const Step& step,
               const std::vector<std::uint8_t>& pixels);
    // Undoes (`back`) or redoes the last step of `from`, which moves to `to`.
    bool travel(std::deque<Step>& from, std::deque<Step>& to, Form1& window, bool back);
    void forget(std::deque<Step>& steps, bool oldest);
    static void relieveMemory();

    std::size_t maxBytes_;
    PixelBuffer shown_; // the board's pixels after the last step
    int tilesAcross_;
    int tilesDown_;
    std::optional<Form1::Snapshot> pending_;
    std::deque<Step> done_;
    std::deque<Step> undone_;
    std::size_t stepBytes_ = 0;
    std::uint64_t revision_ = 0;
    // While the deques change, the heap's relief must leave them alone.
    bool busy_ = false;
    // The live histories, newest first, for the heap's relief.
    History* next_ = nullptr;
};

} // namespace orvanel
