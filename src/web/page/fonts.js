// SPDX-License-Identifier: MIT
// The design's fonts in the page: the CSS font of a design font, the line
// height a label lays a line out by, and the size of a caption, measured the
// way the desktop measures it.
const faceStacks = {};

function faceStack(face) {
    if (!faceStacks[face]) {
        const name = face === 'mincho' ? '--mincho' : '--gothic';
        faceStacks[face] = getComputedStyle(document.documentElement)
            .getPropertyValue(name).trim() || (face === 'mincho' ? 'serif' : 'sans-serif');
    }
    return faceStacks[face];
}

export function cssFont(font, bold) {
    return (bold ? 'bold ' : '') + font.pixels + 'px ' + faceStack(font.face);
}

const measureContext = document.createElement('canvas').getContext('2d');
const lineHeights = new Map();
const baselines = new Map();
const sizes = new Map();
let contextFont = '';

// Sets the measuring context's font; setting it costs a parse of the font
// even when it does not change.
function useFont(key) {
    if (contextFont !== key) {
        measureContext.font = key;
        contextFont = key;
    }
}

// The font's line height, ascent plus descent, as a label lays out a line:
// each rounded to whole pixels, as Chromium and WebKit report them and
// Firefox does not.
function lineHeight(font, bold) {
    const key = cssFont(font, bold);
    if (!lineHeights.has(key)) {
        useFont(key);
        const m = measureContext.measureText('Ag');
        let h = Math.round(m.fontBoundingBoxAscent) + Math.round(m.fontBoundingBoxDescent);
        if (!(h > 0)) {
            h = font.pixels * 1.15;
        }
        lineHeights.set(key, h);
    }
    return lineHeights.get(key);
}

// Where a label's line puts the text's baseline, below the line's top: the
// line height less ascent and descent shared above and below them.
export function baseline(font, bold) {
    const key = cssFont(font, bold);
    if (!baselines.has(key)) {
        useFont(key);
        const m = measureContext.measureText('Ag');
        baselines.set(key, (lineHeight(font, bold) - m.fontBoundingBoxAscent - m.fontBoundingBoxDescent) / 2
            + m.fontBoundingBoxAscent);
    }
    return baselines.get(key);
}

// The size of a label that fits `text` in `font`: its advance and the
// font's line height, each rounded up to a whole pixel, as the desktop
// measures it. Each is measured once.
export function measure(font, text) {
    const key = cssFont(font, font.bold);
    const known = sizes.get(key + '\n' + text);
    if (known) {
        return known;
    }
    useFont(key);
    const size = {
        width: Math.ceil(measureContext.measureText(text).width),
        height: Math.ceil(lineHeight(font, font.bold)),
    };
    sizes.set(key + '\n' + text, size);
    return size;
}

export function setFont(e, font, bold) {
    e.style.fontFamily = faceStack(font.face);
    e.style.fontSize = font.pixels + 'px';
    e.style.fontWeight = bold ? 'bold' : 'normal';
    e.style.lineHeight = lineHeight(font, bold) + 'px';
}

// Every face of the design in use, so that measuring a caption finds the
// face ready rather than a stand-in; then each caption of the design
// measured once in its font. The browser's first measure in a face costs
// most (it finds the face and its fallbacks): done here, in a task of its
// own, it leaves the window's start that much shorter.
export async function loadFaces(design) {
    const fonts = new Set([cssFont(design.letterFont, design.letterFont.bold)]);
    for (const d of design.controls) {
        fonts.add(cssFont(d.font, d.font.bold));
        fonts.add(cssFont(d.font, true));
    }
    await Promise.all([...fonts].map((f) => document.fonts.load(f).catch(() => [])));
    for (const d of design.controls) {
        measure(d.font, d.caption);
        baseline(d.font, d.font.bold);
    }
    baseline(design.letterFont, design.letterFont.bold);
}
