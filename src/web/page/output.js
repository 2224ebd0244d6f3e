// SPDX-License-Identifier: MIT
// The window's picture leaving the page: made a PNG file with the board in
// it, downloaded, put on the clipboard, or printed alone on one landscape
// page. Saving and copying return a promise that fails when the picture did
// not leave.
import { element } from './dom.js';
import { encodePng, pngBlob } from './encoder.js';

// "orvanel-20261208-151500.png", in local time.
export function pictureName(now = new Date()) {
    const two = (n) => String(n).padStart(2, '0');
    return `orvanel-${now.getFullYear()}${two(now.getMonth() + 1)}${two(now.getDate())}-` +
        `${two(now.getHours())}${two(now.getMinutes())}${two(now.getSeconds())}.png`;
}

// The window's picture `canvas` as a PNG file with the board's data `board`
// (a Uint8Array, taken when the picture was drawn) in it, so that opening
// the file gives the board back. `packed(start)` runs once the board is
// put in, which began at `start`.
export async function boardPicture(core, { canvas, board }, packed = () => {}) {
    const png = await encodePng(canvas);
    const start = performance.now();
    const file = core.pictureWithBoard(png, board);
    packed(start);
    if (!file.length) {
        throw new Error('the browser made no PNG');
    }
    return file;
}

// Downloads `file`, a PNG file's bytes.
export function savePicture(file) {
    const url = URL.createObjectURL(new Blob([file], { type: 'image/png' }));
    const link = element('a', { href: url, download: pictureName() });
    document.body.append(link);
    link.click();
    link.remove();
    // The download has taken the file by the time the page runs again.
    setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// The browser may refuse (no permission, a page not focused, a browser
// without image clipboard): the promise fails then, and nothing is copied.
export async function copyPicture(canvas) {
    // The item is made at once, within the key's gesture; the PNG follows.
    // A PNG that fails fails the write; a write refused before it reads the
    // PNG leaves nothing else to tell.
    const png = pngBlob(canvas);
    png.catch(() => {});
    await navigator.clipboard.write([new ClipboardItem({ 'image/png': png })]);
}

// Whenever the page is printed (Ctrl+P, or the browser's own menu or
// button), the window's picture from `picture()` is put in it just before,
// and the style sheet's print rules show it alone, fitted to a landscape
// page; it goes once printed. `telling(action)` does the action and tells
// the user when it fails. Until `signal` aborts.
export function printWith(picture, telling, signal) {
    let shown = null;
    const remove = () => {
        shown?.remove();
        shown = null;
        document.documentElement.classList.remove('printing');
    };
    // A canvas shows its picture at once: the printout is made right after
    // this listener, before an image would be decoded.
    window.addEventListener('beforeprint', () => telling(() => {
        remove();
        shown = picture();
        shown.id = 'print-picture';
        document.body.append(shown);
        document.documentElement.classList.add('printing');
    }), { signal });
    window.addEventListener('afterprint', remove, { signal });
    signal.addEventListener('abort', remove);
}
