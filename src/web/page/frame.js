// SPDX-License-Identifier: MIT
// The core's frame, everything the page shows anew since the last one,
// taken in one call and read from the one view of numbers it comes in; the
// words for a screen reader and the figure's link are asked for only when
// the frame says it has them.

// The flags in the frame's first number.
const HELD = 1;
const CROSSHAIR = 2;
const KEEP_DUE = 4;
const ENDED = 8;
const ANNOUNCEMENT = 16;
const LINK = 32;

// The frame of the core's window `win`: whether a button holds the board,
// the crosshair shows, the board is to be kept, the window ended; what a
// screen reader is to hear now ('' for nothing) and the figure's new link
// (null when unchanged); the ids of the controls whose state changed, the
// repainted device rectangles (left, top, width, height each), and the
// letters' boxes in board pixels (the same four numbers) when they moved,
// else null.
export function takeFrame(win) {
    // A copy: the view lasts only until the next call into the module.
    const numbers = win.takeFrame().slice();
    let at = 1;
    // The next part: a count, then that many items of `size` numbers.
    const part = (size) => {
        const end = at + 1 + numbers[at] * size;
        const items = numbers.subarray(at + 1, end);
        at = end;
        return items;
    };
    const flags = numbers[0];
    const controls = part(1);
    const rects = part(4);
    const letters = part(4);
    return {
        held: (flags & HELD) !== 0,
        crosshair: (flags & CROSSHAIR) !== 0,
        keepDue: (flags & KEEP_DUE) !== 0,
        ended: (flags & ENDED) !== 0,
        announcement: flags & ANNOUNCEMENT ? win.frameAnnouncement() : '',
        link: flags & LINK ? win.frameLink() : null,
        controls,
        rects,
        letters: letters.length ? letters : null,
    };
}
