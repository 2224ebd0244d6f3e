// SPDX-License-Identifier: MIT
// The figure in the page's address, after its '#', as the core writes and
// reads it: A and D, the boxes "angle" and "nonClear", the grid and the
// placed lines. Opened with one, the page starts on that figure; after
// every action the address follows the window, so that a teacher shares a
// figure by copying the address. Memo strokes are not in it: a saved board
// carries them.
import { tell } from './notice.js';

// The address the page was opened with: starting again after "終了"
// starts as the page did.
const opened = location.href;

// Puts the figure of the address on the model `win`, as one action; an
// unreadable link is told, and the window starts as usual. The figure is
// in the address already: it is not kept as a board until it changes.
export function openAddressLink(core, win) {
    const text = location.hash.slice(1);
    if (!text) {
        return;
    }
    let link = text;
    try {
        link = decodeURIComponent(text);
    } catch {
        // Not percent-encoded text: the core reads it as it is.
    }
    const problem = win.openLink(link);
    if (problem) {
        tell(core, problem);
    } else {
        win.takeKeepDue();
    }
}

export class Address {
    constructor(win) {
        this.win = win;
        this.shown = win.link();
    }

    // After an action, once no button holds the board: the address names
    // the figure as the window shows it, written only when it changed.
    follow() {
        const link = this.win.link();
        if (link !== this.shown) {
            this.shown = link;
            history.replaceState(history.state, '', '#' + link);
        }
    }
}

// The window has gone: the address is the one the page was opened with.
export function restoreAddress() {
    if (location.href !== opened) {
        history.replaceState(history.state, '', opened);
    }
}
