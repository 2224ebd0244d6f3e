// SPDX-License-Identifier: MIT
// The board's raster shown smaller than its own size without losing its
// thin strokes: each device pixel covers one or two board pixels each way
// and shows the one nearest its centre, unless that is the board's
// background and another of them is not; then that one. A one-pixel memo
// line thus stays unbroken at any factor from one half up.

// Fills `target` (ImageData, device pixels from (left, top)) from `source`
// (the board's pixels as 32-bit words, `width` a row) at `kx` by `ky`
// device pixels per board pixel, both below 1.
export function shrinkInto(target, left, top, source, width, height, kx, ky, background) {
    const out = new Uint32Array(target.data.buffer);
    const from = (d, k, size) => Math.min(size - 1, Math.floor(d / k));
    const to = (d, k, size) => Math.min(size - 1, Math.ceil((d + 1) / k) - 1);
    let o = 0;
    for (let v = top; v < top + target.height; ++v) {
        const y0 = from(v, ky, height);
        const y1 = Math.max(y0, to(v, ky, height));
        const yc = Math.min(height - 1, Math.floor((v + 0.5) / ky));
        for (let u = left; u < left + target.width; ++u) {
            const x0 = from(u, kx, width);
            const x1 = Math.max(x0, to(u, kx, width));
            let p = source[yc * width + Math.min(width - 1, Math.floor((u + 0.5) / kx))];
            for (let y = y0; y <= y1 && p === background; ++y) {
                for (let x = x0; x <= x1 && p === background; ++x) {
                    p = source[y * width + x];
                }
            }
            out[o++] = p;
        }
    }
}
