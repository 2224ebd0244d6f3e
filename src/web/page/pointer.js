// SPDX-License-Identifier: MIT
// The board's pointer input: mouse, pen and touch events turned into the
// model's press, move and release, in board pixels whatever the page's
// scale. Touch and pen act as the left button.
import { LEFT, MIDDLE, RIGHT } from './buttons.js';

const BUTTONS = LEFT | RIGHT | MIDDLE;

// The model's code of a mouse button; 0 for the others (back, forward).
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
        // The pointer that holds the board: the mouse while a button is
        // held, or the one finger or pen touching it. `held` is what the
        // model was told is held.
        this.holder = null;
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

    press(button, held, x, y) {
        this.holder.held = held;
        this.win.press(button, held, x, y);
    }

    move(held, x, y) {
        this.win.move(held, x, y);
    }

    release(button, held, x, y) {
        this.holder.held = held;
        this.win.release(button, held, x, y);
        if (held === 0) {
            this.holder = null;
        }
    }

    // Lets go of every button the model holds, where the pointer last was.
    releaseAll() {
        this.win.cancel();
        this.holder = null;
    }

    down(e) {
        if (this.holder && this.holder.id !== e.pointerId) {
            return; // a second finger, or a pen while the mouse holds the board
        }
        if (e.pointerType === 'mouse') {
            // No middle-button scrolling (the style keeps text from being
            // selected). Not for a pen: WebKit then drops its moves.
            e.preventDefault();
        }
        // The board takes the focus from the press, and the model hears so
        // (Keys): a press shows neither the crosshair nor the focus ring.
        this.canvas.focus({ preventScroll: true });
        this.rect = null;
        const [x, y] = this.at(e);
        this.holder = { id: e.pointerId, mouse: e.pointerType === 'mouse', held: 0 };
        try {
            this.canvas.setPointerCapture(e.pointerId);
        } catch (error) {
            // The pointer is already gone; its release comes all the same.
        }
        if (this.holder.mouse) {
            this.press(buttonCode(e.button), e.buttons & BUTTONS, x, y);
        } else {
            this.press(LEFT, LEFT, x, y);
        }
        this.afterInput();
    }

    moved(e) {
        const p = this.holder;
        if (p ? p.id !== e.pointerId
            : e.pointerType === 'touch' || (e.pointerType === 'mouse' && e.buttons & BUTTONS)) {
            return; // another finger; or a mouse held down somewhere else
        }
        const mouseHeld = p && p.mouse;
        // A button pressed or released while another is held comes as a
        // move whose `buttons` differ from those held: a press or release of
        // each button that changed. (Its `button` names the button in most
        // browsers, but WebKit names one in every move after a chord.)
        const held = e.buttons & BUTTONS;
        const chord = mouseHeld && held !== p.held;
        const gathered = e.getCoalescedEvents ? e.getCoalescedEvents() : [];
        const moves = gathered.length ? gathered : [e];
        const last = chord ? moves.length - 1 : moves.length;
        for (let i = 0; i < last; ++i) {
            const [x, y] = this.at(moves[i]);
            this.move(mouseHeld ? moves[i].buttons & BUTTONS : (p ? LEFT : 0), x, y);
        }
        if (chord) {
            const [x, y] = this.at(e);
            let now = p.held;
            for (const code of [LEFT, RIGHT, MIDDLE]) {
                if ((held ^ now) & code) {
                    now ^= code;
                    if (held & code) {
                        this.press(code, now, x, y);
                    } else {
                        this.release(code, now, x, y);
                    }
                }
            }
        }
        this.afterInput();
    }

    up(e) {
        const p = this.holder;
        if (!p || p.id !== e.pointerId) {
            return;
        }
        const [x, y] = this.at(e);
        if (p.mouse) {
            this.release(buttonCode(e.button), e.buttons & BUTTONS, x, y);
            if (this.holder) {
                // Buttons the browser let go of without telling each.
                this.releaseAll();
            }
        } else {
            this.release(LEFT, 0, x, y);
        }
        this.afterInput();
    }

    // The system took the pointer away (a gesture of its own, say), or the
    // board lost it without a release: the buttons are up, at the last
    // position the model was told of.
    lost(e) {
        const p = this.holder;
        if (!p || p.id !== e.pointerId) {
            return;
        }
        this.releaseAll();
        this.afterInput();
    }
}
