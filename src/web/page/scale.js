// SPDX-License-Identifier: MIT
// The window's size and place on the screen, by the core's fit rule: as
// large as the space the browser gives the page allows, centred, never
// below half its size, the board on a whole device pixel; `?scale=N` keeps
// a factor the core finds sound. On a screen too small for the window even
// at half its size (a phone held upright) the page lays itself out as wide
// as the core says, and the browser shows it zoomed out, whole.

// The page's own layout: as wide as the screen. No initial scale, here or
// below: the browser then shows a page laid out wider zoomed out to fit.
const SCREEN_WIDE = 'width=device-width';

// The screen's space for the page, in CSS pixels: the visual viewport,
// without scroll bars and toolbars, as it is when nobody pinches.
function screenSpace() {
    const v = window.visualViewport;
    return v ? { width: v.width * v.scale, height: v.height * v.scale }
        : { width: document.documentElement.clientWidth, height: document.documentElement.clientHeight };
}

// Lays the page out `width` CSS pixels wide, or as wide as the screen for
// 0. Only a mobile browser takes a layout width from the page: the space
// laid out, or null where the browser kept the screen's.
function layOut(width) {
    const meta = document.querySelector('meta[name="viewport"]');
    const content = width ? `width=${width}` : SCREEN_WIDE;
    if (meta && meta.content !== content) {
        meta.content = content;
    }
    const html = document.documentElement;
    return width && Math.abs(html.clientWidth - width) < 1 ? { width: html.clientWidth, height: html.clientHeight } : null;
}

// The factor and place of the window for the page as it is now, by
// `core`'s rule, and the device pixels per CSS pixel.
export function fit(core) {
    const screen = screenSpace();
    const space = layOut(core.zoomedOutWidth(screen.width, screen.height)) || screen;
    const dpr = window.devicePixelRatio || 1;
    const asked = new URLSearchParams(location.search).get('scale') ?? '';
    return { ...core.placeWindow(space.width, space.height, dpr, asked), dpr };
}

// Shows `root` as `at` (a fit) places it.
export function applyScale(root, at) {
    root.style.left = at.left + 'px';
    root.style.top = at.top + 'px';
    root.style.transform = at.factor === 1 ? '' : 'scale(' + at.factor + ')';
    document.documentElement.classList.toggle('scrolls', at.scrolls);
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
