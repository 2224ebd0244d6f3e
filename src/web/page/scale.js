// SPDX-License-Identifier: MIT
// The window's size and place on the screen: the largest factor at which the
// whole window fits the space the browser gives the page, centred, and never
// below half its size; `?scale=N` keeps the factor N instead. The board's
// top-left corner is put on a whole device pixel, so that the board's
// picture, drawn at the screen's own resolution, lands pixel for pixel.

const SMALLEST = 0.5;

// The factor `?scale=N` asks for, or null.
function askedFactor() {
    const n = Number(new URLSearchParams(location.search).get('scale'));
    return n > 0 ? n : null;
}

// The space the page is given, in CSS pixels: the visual viewport, without
// scroll bars and toolbars, as it is when nobody pinches.
function viewport() {
    const v = window.visualViewport;
    return v ? { width: v.width * v.scale, height: v.height * v.scale }
        : { width: document.documentElement.clientWidth, height: document.documentElement.clientHeight };
}

// The left (or top) edge at which a window `size` wide, whose board starts
// `board` pixels inside it, is centred in `space`, moved by less than a
// device pixel so that the board starts on a whole one; null where that
// cannot fit.
function edge(space, size, board, dpr) {
    const centred = Math.max(0, (space - size) / 2);
    for (const round of [Math.round, Math.ceil, Math.floor]) {
        const at = round((centred + board) * dpr) / dpr - board;
        if (at >= 0 && (at + size <= space + 1e-6 || space < size)) {
            return at;
        }
    }
    return null;
}

// The factor and place of the window for the page as it is now.
export function fit(design) {
    const space = viewport();
    const dpr = window.devicePixelRatio || 1;
    const asked = askedFactor();
    let f = asked || Math.max(SMALLEST, Math.min(space.width / design.width, space.height / design.height));
    const board = { left: design.board.left + design.boardBorder, top: design.board.top + design.boardBorder };
    for (;;) {
        const left = edge(space.width, design.width * f, board.left * f, dpr);
        const top = edge(space.height, design.height * f, board.top * f, dpr);
        if ((left !== null && top !== null) || asked || f <= SMALLEST) {
            return { factor: f, left: left ?? 0, top: top ?? 0, dpr };
        }
        // No place puts the board on a whole device pixel: a hair smaller.
        f -= 1 / (Math.max(design.width, design.height) * dpr);
    }
}

// Shows `root` as `fit` places it; returns that fit.
export function applyScale(root, design) {
    const at = fit(design);
    root.style.left = at.left + 'px';
    root.style.top = at.top + 'px';
    root.style.transform = at.factor === 1 ? '' : 'scale(' + at.factor + ')';
    const space = viewport();
    const fits = design.width * at.factor <= space.width + 1e-6 && design.height * at.factor <= space.height + 1e-6;
    document.documentElement.classList.toggle('scrolls', !fits);
    return at;
}

// Calls `refit` at once whenever the space, the zoom or the screen changes:
// a resize, a rotation, the visual viewport, or another device pixel ratio.
export function watchScreen(refit) {
    window.addEventListener('resize', refit);
    window.addEventListener('orientationchange', refit);
    window.visualViewport?.addEventListener('resize', refit);
    const watchRatio = () => {
        const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
        query.addEventListener('change', () => {
            refit();
            watchRatio();
        }, { once: true });
    };
    watchRatio();
}
