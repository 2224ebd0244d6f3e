// SPDX-License-Identifier: MIT
// The keyboard: the board's keys while it has the focus (the keyboard
// pointer, its buttons, the vertices) and the Ctrl keys anywhere in the page
// (undo, redo, the window's picture saved, copied or printed, a board
// opened). The core decides what each key does; the page only names the
// key.

// The board's keys, by the browser's key names.
const BOARD_KEYS = {
    ArrowLeft: 'Left', ArrowRight: 'Right', ArrowUp: 'Up', ArrowDown: 'Down', ' ': 'Space',
    Escape: 'Escape', a: 'A', d: 'D', F10: 'F10', ContextMenu: 'ContextMenu',
};
// The keys pressed with Ctrl (Cmd on a Mac).
const SHORTCUT_KEYS = { z: 'Z', y: 'Y', s: 'S', c: 'C', p: 'P', o: 'O' };
// While a Japanese input method is on, the browser names no letter key:
// the key's place does.
const PLACES = {
    KeyA: 'a', KeyD: 'd', KeyZ: 'z', KeyY: 'y', KeyS: 's', KeyC: 'c', KeyP: 'p', KeyO: 'o', Space: ' ',
};

function named(e, table) {
    const key = e.key === 'Process' || e.key === 'Unidentified' ? PLACES[e.code] : e.key;
    return key ? table[key.length === 1 ? key.toLowerCase() : key] : undefined;
}

export class Keys {
    // `afterInput` runs after each key handed to the core; `actions` holds what
    // the page does for the keys the core leaves to it: save, copy and
    // print the window's picture, open a board. The listeners go away when
    // `signal` aborts.
    constructor(canvas, win, afterInput, actions, signal) {
        this.canvas = canvas;
        this.win = win;
        this.afterInput = afterInput;
        this.actions = actions;
        canvas.addEventListener('keydown', (e) => this.boardKey(e), { signal });
        // The page's record of its last input: a press of the mouse, a
        // finger or a pen anywhere in it, or a key. The browser's
        // :focus-visible cannot tell: it takes the board focused from a
        // press whose default was cancelled for the keyboard's.
        this.byPointer = false;
        window.addEventListener('pointerdown', () => { this.byPointer = true; }, { signal, capture: true });
        window.addEventListener('keydown', () => { this.byPointer = false; }, { signal, capture: true });
        // The core shows the crosshair while the keyboard has the board:
        // from Tab, or once a board key is used; not when a press focused it
        // (nor when the page's window takes the focus back after one).
        canvas.addEventListener('focus', () => {
            this.win.focusIn(this.byPointer);
            this.afterInput();
        }, { signal });
        // Losing the focus (to another element, or the page's window losing
        // it) lets go of a button the board holds.
        canvas.addEventListener('blur', () => {
            this.win.focusOut();
            this.afterInput();
        }, { signal });
        window.addEventListener('keydown', (e) => this.shortcut(e), { signal });
    }

    boardKey(e) {
        const name = named(e, BOARD_KEYS);
        if (!name || e.ctrlKey || e.altKey || e.metaKey) {
            return;
        }
        // A key held down repeats: the core says what a repeat does (a held
        // Space leaves the button as it is).
        if (this.win.key(name, e.shiftKey, e.repeat) !== 'ignored') {
            e.preventDefault();
        }
        this.afterInput();
    }

    shortcut(e) {
        const name = (e.ctrlKey || e.metaKey) && !e.altKey && named(e, SHORTCUT_KEYS);
        if (!name) {
            return;
        }
        e.preventDefault();
        const result = this.win.shortcut(name, e.shiftKey);
        const action = this.actions[result];
        if (action) {
            action();
        } else {
            this.afterInput();
        }
    }
}
