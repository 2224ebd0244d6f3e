// SPDX-License-Identifier: MIT
// The board's picture on its canvas: whole at the start, then once a frame
// only the rectangles the model repainted since the last one.

export class Painter {
    // `onFrame` runs after each frame's copy; nothing is painted once
    // `signal` aborts.
    constructor(win, canvas, onFrame, signal) {
        this.win = win;
        this.context = canvas.getContext('2d');
        this.onFrame = onFrame;
        this.frame = 0;
        signal.addEventListener('abort', () => cancelAnimationFrame(this.frame));
        const pixels = win.pixels();
        this.image = new ImageData(
            new Uint8ClampedArray(pixels.buffer, pixels.byteOffset, pixels.byteLength),
            canvas.width, canvas.height);
    }

    paintAll() {
        this.win.updatePicture();
        this.context.putImageData(this.image, 0, 0);
    }

    // Asks for a frame, once however often asked before it comes.
    request() {
        if (!this.frame) {
            this.frame = requestAnimationFrame(() => this.paintChanged());
        }
    }

    paintChanged() {
        this.frame = 0;
        const rects = this.win.updatePicture();
        for (let i = 0; i < rects.length; i += 4) {
            this.context.putImageData(this.image, 0, 0, rects[i], rects[i + 1], rects[i + 2], rects[i + 3]);
        }
        this.onFrame();
    }
}
