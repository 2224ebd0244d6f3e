// SPDX-License-Identifier: MIT
// The window's picture encoded as a PNG file on a thread of its own: a
// worker draws its pixels on an OffscreenCanvas and encodes them there. A
// canvas's own toBlob encodes on the page's thread, in its idle time: after
// an action that took some 12 ms of the page's thread and from 10 to 330 ms
// before the file was there, so that a tab closed meanwhile lost the board.
// Where a browser cannot run such a worker, the canvas's toBlob serves.

// The worker's whole source: a picture in, a PNG file's bytes out.
function encoding() {
    self.onmessage = async ({ data: { id, image } }) => {
        try {
            const canvas = new OffscreenCanvas(image.width, image.height);
            canvas.getContext('2d').drawImage(image, 0, 0);
            image.close();
            const png = await (await canvas.convertToBlob({ type: 'image/png' })).arrayBuffer();
            self.postMessage({ id, png }, [png]);
        } catch (error) {
            self.postMessage({ id, error: String(error) });
        }
    };
}

let worker; // undefined until first asked, null where there is none
let asked = 0;
const waiting = new Map();

function encoder() {
    if (worker === undefined) {
        worker = null;
        try {
            if (typeof OffscreenCanvas === 'function') {
                const source = URL.createObjectURL(new Blob([`(${encoding})()`], { type: 'text/javascript' }));
                worker = new Worker(source);
                // A worker the browser would not start (a page's policy).
                worker.onerror = (e) => {
                    e.preventDefault();
                    for (const { reject } of waiting.values()) {
                        reject(new Error('the encoding worker did not start'));
                    }
                    waiting.clear();
                };
                worker.onmessage = ({ data }) => {
                    const { resolve, reject } = waiting.get(data.id);
                    waiting.delete(data.id);
                    if (data.png) {
                        resolve(new Uint8Array(data.png));
                    } else {
                        reject(new Error(data.error));
                    }
                };
            }
        } catch (error) {
            console.warn('Orvanel: pictures are encoded on the page\'s thread:', error);
        }
    }
    return worker;
}

// The canvas's own PNG, encoded by the browser on the page's thread, as a
// Blob; the promise fails when the browser made none.
export function pngBlob(canvas) {
    return new Promise((resolve, reject) => canvas.toBlob(
        (blob) => (blob ? resolve(blob) : reject(new Error('the picture could not be made'))), 'image/png'));
}

async function toBlob(canvas) {
    return new Uint8Array(await (await pngBlob(canvas)).arrayBuffer());
}

// The picture on `canvas` as a PNG file's bytes.
export async function encodePng(canvas) {
    const w = encoder();
    if (!w) {
        return toBlob(canvas);
    }
    try {
        // A copy of the picture as it is now, handed over whole.
        const image = await createImageBitmap(canvas);
        return await new Promise((resolve, reject) => {
            const id = ++asked;
            waiting.set(id, { resolve, reject });
            w.postMessage({ id, image }, [image]);
        });
    } catch (error) {
        // A worker that cannot encode (no OffscreenCanvas encoding in it):
        // the canvas's own toBlob from now on.
        console.warn('Orvanel: pictures are encoded on the page\'s thread:', error);
        worker?.terminate();
        worker = null;
        return toBlob(canvas);
    }
}
