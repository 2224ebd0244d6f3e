// SPDX-License-Identifier: MIT
// The board's light objects (the grid, the figure's sides, the straight
// lines, the eraser's circle, the keyboard pointer's crosshair) drawn at the screen's own resolution above the
// enlarged surface, by the rules the desktop draws them with: a line's width
// in board pixels scaled, a square cap at width 1 and round caps above, the
// circle's outline one board pixel wide; never thinner than a device pixel.
// A line one pixel wide along a row or a column covers the board pixel it
// runs through, and is drawn as whole device pixels of one width wherever it
// lies, so that every grid line comes out alike.

const LINE = 7; // numbers per line in win.lines()

function css(rgb) {
    return '#' + rgb.toString(16).padStart(6, '0');
}

// The part of segment (x1, y1)-(x2, y2) within box [l, r] x [t, b], or null:
// a line may end millions of pixels away.
function clip(x1, y1, x2, y2, l, t, r, b) {
    let t0 = 0;
    let t1 = 1;
    const dx = x2 - x1;
    const dy = y2 - y1;
    for (const [p, q] of [[-dx, x1 - l], [dx, r - x1], [-dy, y1 - t], [dy, b - y1]]) {
        if (p === 0) {
            if (q < 0) {
                return null;
            }
        } else if (p < 0) {
            t0 = Math.max(t0, q / p);
        } else {
            t1 = Math.min(t1, q / p);
        }
    }
    return t0 > t1 ? null : [x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy];
}

// Whole device pixels [start, start + size) of a one-pixel line through board
// pixel `v`, at `k` device pixels per board pixel.
function band(v, k) {
    const size = Math.max(1, Math.round(k));
    return [Math.round((Math.floor(v) + 0.5) * k - size / 2), size];
}

function drawLine(ctx, l, kx, ky, board) {
    const [x1, y1, x2, y2, width] = l;
    const pad = width + 2;
    const c = clip(x1, y1, x2, y2, -pad, -pad, board.width + pad, board.height + pad);
    if (!c) {
        return;
    }
    if (width === 1 && (c[0] === c[2] || c[1] === c[3])) {
        // Both ends included, as the board's own pixels have it.
        const [across, size] = c[0] === c[2] ? band(c[0], kx) : band(c[1], ky);
        if (c[0] === c[2]) {
            const top = Math.round(Math.floor(Math.min(c[1], c[3])) * ky);
            const bottom = Math.round((Math.floor(Math.max(c[1], c[3])) + 1) * ky);
            ctx.fillRect(across, top, size, bottom - top);
        } else {
            const left = Math.round(Math.floor(Math.min(c[0], c[2])) * kx);
            const right = Math.round((Math.floor(Math.max(c[0], c[2])) + 1) * kx);
            ctx.fillRect(left, across, right - left, size);
        }
        return;
    }
    ctx.lineWidth = Math.max(1, width * Math.min(kx, ky));
    ctx.lineCap = width > 1 ? 'round' : 'square';
    ctx.beginPath();
    ctx.moveTo(c[0] * kx, c[1] * ky);
    ctx.lineTo(c[2] * kx, c[3] * ky);
    ctx.stroke();
}

// Draws every light object of `win` that is shown, in its paint order, on a
// context whose device pixels are `kx` by `ky` per board pixel.
export function drawLights(ctx, win, kx, ky, board) {
    const lines = win.lines();
    ctx.lineJoin = 'round';
    for (let i = 0; i < lines.length; i += LINE) {
        const l = lines.subarray(i, i + LINE);
        if (l[6]) {
            ctx.fillStyle = ctx.strokeStyle = css(l[5]);
            drawLine(ctx, l, kx, ky, board);
        }
    }
    const circle = win.cursorCircle();
    if (circle.visible) {
        const d = Math.min(circle.width, circle.height);
        ctx.strokeStyle = css(win.circleColor());
        ctx.lineWidth = Math.max(1, Math.min(kx, ky));
        ctx.beginPath();
        ctx.ellipse((circle.left + circle.width / 2) * kx, (circle.top + circle.height / 2) * ky,
            d / 2 * kx, d / 2 * ky, 0, 0, 2 * Math.PI);
        ctx.stroke();
    }
    drawCrosshair(ctx, win.crosshair(), kx, ky);
}

// The keyboard pointer's crosshair, a white cross on a black edge, as the
// desktop draws it at the screen's resolution.
function drawCrosshair(ctx, { box, shown }, kx, ky) {
    if (!shown) {
        return;
    }
    const cx = box.left + box.width / 2;
    const cy = box.top + box.height / 2;
    const arm = box.width / 2 - 1;
    const bar = (x, y, width, height) => ctx.fillRect(x * kx, y * ky, width * kx, height * ky);
    ctx.fillStyle = '#000';
    bar(box.left, cy - 1.5, box.width, 3);
    bar(cx - 1.5, box.top, 3, box.height);
    ctx.fillStyle = '#fff';
    bar(cx - arm, cy - 0.5, 2 * arm, 1);
    bar(cx - 0.5, cy - arm, 1, 2 * arm);
}
