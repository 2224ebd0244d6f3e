// SPDX-License-Identifier: MIT
// The read-out for a screen reader: one element a line ("∠Ａ = 41°") in a
// group named as the core names the read-out, in place of the labels shown,
// whose captions apart from their values would be read as a jumble; and what
// the core has a screen reader told (where the keys put the pointer, the
// button they hold or let go, the read-out once no button holds the board),
// politely, in a live region.
import { element } from './dom.js';

export class Readout {
    // `controls`: the window's controls, by id.
    constructor(design, win, controls) {
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
        this.stale = false;
        this.show();
    }

    show() {
        this.group.hidden = this.shownWith.hidden;
        this.lines.forEach((line, i) => {
            line.textContent = this.win.readoutLine(i);
        });
    }

    // At every frame, with the ids of the controls that changed, whether a
    // button holds the board and what a screen reader is to hear now. The
    // lines follow the read-out once no button holds the board, as the
    // desktop's names do: a drag does not hand a screen reader a change a
    // step.
    update(changed, held, told) {
        if (changed.some((id) => this.parts.has(id))) {
            this.stale = true;
        }
        if (this.stale && !held) {
            this.stale = false;
            this.show();
        }
        if (told) {
            // The same words again ("頂点 D" twice) must change the region
            // for a screen reader to tell them again.
            this.live.textContent = this.live.textContent === told ? told + '\u00a0' : told;
        }
    }
}
