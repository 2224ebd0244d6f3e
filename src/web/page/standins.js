// SPDX-License-Identifier: MIT
// Rules the window model is to own, kept by the page until it does, each
// behind one function so that the page can call the model's instead.
import { LEFT, MIDDLE, RIGHT } from './buttons.js';

// The design was made at 96 dots per inch: a point is 4/3 of a pixel,
// rounded to whole pixels as the desktop sizes its fonts. The default face
// is the desktop's user-interface font, a 9-point Gothic.
export function fontPixels(font) {
    return font.face === 'default' ? 12 : Math.round(font.points * 96 / 72);
}

// What a screen reader calls the board and its vertex letters.
export function boardNames(letterCount) {
    return {
        name: 'Board',
        description: 'The wedge A, B, C, D; drag A or D to change its angles',
        letters: Array.from({ length: letterCount }, (_, i) => 'Vertex ' + String.fromCharCode(65 + i)),
    };
}

// The board (-1) and the control ids in the design's tab order.
export function tabOrder(design) {
    return [{ tab: design.boardTab, id: -1 }, ...design.controls.map((d) => ({ tab: d.tab, id: d.id }))]
        .sort((a, b) => a.tab - b.tab)
        .map((o) => o.id);
}

// The pointer is gone without a release of the buttons `held`: each is
// released in turn at (x, y).
export function boardCancel(win, held, x, y) {
    for (const code of [LEFT, RIGHT, MIDDLE]) {
        if (held & code) {
            held &= ~code;
            win.release(code, held, x, y);
        }
    }
}
