// SPDX-License-Identifier: MIT
// The board's elements: its sunken frame, the canvas that shows its picture,
// and the vertex letters standing over it, where a screen reader finds them.
import { element, place } from './dom.js';
import { baseline, cssFont, setFont } from './fonts.js';

export class Board {
    constructor(design, win) {
        this.design = design;
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

        // The board takes its keys itself: a screen reader passes them on to
        // an application, rather than taking D, Space and the arrows for its
        // own reading. Orca switches to that mode only for an application
        // inside an application, with content of its own: the canvas's
        // fallback, its instructions, is its description.
        area.setAttribute('role', 'application');
        this.canvas = element('canvas', { id: 'gamen', width: win.boardWidth(), height: win.boardHeight() });
        this.canvas.tabIndex = 0;
        this.canvas.setAttribute('role', 'application');
        this.canvas.setAttribute('aria-roledescription', design.boardRoleDescription);
        this.canvas.setAttribute('aria-label', design.boardName);
        this.canvas.setAttribute('aria-describedby', 'gamen-help');
        this.canvas.append(element('p', { id: 'gamen-help', textContent: design.boardDescription }));
        this.canvas.style.width = win.boardWidth() + 'px';
        this.canvas.style.height = win.boardHeight() + 'px';
        area.append(this.canvas);

        // The letters' boxes where the core has them, in board pixels: four
        // numbers each.
        this.boxes = new Int32Array(4 * win.letterCount());
        this.letters = Array.from({ length: win.letterCount() }, (_, i) => {
            const letter = win.letter(i);
            this.boxes.set([letter.left, letter.top, letter.width, letter.height], 4 * i);
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
        this.above = above;
        this.size = { width: win.boardWidth(), height: win.boardHeight() };
    }

    // The letters moved: `boxes` are their new boxes (see this.boxes).
    setBoxes(boxes) {
        this.boxes = boxes;
    }

    // The board's focus ring shows with the keyboard pointer's crosshair.
    showRing(shown) {
        this.frame.classList.toggle('keyboard', shown);
    }

    // Whether the letters are drawn on the board's canvas (see draw) rather
    // than shown by their elements, which then stay where they were.
    drawOnCanvas(drawn) {
        this.above.classList.toggle('drawn', drawn);
        if (!drawn) {
            this.placeLetters();
        }
    }

    // Draws the letters `which` (their indices) where the core has them on
    // `ctx`, the board's canvas at `k` device pixels per board pixel, as
    // their elements show them: the caption on a box of the letters' colour.
    draw(ctx, k, which) {
        const font = this.design.letterFont;
        const boxes = this.boxes;
        ctx.save();
        ctx.setTransform(k.x, 0, 0, k.y, 0, 0);
        ctx.beginPath();
        ctx.rect(0, 0, this.size.width, this.size.height);
        ctx.clip();
        ctx.font = cssFont(font, font.bold);
        const down = baseline(font, font.bold);
        this.letters.forEach(({ element }, i) => {
            if (!which.has(i)) {
                return;
            }
            const [left, top, width, height] = boxes.subarray(4 * i, 4 * i + 4);
            ctx.fillStyle = this.design.letterBackground;
            ctx.fillRect(left, top, width, height);
            ctx.fillStyle = this.design.letterColor;
            ctx.fillText(element.textContent, left, top + down);
        });
        ctx.restore();
    }

    // Puts each letter where the core has it, touching only those that
    // moved. A letter is moved by a transform from the board's corner: the
    // page is then painted anew at the next frame, not laid out anew.
    placeLetters() {
        const boxes = this.boxes;
        this.letters.forEach((shown, i) => {
            const [left, top, width, height] = boxes.subarray(4 * i, 4 * i + 4);
            const l = { left, top, width, height };
            const style = shown.element.style;
            if (width !== shown.box.width || height !== shown.box.height) {
                style.width = width + 'px';
                style.height = height + 'px';
            }
            if (left !== shown.box.left || top !== shown.box.top) {
                style.transform = `translate(${left}px, ${top}px)`;
            }
            shown.box = l;
        });
    }
}
