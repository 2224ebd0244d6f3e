// SPDX-License-Identifier: MIT
// The board's picture on its canvas: whole at the first frame and after a
// change of size, else once a frame only the rectangles the model repainted
// since the last one.
//
// At one device pixel per board pixel the canvas shows the model's own
// composition of the board, pixel for pixel. At any other size the canvas
// holds device pixels: the board's raster enlarged in whole blocks (or
// shrunk keeping its thin strokes), the light objects drawn above it at the
// screen's resolution.
//
// While a button holds the board, the letters too are drawn on the canvas,
// above everything else: an element moved at every frame would cost the
// browser a style, layout and paint pass at every frame.
import { drawLights } from './lights.js';
import { shrinkInto } from './shrink.js';

// A 32-bit word of the board's pixels from a CSS "rgb(r, g, b)".
function pixelWord(color) {
    const [r, g, b] = color.match(/\d+/g).map(Number);
    return new Uint32Array(new Uint8Array([r, g, b, 255]).buffer)[0];
}

function imageOf(view, width, height) {
    return new ImageData(new Uint8ClampedArray(view.buffer, view.byteOffset, view.byteLength), width, height);
}

export class Painter {
    // `onFrame` runs after each frame's copy; nothing is painted once
    // `signal` aborts. `background` is the board's colour.
    constructor(win, canvas, onFrame, signal, background) {
        this.win = win;
        this.canvas = canvas;
        // Opaque: the compositor copies the board rather than blending it.
        this.context = canvas.getContext('2d', { alpha: false });
        this.onFrame = onFrame;
        this.frame = 0;
        signal.addEventListener('abort', () => cancelAnimationFrame(this.frame));
        this.board = { width: win.boardWidth(), height: win.boardHeight() };
        this.takeViews();
        this.background = pixelWord(background);
        this.raster = null; // the surface at board size, for enlarging
        this.k = { x: 1, y: 1 };
        // What draws the letters on the canvas while a button is held, and
        // the boxes, in board pixels, that they were drawn over.
        this.letters = null;
        this.drawnOver = [];
        // Whether the next frame paints the whole board.
        this.whole = true;
    }

    // The views of the model's pixels, in the module's memory. Memory that
    // grows is a new buffer, and the views over the old one are left empty:
    // they are taken anew before they are used.
    takeViews() {
        const { width, height } = this.board;
        this.image = imageOf(this.win.pixels(), width, height);
        const surface = this.win.surfacePixels();
        this.surface = imageOf(surface, width, height);
        this.words = new Uint32Array(surface.buffer, surface.byteOffset, surface.byteLength / 4);
    }

    // Draws the letters with `letters` (see Board.draw) from now on,
    // or with null, no longer: the board under them is shown again.
    drawLetters(letters) {
        this.letters = letters;
        this.paintLetters();
    }

    // The board under the letters drawn last, then the letters anew. Each
    // box is taken with a margin for the glyphs' overhang.
    paintLetters() {
        const margin = 3;
        for (const [x, y, width, height] of this.drawnOver) {
            const left = Math.max(0, x - margin);
            const top = Math.max(0, y - margin);
            const right = Math.min(this.board.width, x + width + margin);
            const bottom = Math.min(this.board.height, y + height + margin);
            if (right > left && bottom > top) {
                this.paint(left, top, right - left, bottom - top);
            }
        }
        this.drawnOver = this.letters ? this.letters.draw(this.context, this.k) : [];
    }

    // Shows the board at `s` device pixels per board pixel, from the next
    // frame on.
    resize(s) {
        // Whole device pixels, a hair more or less than the board: shown on
        // the board's box from a whole device pixel, each still lands on
        // its own device pixel.
        const width = Math.round(this.board.width * s);
        const height = Math.round(this.board.height * s);
        if (width !== this.canvas.width || height !== this.canvas.height) {
            this.canvas.width = width;
            this.canvas.height = height;
            this.k = { x: width / this.board.width, y: height / this.board.height };
            this.whole = true;
        }
        if (this.whole) {
            this.request();
        }
    }

    direct() {
        return this.canvas.width === this.board.width && this.canvas.height === this.board.height;
    }

    paintAll() {
        this.whole = false;
        this.win.updatePicture();
        this.paint(0, 0, this.board.width, this.board.height);
        this.drawnOver = this.letters ? this.letters.draw(this.context, this.k) : [];
    }

    // Asks for a frame, once however often asked before it comes.
    request() {
        if (!this.frame) {
            this.frame = requestAnimationFrame(() => this.paintChanged());
        }
    }

    paintChanged() {
        this.frame = 0;
        if (this.whole) {
            this.paintAll();
            this.onFrame();
            return;
        }
        // A copy: drawing the light objects calls the model, whose memory may grow.
        const rects = this.win.updatePicture().slice();
        for (let i = 0; i < rects.length; i += 4) {
            this.paint(rects[i], rects[i + 1], rects[i + 2], rects[i + 3]);
        }
        if (this.letters) {
            this.paintLetters();
        }
        this.onFrame();
    }

    paint(x, y, width, height) {
        if (this.words.buffer.byteLength === 0) {
            this.takeViews();
        }
        if (this.direct()) {
            this.context.putImageData(this.image, 0, 0, x, y, width, height);
        } else {
            this.paintScaled(x, y, width, height);
        }
    }

    // Board rectangle (x, y, width, height) at the canvas's device
    // resolution, with a board pixel around it for the light objects'
    // softened edges.
    paintScaled(x, y, width, height) {
        const { x: kx, y: ky } = this.k;
        const left = Math.max(0, Math.floor((x - 1) * kx));
        const top = Math.max(0, Math.floor((y - 1) * ky));
        const right = Math.min(this.canvas.width, Math.ceil((x + width + 1) * kx));
        const bottom = Math.min(this.canvas.height, Math.ceil((y + height + 1) * ky));
        if (right <= left || bottom <= top) {
            return;
        }
        const ctx = this.context;
        if (kx >= 1 && ky >= 1) {
            this.enlarge(ctx, left, top, right, bottom);
        } else {
            const part = ctx.createImageData(right - left, bottom - top);
            shrinkInto(part, left, top, this.words, this.board.width, this.board.height, kx, ky, this.background);
            ctx.putImageData(part, left, top);
        }
        ctx.save();
        ctx.beginPath();
        ctx.rect(left, top, right - left, bottom - top);
        ctx.clip();
        drawLights(ctx, this.win, kx, ky, this.board);
        ctx.restore();
    }

    // The surface enlarged, each board pixel a block of whole device pixels.
    enlarge(ctx, left, top, right, bottom) {
        if (!this.raster) {
            this.raster = document.createElement('canvas');
            this.raster.width = this.board.width;
            this.raster.height = this.board.height;
        }
        const { x: kx, y: ky } = this.k;
        const bx = Math.floor(left / kx);
        const by = Math.floor(top / ky);
        this.raster.getContext('2d').putImageData(this.surface, 0, 0, bx, by,
            Math.ceil(right / kx) - bx + 1, Math.ceil(bottom / ky) - by + 1);
        ctx.save();
        ctx.beginPath();
        ctx.rect(left, top, right - left, bottom - top);
        ctx.clip();
        ctx.imageSmoothingEnabled = false;
        ctx.drawImage(this.raster, 0, 0, this.canvas.width, this.canvas.height);
        ctx.restore();
    }
}
