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

// The font's line height, ascent plus descent, as a label lays out a line:
// each rounded to whole pixels, as Chromium and WebKit report them and
// Firefox does not.
function lineHeight(font, bold) {
    const key = cssFont(font, bold);
    if (!lineHeights.has(key)) {
        measureContext.font = key;
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
        measureContext.font = key;
        const m = measureContext.measureText('Ag');
        baselines.set(key, (lineHeight(font, bold) - m.fontBoundingBoxAscent - m.fontBoundingBoxDescent) / 2
            + m.fontBoundingBoxAscent);
    }
    return baselines.get(key);
}

// The size of a label that fits `text` in `font`: its advance and the
// font's line height, each rounded up to a whole pixel, as the desktop
// measures it.
export function measure(font, text) {
    measureContext.font = cssFont(font, font.bold);
    return {
        width: Math.ceil(measureContext.measureText(text).width),
        height: Math.ceil(lineHeight(font, font.bold)),
    };
}

export function setFont(e, font, bold) {
    e.style.fontFamily = faceStack(font.face);
    e.style.fontSize = font.pixels + 'px';
    e.style.fontWeight = bold ? 'bold' : 'normal';
    e.style.lineHeight = lineHeight(font, bold) + 'px';
}

// Every face of the design in use, so that measuring a caption finds the
// face ready rather than a stand-in.
export function loadFaces(design) {
    const fonts = new Set([cssFont(design.letterFont, design.letterFont.bold)]);
    for (const d of design.controls) {
        fonts.add(cssFont(d.font, d.font.bold));
        fonts.add(cssFont(d.font, true));
    }
    return Promise.all([...fonts].map((f) => document.fonts.load(f).catch(() => [])));
}
