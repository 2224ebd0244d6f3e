// SPDX-License-Identifier: MIT
// The board's pointer input: the browser's mouse, pen and touch events
// handed to the core as they come, in board pixels whatever the page's
// scale. The core decides which pointer holds the board and that a finger
// or a pen is the left button; the page passes on every move the browser
// gathered into an event, and a mouse button pressed or released while
// another is held, which the browser reports as a move.
import { LEFT, MIDDLE, RIGHT } from './buttons.js';

const BUTTONS = LEFT | RIGHT | MIDDLE;

// The core's code of a mouse button; 0 for the others (back, forward).
function buttonCode(button) {
    return [LEFT, MIDDLE, RIGHT][button] || 0;
}

export class BoardPointer {
    // `afterInput` runs after each event handed to `win`; the listeners go
    // away when `signal` aborts.
    constructor(canvas, win, afterInput, signal) {
        this.canvas = canvas;
        this.win = win;
        this.afterInput = afterInput;
        // The mouse buttons last passed on as held, from the mouse's press on
        // the board until its release (0 otherwise).
        this.mouseHeld = 0;
        // Where the board lies on the page, asked of the browser again only
        // after a press, a resize or a scroll: asking at every move would
        // lay the page out again at every move.
        this.rect = null;
        window.addEventListener('resize', () => this.forgetPlace(), { signal });
        window.addEventListener('scroll', () => this.forgetPlace(), { signal, capture: true });
        const on = (type, handle) => canvas.addEventListener(type, handle, { signal });
        on('pointerdown', (e) => this.down(e));
        on('pointermove', (e) => this.moved(e));
        on('pointerup', (e) => this.up(e));
        on('pointercancel', (e) => this.lost(e));
        on('lostpointercapture', (e) => this.lost(e));
        // The right button belongs to the board: no context menu over it.
        on('contextmenu', (e) => e.preventDefault());
    }

    // The board moved or changed its size on the page.
    forgetPlace() {
        this.rect = null;
    }

    // Board position of an event, in real board pixels. The browser gives
    // positions to about a ten-thousandth of a pixel; on a board shown at a
    // factor such as 1.57 that noise is dropped (to 1/512 of a board pixel),
    // so a point of the board is the same point at every factor.
    at(e) {
        const snap = (v) => Math.round(v * 512) / 512;
        const r = this.rect || (this.rect = this.canvas.getBoundingClientRect());
        return [snap((e.clientX - r.left) * this.win.boardWidth() / r.width),
            snap((e.clientY - r.top) * this.win.boardHeight() / r.height)];
    }

    down(e) {
        if (e.pointerType === 'mouse') {
            // No middle-button scrolling (the style keeps text from being
            // selected). Not for a pen: WebKit then drops its moves.
            e.preventDefault();
            this.mouseHeld = e.buttons & BUTTONS;
        }
        // The board takes the focus from the press, and the core hears so
        // (Keys): a press shows neither the crosshair nor the focus ring.
        this.canvas.focus({ preventScroll: true });
        this.rect = null;
        try {
            this.canvas.setPointerCapture(e.pointerId);
        } catch (error) {
            // The pointer is already gone; its release comes all the same.
        }
        const [x, y] = this.at(e);
        this.win.pointerPress(e.pointerType, e.pointerId, buttonCode(e.button), e.buttons & BUTTONS, x, y);
        this.afterInput();
    }

    moved(e) {
        // A button pressed or released while another is held comes as a
        // move whose `buttons` differ from those held: a press or release of
        // each button that changed. (Its `button` names the button in most
        // browsers, but WebKit names one in every move after a chord.)
        const held = e.buttons & BUTTONS;
        const chord = e.pointerType === 'mouse' && this.mouseHeld !== 0 && held !== this.mouseHeld;
        const gathered = e.getCoalescedEvents ? e.getCoalescedEvents() : [];
        const moves = gathered.length ? gathered : [e];
        const last = chord ? moves.length - 1 : moves.length;
        for (let i = 0; i < last; ++i) {
            const [x, y] = this.at(moves[i]);
            this.win.pointerMove(e.pointerType, e.pointerId, moves[i].buttons & BUTTONS, x, y);
        }
        if (chord) {
            const [x, y] = this.at(e);
            for (const code of [LEFT, RIGHT, MIDDLE]) {
                if ((held ^ this.mouseHeld) & code) {
                    this.mouseHeld ^= code;
                    if (held & code) {
                        this.win.pointerPress(e.pointerType, e.pointerId, code, this.mouseHeld, x, y);
                    } else {
                        this.win.pointerRelease(e.pointerType, e.pointerId, code, this.mouseHeld, x, y);
                    }
                }
            }
        }
        this.afterInput();
    }

    up(e) {
        const [x, y] = this.at(e);
        const held = e.buttons & BUTTONS;
        this.win.pointerRelease(e.pointerType, e.pointerId, buttonCode(e.button), held, x, y);
        if (e.pointerType === 'mouse') {
            this.mouseHeld = 0;
            if (held) {
                // Buttons the browser let go of without telling each.
                this.win.pointerCancel(e.pointerType, e.pointerId);
            }
        }
        this.afterInput();
    }

    // The system took the pointer away (a gesture of its own, say), or the
    // board lost it without a release: its buttons are up, at the last
    // position the core was told of.
    lost(e) {
        if (e.pointerType === 'mouse') {
            this.mouseHeld = 0;
        }
        this.win.pointerCancel(e.pointerType, e.pointerId);
        this.afterInput();
    }
}
