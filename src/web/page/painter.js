// SPDX-License-Identifier: MIT
// The board's picture on its canvas: the device pixels the core composes at
// the canvas's size, copied whole at the first frame and after a change of
// size, else only the device rectangles a frame reports repainted.
//
// While a button holds the board, the letters too are drawn on the canvas,
// above the board: an element moved at every frame would cost the browser a
// style, layout and paint pass at every frame.

// What a letter's glyphs may reach beyond its box, in board pixels.
const OVERHANG = 3;

export class Painter {
    constructor(win, canvas) {
        this.win = win;
        this.canvas = canvas;
        // Opaque: the compositor copies the board rather than blending it.
        this.context = canvas.getContext('2d', { alpha: false });
        this.board = { width: win.boardWidth(), height: win.boardHeight() };
        // Device pixels per board pixel, for the letters drawn on the canvas.
        this.k = { x: canvas.width / this.board.width, y: canvas.height / this.board.height };
        // The boxes, in board pixels, that the letters were last drawn over.
        this.drawnOver = [];
        // Whether the next frame copies the whole picture.
        this.whole = true;
        this.takeView();
    }

    // The view of the core's picture, in the module's memory. Memory that
    // grows is a new buffer, and a view over the old one is left empty; a
    // picture of another size is a new one: the view is taken anew.
    takeView() {
        const view = this.win.pixels();
        this.image = new ImageData(new Uint8ClampedArray(view.buffer, view.byteOffset, view.byteLength),
            this.canvas.width, this.canvas.height);
    }

    // Shows the board at `s` device pixels per board pixel, at the size the
    // core gives it, from the next frame on.
    resize(s) {
        const { width, height } = this.win.setScale(s);
        if (width !== this.canvas.width || height !== this.canvas.height) {
            this.canvas.width = width;
            this.canvas.height = height;
            this.k = { x: width / this.board.width, y: height / this.board.height };
            this.whole = true;
            this.drawnOver = [];
        }
        this.takeView();
    }

    // Shows a frame's repainted device rectangles `rects` (left, top, width,
    // height each), then the letters with `letters` (see Board.draw) while a
    // button holds the board, or with null: the board under the letters
    // drawn last is shown again. Only the letters that moved, or that a
    // repainted rectangle or a letter drawn again meets, are drawn again:
    // a drag moves one letter, and the canvas's pixels the browser takes
    // again are those of what changed.
    show(rects, letters) {
        const painted = [];
        if (this.whole) {
            this.whole = false;
            this.drawnOver = [];
            painted.push([0, 0, this.canvas.width, this.canvas.height]);
        } else {
            for (let i = 0; i < rects.length; i += 4) {
                painted.push([rects[i], rects[i + 1], rects[i + 2], rects[i + 3]]);
            }
        }
        const boxes = letters ? letters.boxes : new Int32Array(0);
        // The letters drawn last that moved since, or all when no button
        // holds the board: the board under them is shown again.
        const moved = new Set();
        this.drawnOver.forEach((box, i) => {
            if (!letters || box.some((v, j) => v !== boxes[4 * i + j])) {
                moved.add(i);
                painted.push(this.reach(box));
            }
        });
        for (const [x, y, width, height] of painted) {
            this.paint(x, y, width, height);
        }
        if (!letters) {
            this.drawnOver = [];
            return;
        }
        const count = boxes.length / 4;
        const reach = Array.from({ length: count }, (_, i) => this.reach(boxes.subarray(4 * i, 4 * i + 4)));
        const again = drawnAgain(reach, (r, i) =>
            i >= this.drawnOver.length || moved.has(i) || painted.some((p) => meets(p, r)));
        // A glyph reaches past its box, and drawn twice its edges darken: a
        // letter drawn again is drawn on the board under it.
        for (const i of again) {
            const [x, y, width, height] = reach[i];
            this.paint(x, y, width, height);
        }
        if (again.size > 0) {
            letters.draw(this.context, this.k, again);
        }
        this.drawnOver = reach.map((_, i) => [...boxes.subarray(4 * i, 4 * i + 4)]);
    }

    // The device rectangle a letter's box `[x, y, width, height]`, in board
    // pixels, may be drawn over, on the canvas.
    reach([x, y, width, height]) {
        const { x: kx, y: ky } = this.k;
        const left = Math.max(0, Math.floor((x - OVERHANG) * kx));
        const top = Math.max(0, Math.floor((y - OVERHANG) * ky));
        const right = Math.min(this.canvas.width, Math.ceil((x + width + OVERHANG) * kx));
        const bottom = Math.min(this.canvas.height, Math.ceil((y + height + OVERHANG) * ky));
        return [left, top, Math.max(0, right - left), Math.max(0, bottom - top)];
    }

    paint(x, y, width, height) {
        if (this.image.data.buffer.byteLength === 0) {
            this.takeView();
        }
        if (width > 0 && height > 0) {
            this.context.putImageData(this.image, 0, 0, x, y, width, height);
        }
    }
}

// The letters to draw again, by index, of those reaching the device
// rectangles `reach`: those `first` picks, and as letters overlap in the
// order they are drawn, those that one drawn again meets, and so on.
function drawnAgain(reach, first) {
    const again = new Set(reach.flatMap((r, i) => (first(r, i) ? [i] : [])));
    for (let grown = true; grown;) {
        grown = false;
        reach.forEach((r, i) => {
            if (!again.has(i) && [...again].some((j) => meets(reach[j], r))) {
                again.add(i);
                grown = true;
            }
        });
    }
    return again;
}

// Whether two device rectangles share a pixel.
function meets([ax, ay, aw, ah], [bx, by, bw, bh]) {
    return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}
