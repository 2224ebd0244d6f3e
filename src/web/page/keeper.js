// SPDX-License-Identifier: MIT
// Keeps the window's board after every action that changed it, as the
// model asks (takeKeepDue), so that a reload, a closed tab or "終了" loses
// nothing: the picture Ctrl+S would save, in the browser's storage (kept.js).
//
// A keep never holds up a frame: it is taken in a task of its own after the
// frame that showed the action, the picture is encoded away from the page's
// thread (encoder.js) and stored without waiting. One keep runs at a time;
// actions that come meanwhile are kept once, together, when it is done.
// While a button holds the board nothing is taken: the gesture is not an
// action yet, and its end asks for the keep again.
//
// The parts on the page's thread show in the browser's performance timeline
// as "orvanel-keep-picture" (the picture drawn, the board's data taken) and
// "orvanel-keep-pack" (the board put in the encoded picture);
// "orvanel-keep" spans the whole keep, until the record is stored.
import { keep } from './kept.js';
import { boardPicture } from './output.js';

// One record per window, and a new one for each board opened in it.
const windowId = () => `${Date.now()}-${Math.random().toString(36).slice(2, 10)}`;

// Whether the storage's refusal was told: once a page, however many
// windows and keeps.
let refusalTold = false;
// Whether the browser was asked to keep the storage for good: once a page.
let persistAsked = false;

function measured(name, start) {
    performance.clearMeasures(name);
    performance.measure(name, { start, end: performance.now() });
}

export class Keeper {
    // `shot()` is the window's picture with the board's data, as Ctrl+S
    // takes them, or null while a button holds the board; `refused()` tells
    // that the storage took nothing.
    constructor(core, shot, refused, signal) {
        this.core = core;
        this.shot = shot;
        this.refused = refused;
        this.signal = signal;
        this.id = windowId();
        this.wanted = false;
        this.timer = 0;
        this.writing = Promise.resolve();
        this.busy = 0; // keeps taken and not yet stored
        signal.addEventListener('abort', () => clearTimeout(this.timer));
    }

    // After each frame: `due` when the model asks for a keep, `held` while
    // a button holds the board.
    afterFrame(due, held) {
        this.wanted ||= due;
        if (this.wanted && !held && !this.busy && !this.timer && !this.signal.aborted) {
            this.timer = setTimeout(() => this.take());
        }
    }

    // The board shown is about to go (the window ends, or another board is
    // opened): what is still to keep of it is taken now.
    takeNow(due) {
        clearTimeout(this.timer);
        this.wanted ||= due;
        this.take();
    }

    // Another board was opened: it is kept apart from the one shown before,
    // which stays among the kept boards as it was.
    startAnew() {
        this.id = windowId();
    }

    take() {
        this.timer = 0;
        const start = performance.now();
        const shot = this.wanted && this.shot();
        if (!shot) {
            return;
        }
        this.wanted = false;
        measured('orvanel-keep-picture', start);
        this.busy += 1;
        const id = this.id;
        this.writing = this.writing.then(() => this.store(id, shot, start));
    }

    async store(id, shot, start) {
        try {
            const png = await boardPicture(this.core, shot, (packing) => measured('orvanel-keep-pack', packing));
            await keep(id, png, this.core.keptBoards);
            if (!persistAsked) {
                persistAsked = true;
                // Kept boards stay until the user forgets them, where the
                // browser grants it.
                navigator.storage?.persist?.().catch(() => {});
            }
            measured('orvanel-keep', start);
        } catch (error) {
            console.warn('Orvanel: the board could not be kept:', error);
            if (!refusalTold) {
                refusalTold = true;
                this.refused();
            }
        }
        this.busy -= 1;
        this.afterFrame(false, false);
    }
}
