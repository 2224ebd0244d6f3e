// SPDX-License-Identifier: MIT
// The window's client area as a picture, at the size it is shown: drawn on
// a canvas from what the page shows, since a page cannot take a picture of
// its own elements. The window's colour, each visible control (labels'
// captions; push buttons as raised boxes; check boxes and option buttons
// with their mark), the board's frame and pixels (the very picture its
// canvas shows) and the vertex letters, each where the browser laid it out
// and in the colours and fonts the style gives it.

const TRANSPARENT = 'rgba(0, 0, 0, 0)';

// Draws in window pixels on a canvas of the window's size times `scale`.
class Drawing {
    constructor(root, width, height) {
        this.origin = root.getBoundingClientRect();
        this.scale = this.origin.width / width;
        this.canvas = document.createElement('canvas');
        this.canvas.width = Math.round(width * this.scale);
        this.canvas.height = Math.round(height * this.scale);
        this.context = this.canvas.getContext('2d');
        this.context.scale(this.scale, this.scale);
        this.context.imageSmoothingEnabled = false;
    }

    // A screen rectangle in window pixels.
    box(r) {
        return {
            left: (r.left - this.origin.left) / this.scale,
            top: (r.top - this.origin.top) / this.scale,
            width: r.width / this.scale,
            height: r.height / this.scale,
        };
    }

    fill(b, color) {
        if (color && color !== TRANSPARENT) {
            this.context.fillStyle = color;
            this.context.fillRect(b.left, b.top, b.width, b.height);
        }
    }

    // A one-pixel border, its top and left edges in one colour, its bottom
    // and right ones in another.
    border(b, topLeft, bottomRight) {
        const c = this.context;
        c.fillStyle = topLeft;
        c.fillRect(b.left, b.top, b.width, 1);
        c.fillRect(b.left, b.top, 1, b.height);
        c.fillStyle = bottomRight;
        c.fillRect(b.left, b.top + b.height - 1, b.width, 1);
        c.fillRect(b.left + b.width - 1, b.top, 1, b.height);
    }

    // The text of `e` where the browser set it, in its font and colour,
    // clipped to `clip` where given.
    text(e, clip) {
        const text = e.textContent;
        if (!text.trim()) {
            return;
        }
        const s = getComputedStyle(e);
        const range = document.createRange();
        range.selectNodeContents(e);
        const at = this.box(range.getBoundingClientRect());
        const c = this.context;
        c.save();
        if (clip) {
            c.beginPath();
            c.rect(clip.left, clip.top, clip.width, clip.height);
            c.clip();
        }
        c.font = `${s.fontWeight} ${s.fontSize} ${s.fontFamily}`;
        c.fillStyle = s.color;
        c.fillText(text, at.left, at.top + c.measureText(text).fontBoundingBoxAscent);
        c.restore();
    }

    label(e) {
        const b = this.box(e.getBoundingClientRect());
        this.fill(b, getComputedStyle(e).backgroundColor);
        this.text(e, e.classList.contains('clipped') ? b : null);
    }

    // A push button: its face, its rounded rim and its caption.
    button(e) {
        const s = getComputedStyle(e);
        const b = this.box(e.getBoundingClientRect());
        const face = getComputedStyle(document.documentElement);
        const c = this.context;
        const gradient = c.createLinearGradient(0, b.top, 0, b.top + b.height);
        gradient.addColorStop(0, face.getPropertyValue('--button-face-top').trim());
        gradient.addColorStop(1, face.getPropertyValue('--button-face-bottom').trim());
        c.beginPath();
        c.roundRect(b.left + 0.5, b.top + 0.5, b.width - 1, b.height - 1, parseFloat(s.borderTopLeftRadius));
        c.fillStyle = gradient;
        c.fill();
        c.strokeStyle = s.borderTopColor;
        c.lineWidth = 1;
        c.stroke();
        this.text(e, b);
    }

    // A check box or an option button: the box's colour, the mark, its tick
    // or dot when chosen, and the caption.
    choice(box, input) {
        const b = this.box(box.getBoundingClientRect());
        this.fill(b, getComputedStyle(box).backgroundColor);
        const shown = box.querySelector('.mark');
        const s = getComputedStyle(shown);
        const m = this.box(shown.getBoundingClientRect());
        const c = this.context;
        const radio = input.type === 'radio';
        c.beginPath();
        if (radio) {
            c.arc(m.left + m.width / 2, m.top + m.height / 2, m.width / 2 - 0.5, 0, 2 * Math.PI);
        } else {
            c.rect(m.left + 0.5, m.top + 0.5, m.width - 1, m.height - 1);
        }
        c.fillStyle = s.backgroundColor === TRANSPARENT ? '#fff' : s.backgroundColor;
        c.fill();
        c.strokeStyle = s.borderTopColor;
        c.lineWidth = 1;
        c.stroke();
        if (input.checked) {
            const mark = getComputedStyle(shown, '::before');
            const x = m.left + m.width / 2;
            const y = m.top + m.height / 2;
            c.beginPath();
            if (radio) {
                c.arc(x, y, 3, 0, 2 * Math.PI);
                c.fillStyle = mark.backgroundColor;
                c.fill();
            } else {
                c.moveTo(x - 3.5, y - 1);
                c.lineTo(x - 1, y + 1.5);
                c.lineTo(x + 3.5, y - 3);
                c.strokeStyle = mark.borderLeftColor;
                c.lineWidth = 2;
                c.stroke();
            }
        }
        this.text(box.lastChild, b);
    }

    // The board: its sunken frame, its pixels and the letters on it.
    board(board) {
        const frame = getComputedStyle(board.frame);
        const ring = getComputedStyle(board.frame.firstChild);
        const outer = this.box(board.frame.getBoundingClientRect());
        this.border(outer, frame.borderTopColor, frame.borderBottomColor);
        const inner = { left: outer.left + 1, top: outer.top + 1, width: outer.width - 2, height: outer.height - 2 };
        this.border(inner, ring.borderTopColor, ring.borderBottomColor);
        const area = this.box(board.canvas.getBoundingClientRect());
        this.context.drawImage(board.canvas, area.left, area.top, area.width, area.height);
        for (const { element } of board.letters) {
            this.fill(this.box(element.getBoundingClientRect()), getComputedStyle(element).backgroundColor);
            this.text(element, area);
        }
    }
}

// The picture of the window in `root` (the design's size), with its
// `board` and `controls` as the page shows them.
export function windowPicture(root, design, board, controls) {
    const d = new Drawing(root, design.width, design.height);
    d.fill({ left: 0, top: 0, width: design.width, height: design.height }, getComputedStyle(root).backgroundColor);
    d.board(board);
    for (const control of controls) {
        if (control.box.hidden) {
            continue;
        }
        if (control.input) {
            d.choice(control.box, control.input);
        } else if (control.design.kind === 'button') {
            d.button(control.box);
        } else {
            d.label(control.box);
        }
    }
    return d.canvas;
}
