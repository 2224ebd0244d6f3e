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
    // drawn last is shown again.
    show(rects, letters) {
        if (this.whole) {
            this.whole = false;
            this.drawnOver = [];
            this.paint(0, 0, this.canvas.width, this.canvas.height);
        } else {
            for (let i = 0; i < rects.length; i += 4) {
                this.paint(rects[i], rects[i + 1], rects[i + 2], rects[i + 3]);
            }
        }
        const { x: kx, y: ky } = this.k;
        for (const [x, y, width, height] of this.drawnOver) {
            const left = Math.max(0, Math.floor((x - OVERHANG) * kx));
            const top = Math.max(0, Math.floor((y - OVERHANG) * ky));
            const right = Math.min(this.canvas.width, Math.ceil((x + width + OVERHANG) * kx));
            const bottom = Math.min(this.canvas.height, Math.ceil((y + height + OVERHANG) * ky));
            if (right > left && bottom > top) {
                this.paint(left, top, right - left, bottom - top);
            }
        }
        this.drawnOver = letters ? letters.draw(this.context, this.k) : [];
    }

    paint(x, y, width, height) {
        if (this.image.data.buffer.byteLength === 0) {
            this.takeView();
        }
        this.context.putImageData(this.image, 0, 0, x, y, width, height);
    }
}
