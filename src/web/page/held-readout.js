// SPDX-License-Identifier: MIT
// The read-out while a button holds the board: each label that changes is
// drawn on one canvas laid over the read-out, as its element shows it (the
// caption in its font and colour, aligned in its box of its colour); the
// elements take their captions again once the button is let go. New text
// in four elements at every frame would cost the browser a style, layout
// and paint pass at every frame; the canvas costs a copy of its pixels.
import { element, place } from './dom.js';
import { baseline, cssFont } from './fonts.js';

export class HeldReadout {
    // `controls`: the window's controls, by id; `ids`: the read-out's labels.
    constructor(design, win, controls, ids, root) {
        this.win = win;
        this.windowColor = design.background;
        this.labels = new Map(ids.map((id) => [id, controls[id]]));
        // The canvas covers every label of the read-out, in window pixels.
        const boxes = ids.map((id) => win.control(id).box);
        const left = Math.min(...boxes.map((b) => b.left));
        const top = Math.min(...boxes.map((b) => b.top));
        this.box = {
            left, top,
            width: Math.max(...boxes.map((b) => b.left + b.width)) - left,
            height: Math.max(...boxes.map((b) => b.top + b.height)) - top,
        };
        this.canvas = element('canvas', { className: 'held-readout' });
        this.canvas.setAttribute('aria-hidden', 'true');
        place(this.canvas, this.box);
        root.append(this.canvas);
        this.context = this.canvas.getContext('2d');
        // The labels drawn since the button was pressed, each with what it
        // shows (see shown); a label the core reports as it was drawn is
        // left as it is.
        this.drawn = new Map();
        this.widths = new Map(); // a caption's width, by font and caption
        this.scale = 0;
        this.resize(1);
    }

    // Draws at `s` device pixels per window pixel; a new size clears the
    // canvas, and the labels drawn are drawn again.
    resize(s) {
        if (s !== this.scale) {
            this.scale = s;
            this.canvas.width = Math.round(this.box.width * s);
            this.canvas.height = Math.round(this.box.height * s);
            this.widths.clear();
            const ids = [...this.drawn.keys()];
            this.drawn.clear();
            for (const id of ids) {
                this.draw(id);
            }
        }
    }

    has(id) {
        return this.labels.has(id);
    }

    // Draws the label `id` as the core has it now.
    draw(id) {
        const state = this.win.control(id);
        const shown = state.visible ? (state.bold ? 'b' : 'r') + state.caption : '';
        const was = this.drawn.get(id);
        if (shown === was) {
            return;
        }
        this.drawn.set(id, shown);
        const d = this.labels.get(id).design;
        const ctx = this.context;
        const b = state.box;
        const s = this.scale;
        ctx.setTransform(s, 0, 0, s, -this.box.left * s, -this.box.top * s);
        if (was) {
            ctx.clearRect(b.left, b.top, b.width, b.height);
        }
        if (!state.visible) {
            // A hidden read-out leaves the canvas alone: its element hides.
            this.labels.get(id).show(this.win, state);
            return;
        }
        ctx.fillStyle = d.background || this.windowColor;
        ctx.fillRect(b.left, b.top, b.width, b.height);
        ctx.save();
        if (d.clipped) {
            ctx.beginPath();
            ctx.rect(b.left, b.top, b.width, b.height);
            ctx.clip();
        }
        const bold = d.font.bold || state.bold;
        ctx.font = cssFont(d.font, bold);
        ctx.fillStyle = d.color || '#000';
        // A line's width is laid out in 1/64 pixels, rounded up.
        const key = `${ctx.font}\n${state.caption}`;
        if (!this.widths.has(key)) {
            this.widths.set(key, Math.ceil(ctx.measureText(state.caption).width * 64) / 64);
        }
        const width = this.widths.get(key);
        const x = d.alignRight ? b.left + b.width - width : b.left;
        ctx.fillText(state.caption, x, b.top + baseline(d.font, bold));
        ctx.restore();
    }

    // The button is let go: each label drawn shows its caption again, and
    // the canvas nothing.
    clear() {
        for (const control of this.labels.values()) {
            control.show(this.win);
        }
        this.drawn.clear();
        this.context.setTransform(1, 0, 0, 1, 0, 0);
        this.context.clearRect(0, 0, this.canvas.width, this.canvas.height);
    }
}
