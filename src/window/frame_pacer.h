// SPDX-License-Identifier: MIT
// When a shell that has no frame clock of its display (the desktop's widgets)
// shows what changed on the board. Every pointer move changes the board, but
// the screen need not follow faster than it refreshes: a change soon after a
// frame waits for the first event a frame later, gathering what changes
// meanwhile, and a wait of up to two frames shows what changed last once the
// events stop; while the pointer moves, that comes at most every other frame.
// A browser shows changes at its own frames and needs none of this.
#pragma once

#include <cstdint>
#include <optional>

namespace orvanel {

class FramePacer {
public:
    static constexpr std::int64_t kFrameMillis = 16;

    // How long to wait, at `now` (milliseconds on a steady clock), before the
    // change is shown: 0 to show it now.
    std::int64_t wait(std::int64_t now) const {
        if (!lastShown_ || now - *lastShown_ >= kFrameMillis) {
            return 0;
        }
        return 2 * kFrameMillis - (now - *lastShown_);
    }
    // The change was shown at `now`.
    void shown(std::int64_t now) { lastShown_ = now; }

private:
    std::optional<std::int64_t> lastShown_;
};

} // namespace orvanel
