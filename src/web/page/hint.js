// SPDX-License-Identifier: MIT
// The line that says Ctrl+O brings the last board back, in the core's
// words: said once a page, at its start, when a board is kept. It stands
// beside the window where the page has room for it (on the right, else
// below), never over the board or the controls; where there is none (a
// window fitted to the whole screen) it is left to a screen reader alone.
// It goes once the chooser has been opened, or when the window goes.
import { showCaption } from './dom.js';

// The least and the most width the line takes beside the window, in CSS
// pixels, and its distance from the window.
const LEAST_WIDTH = 160;
const MOST_WIDTH = 320;
const GAP = 16;

export class LastBoardHint {
    constructor(core, design) {
        this.e = document.getElementById('last-board');
        this.size = { width: design.width, height: design.height };
        showCaption(this.e, core.caption('LastBoardHint'));
        this.at = null;
    }

    show() {
        this.e.hidden = false;
        this.place(this.at);
    }

    hide() {
        this.e.hidden = true;
    }

    // Places the line beside the window as `at` (a fit) places it.
    place(at) {
        this.at = at;
        if (this.e.hidden || !at) {
            return;
        }
        const page = document.documentElement;
        const right = at.left + this.size.width * at.factor;
        const bottom = at.top + this.size.height * at.factor;
        const s = this.e.style;
        s.left = s.top = s.width = '';
        this.e.classList.remove('unseen');
        if (page.clientWidth - right - 2 * GAP >= LEAST_WIDTH) {
            s.left = right + GAP + 'px';
            s.top = at.top + GAP + 'px';
            s.width = Math.min(MOST_WIDTH, page.clientWidth - right - 2 * GAP) + 'px';
            return;
        }
        s.left = at.left + GAP + 'px';
        s.top = bottom + GAP + 'px';
        s.width = this.size.width * at.factor - 2 * GAP + 'px';
        if (bottom + GAP + this.e.offsetHeight > page.clientHeight) {
            s.left = s.top = s.width = '';
            this.e.classList.add('unseen');
        }
    }
}
