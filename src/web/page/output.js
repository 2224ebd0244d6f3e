// SPDX-License-Identifier: MIT
// The window's picture leaving the page: downloaded as a PNG file, put on
// the clipboard, or printed alone on one landscape page. Each returns a
// promise that fails when the picture did not leave.
import { element } from './dom.js';

// "orvanel-20261208-151500.png", in local time.
export function pictureName(now = new Date()) {
    const two = (n) => String(n).padStart(2, '0');
    return `orvanel-${now.getFullYear()}${two(now.getMonth() + 1)}${two(now.getDate())}-` +
        `${two(now.getHours())}${two(now.getMinutes())}${two(now.getSeconds())}.png`;
}

function pngOf(canvas) {
    return new Promise((resolve, reject) => canvas.toBlob(
        (blob) => (blob ? resolve(blob) : reject(new Error('the picture could not be made'))), 'image/png'));
}

export async function savePicture(canvas) {
    const url = URL.createObjectURL(await pngOf(canvas));
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
    const png = pngOf(canvas);
    png.catch(() => {});
    await navigator.clipboard.write([new ClipboardItem({ 'image/png': png })]);
}

// The style sheet's print rules show the picture alone, fitted to a
// landscape page; it is gone again once printed.
export async function printPicture(canvas) {
    const image = element('img', { id: 'print-picture', alt: '', src: canvas.toDataURL('image/png') });
    document.body.append(image);
    await image.decode();
    window.addEventListener('afterprint', () => image.remove(), { once: true });
    window.print();
}
