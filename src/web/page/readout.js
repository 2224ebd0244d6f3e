// SPDX-License-Identifier: MIT
// The read-out for a screen reader: one element a line ("∠Ａ = 41°") in a
// group named as the model names the read-out, in place of the labels shown,
// whose captions apart from their values would be read as a jumble; and its
// changes told politely, as one sentence, at once when no button is held on
// the board, else once the figure has been still for half a second.
import { element } from './dom.js';

const STILL_MILLIS = 500;

export class Readout {
    // `controls`: the window's controls, by id; the timer stops when
    // `signal` aborts.
    constructor(design, win, controls, signal) {
        this.win = win;
        this.parts = new Set(design.readoutControls);
        this.shownWith = controls[design.readoutControls[0]].box;
        for (const id of this.parts) {
            controls[id].box.setAttribute('aria-hidden', 'true');
        }
        this.group = element('div', { className: 'unseen' });
        this.group.setAttribute('role', 'group');
        this.group.setAttribute('aria-label', design.readoutName);
        this.lines = [0, 1, 2, 3].map(() => element('div'));
        this.group.append(...this.lines);
        // Where the labels stand among the controls.
        this.shownWith.before(this.group);
        this.live = element('div', { className: 'unseen' });
        this.live.setAttribute('aria-live', 'polite');
        this.shownWith.parentElement.append(this.live);
        this.timer = 0;
        this.waiting = false;
        signal.addEventListener('abort', () => clearTimeout(this.timer));
        this.show();
    }

    show() {
        this.group.hidden = this.shownWith.hidden;
        this.lines.forEach((line, i) => {
            line.textContent = this.win.readoutLine(i);
        });
    }

    // After every input, with the ids of the controls that changed. While
    // a button is held the lines too wait for the announcement, as the
    // desktop's names do: a screen reader is not handed a change a step.
    update(changed) {
        const readoutChanged = changed.some((id) => this.parts.has(id));
        const held = this.win.gestureInProgress();
        if (readoutChanged) {
            this.waiting = true;
            if (!held) {
                this.show();
            }
        }
        if (!this.waiting || (held && !readoutChanged)) {
            return; // nothing to tell, or the timer runs from the last change
        }
        if (!held) {
            this.announce();
            return;
        }
        // One timer for the whole drag: when it fires early it waits again
        // for the rest of the half second since the last change.
        this.changedAt = performance.now();
        if (!this.timer) {
            this.waitForStill(STILL_MILLIS);
        }
    }

    waitForStill(ms) {
        this.timer = setTimeout(() => {
            const still = performance.now() - this.changedAt;
            if (still < STILL_MILLIS) {
                this.waitForStill(STILL_MILLIS - still);
            } else {
                this.announce();
            }
        }, ms);
    }

    announce() {
        clearTimeout(this.timer);
        this.timer = 0;
        this.waiting = false;
        this.show();
        if (this.win.announcementPending()) {
            this.live.textContent = this.win.takeAnnouncement();
        }
    }
}
