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
        const area = element('div', { className: 'board-area' });
        // The area's place counts from inside the frame's outer ring.
        area.style.left = (design.boardBorder - 1) + 'px';
        area.style.top = (design.boardBorder - 1) + 'px';
        area.style.width = win.boardWidth() + 'px';
        area.style.height = win.boardHeight() + 'px';
        area.style.background = design.boardBackground;

        this.canvas = element('canvas', { id: 'gamen', width: win.boardWidth(), height: win.boardHeight() });
        this.canvas.tabIndex = 0;
        this.canvas.setAttribute('role', 'img');
        this.canvas.setAttribute('aria-label', design.boardName);
        this.canvas.setAttribute('aria-description', design.boardDescription);
        area.append(this.canvas);

        this.letters = Array.from({ length: win.letterCount() }, (_, i) => {
            const letter = win.letter(i);
            const e = element('span', { id: 'Label2_' + i, className: 'letter', textContent: letter.caption });
            e.setAttribute('role', 'img');
            e.setAttribute('aria-label', letter.name);
            setFont(e, design.letterFont, design.letterFont.bold);
            e.style.color = design.letterColor;
            e.style.background = design.letterBackground;
            area.append(e);
            return { element: e, box: { left: NaN, top: NaN, width: NaN, height: NaN } };
        });
        this.frame.append(area);
    }

    // Puts each letter where the model has it, touching only those that moved.
    placeLetters() {
        this.letters.forEach((shown, i) => {
            const l = this.win.letter(i);
            if (!sameBox(shown.box, l)) {
                place(shown.element, l);
                shown.box = { left: l.left, top: l.top, width: l.width, height: l.height };
            }
        });
    }
}
