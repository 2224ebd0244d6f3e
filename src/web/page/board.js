// SPDX-License-Identifier: MIT
// The board's elements: its sunken frame, the canvas that shows its picture,
// and the vertex letters standing over it, where a screen reader finds them.
import { element, place, sameBox } from './dom.js';
import { setFont } from './fonts.js';

export class Board {
    constructor(design, win) {
        this.win = win;
        this.frame = element('div', { className: 'board-frame' });
        place(this.frame, design.board);
        this.frame.append(element('div', { className: 'board-ring' }));
        // The canvas in a layer of its own, the letters in one above it that
        // the browser draws again at every size. Both places count from
        // inside the frame's outer ring.
        const [area, above] = ['board-area', 'board-letters'].map((className) => {
            const e = element('div', { className });
            e.style.left = (design.boardBorder - 1) + 'px';
            e.style.top = (design.boardBorder - 1) + 'px';
            e.style.width = win.boardWidth() + 'px';
            e.style.height = win.boardHeight() + 'px';
            return e;
        });
        area.style.background = design.boardBackground;

        this.canvas = element('canvas', { id: 'gamen', width: win.boardWidth(), height: win.boardHeight() });
        this.canvas.tabIndex = 0;
        this.canvas.setAttribute('role', 'img');
        this.canvas.setAttribute('aria-label', design.boardName);
        this.canvas.setAttribute('aria-description', design.boardDescription);
        this.canvas.style.width = win.boardWidth() + 'px';
        this.canvas.style.height = win.boardHeight() + 'px';
        area.append(this.canvas);

        this.letters = Array.from({ length: win.letterCount() }, (_, i) => {
            const letter = win.letter(i);
            const e = element('span', { id: 'Label2_' + i, className: 'letter', textContent: letter.caption });
            e.setAttribute('role', 'img');
            e.setAttribute('aria-label', letter.name);
            setFont(e, design.letterFont, design.letterFont.bold);
            e.style.color = design.letterColor;
            e.style.background = design.letterBackground;
            above.append(e);
            return { element: e, box: { left: NaN, top: NaN, width: NaN, height: NaN } };
        });
        this.frame.append(area, above);
    }

    // Puts each letter where the model has it, touching only those that
    // moved. A letter is moved by a transform from the board's corner: the
    // page is then painted anew at the next frame, not laid out anew.
    placeLetters() {
        const boxes = this.win.letterBoxes();
        this.letters.forEach((shown, i) => {
            const [left, top, width, height] = boxes.subarray(4 * i, 4 * i + 4);
            const l = { left, top, width, height };
            if (!sameBox(shown.box, l)) {
                place(shown.element, { left: 0, top: 0, width, height });
                shown.element.style.transform = `translate(${left}px, ${top}px)`;
                shown.box = l;
            }
        });
    }
}
