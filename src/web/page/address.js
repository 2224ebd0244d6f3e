// SPDX-License-Identifier: MIT
// The figure in the page's address, after its '#', as the core writes and
// reads it: A and D, the boxes "angle" and "nonClear", the grid and the
// placed lines. Opened with one, or given one while it runs, the page shows
// that figure; after every action the address follows the window, so that
// a teacher shares a figure by copying the address. Memo strokes are not in
// it: a saved board carries them.
//
// The figure the page wrote itself is marked in its history entry: a reload
// starts on the initial screen as any start does, and the last board, kept
// whole, comes back with Ctrl+O; a link opened from elsewhere is a new entry.
import { tell } from './notice.js';

const OWN = 'orvanel-figure';

// The address the page was opened with, less the figure it wrote itself:
// starting again after "終了" starts as the page did.
let opened = null;

function openedAddress() {
    if (opened === null) {
        if (history.state === OWN) {
            history.replaceState(null, '', location.pathname + location.search);
        }
        opened = location.href;
    }
    return opened;
}

// Puts the figure of the address on the model `win`, as one action; an
// unreadable link is told and changes nothing. Returns whether it opened.
function openLink(core, win) {
    const text = location.hash.slice(1);
    if (!text) {
        return false;
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
    }
    return !problem;
}

// At the start: the figure of the address the page was opened with. It is
// in the address already: it is not kept as a board until it changes.
export function openAddressLink(core, win) {
    openedAddress();
    if (openLink(core, win)) {
        win.takeKeepDue();
    }
}

export class Address {
    // `afterInput` runs after a figure given in the address while the
    // window runs; until `signal` aborts.
    constructor(core, win, afterInput, signal) {
        this.win = win;
        this.shown = win.link();
        window.addEventListener('hashchange', () => {
            if (openLink(core, win)) {
                afterInput();
            }
        }, { signal });
    }

    // The figure's link changed (the core tells it once no button holds
    // the board): the address names the figure as the window shows it,
    // written only when it differs.
    follow(link) {
        if (link !== this.shown) {
            this.shown = link;
            history.replaceState(OWN, '', '#' + link);
        }
    }
}

// The window has gone: the address is the one the page was opened with.
export function restoreAddress() {
    if (location.href !== openedAddress()) {
        history.replaceState(null, '', openedAddress());
    }
}
