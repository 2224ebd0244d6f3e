// SPDX-License-Identifier: MIT
// What the two measurements of a drag's CPU in Chromium share, the one that
// sends its moves through the DevTools protocol (drag-cpu.js) and the one
// that moves the X server's pointer (drag-real.js): the pages and where D is
// on them, the paths the mouse takes, the counters put in each page, the
// grab check, and the tables of CPU by process type.
//
// A `hand` holds and moves the mouse over a page, in page coordinates:
//   { front(p), press([x, y]), moveTo([x, y], steps), release() }
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');

const ROOT = path.resolve(__dirname, '../..');
const WINDOW = { width: 917, height: 687 };
const D_AT = [560, 400]; // vertex D on the page, the board's area being at (10, 50)
const MOVES = 1000;
const GAP_MS = 8;
const RUNS = 3;
const TYPES = ['total', 'renderer', 'gpu-process', 'browser', 'other'];
const TRACE_CATEGORIES = ['devtools.timeline', 'disabled-by-default-devtools.timeline',
    'viz', 'cc', 'gpu', 'blink', 'v8'];
// Software compositing and raster, as on a machine without a usable GPU, and
// nothing the browser would do of its own accord meanwhile.
const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'];

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const median = (xs) => [...xs].sort((a, b) => a - b)[xs.length >> 1];

function chromiumPath() {
    return process.env.ORVANEL_CHROMIUM || '/usr/bin/chromium';
}

// The edition's folder: the command line's, else build/web, built if missing.
function webDir(arg) {
    if (arg) {
        return path.resolve(arg);
    }
    const dir = path.join(ROOT, 'build/web');
    if (!fs.existsSync(path.join(dir, 'index.html'))) {
        execFileSync(path.join(ROOT, 'scripts/build-web.sh'), { stdio: 'inherit' });
    }
    return dir;
}

// The pages measured, served at `url`: a floor whose board only receives the
// moves, with `onePixel` a board-sized canvas painting one pixel a frame,
// the same wedge built with JSXGraph, and ours. `readout` names the element
// showing D's angle, `showReadout` what to click first to show it.
// With `others` ({ name, under } each), also other builds of ours, served
// under their folders.
function pagePlans(url, { onePixel = false, others = [] } = {}) {
    // While D is held the page draws the read-out and the letters on
    // canvases.
    const ours = { name: 'ours', url: `${url}index.html?scale=1`, readout: '#Label5_3', showReadout: '#Check2',
        drawn: { onCanvas: { 'read-out values drawn': 'held-readout' }, moved: { 'moves of letter D': 'D' } } };
    return [
        { name: 'floor', url: `${url}bench/floor.html` },
        ...(onePixel ? [{ name: 'one-pixel', url: `${url}bench/one-pixel.html`, painted: 'framesPainted' }] : []),
        { name: 'peer', url: `${url}bench/peer.html`, readout: '#valueD',
            watch: { 'read-out changes': '#valueD' } },
        ...others.map((o) => ({ ...ours, name: o.name, url: `${url}${o.under}index.html?scale=1` })),
        ours,
    ];
}

// Counts, in the page, the pointer moves (gathered ones included), the
// changes of the elements it is told to watch, and the texts drawn on
// canvases: those drawn on a canvas of a class it is told of, and each new
// place where a text it is told of is drawn. Keeps the place of the last
// press. With `animationFrames`, also counts the frames in which the page's
// own animation-frame callbacks ran (none asked for on its behalf).
function countInput({ animationFrames = false } = {}) {
    window.benchCounts = { 'pointer moves': 0 };
    addEventListener('pointermove', (e) => {
        benchCounts['pointer moves'] += Math.max(1, e.getCoalescedEvents().length);
    }, true);
    addEventListener('pointerdown', (e) => { window.benchPressedAt = [e.clientX, e.clientY]; }, true);
    if (animationFrames) {
        benchCounts['animation frames'] = 0;
        const request = window.requestAnimationFrame;
        let last = -1;
        window.requestAnimationFrame = (callback) => request((t) => {
            if (t !== last) {
                last = t;
                benchCounts['animation frames'] += 1;
            }
            callback(t);
        });
    }
    window.benchWatch = (watched) => {
        for (const [key, selector] of Object.entries(watched)) {
            benchCounts[key] = 0;
            new MutationObserver(() => { benchCounts[key] += 1; })
                .observe(document.querySelector(selector),
                    { childList: true, characterData: true, subtree: true, attributes: true });
        }
    };
    const drawn = { onCanvas: {}, moved: {}, at: {} };
    window.benchDrawn = ({ onCanvas = {}, moved = {} }) => {
        Object.assign(drawn, { onCanvas, moved });
        for (const key of [...Object.keys(onCanvas), ...Object.keys(moved)]) {
            benchCounts[key] = 0;
        }
    };
    const fillText = CanvasRenderingContext2D.prototype.fillText;
    CanvasRenderingContext2D.prototype.fillText = function (text, x, y, ...rest) {
        for (const [key, className] of Object.entries(drawn.onCanvas)) {
            benchCounts[key] += this.canvas.classList.contains(className) ? 1 : 0;
        }
        for (const [key, moving] of Object.entries(drawn.moved)) {
            if (text === moving && drawn.at[key] !== `${x},${y}`) {
                drawn.at[key] = `${x},${y}`;
                benchCounts[key] += 1;
            }
        }
        return fillText.call(this, text, x, y, ...rest);
    };
}

// Opens `plan` in a new tab of `browser`, its counters in place; `viewport`
// sets the page's size where the browser's window does not.
async function openPage(browser, plan, { viewport = WINDOW, counting = {} } = {}) {
    const page = await browser.newPage();
    if (viewport) {
        await page.setViewport(viewport);
    }
    await page.evaluateOnNewDocument(countInput, counting);
    await page.goto(plan.url);
    if (plan.readout) {
        await page.waitForFunction((s) => document.querySelector(s)?.textContent.trim(), {}, plan.readout);
    }
    await page.evaluate((w) => benchWatch(w), plan.watch || {});
    await page.evaluate((d) => benchDrawn(d), plan.drawn || {});
    return { ...plan, page };
}

// The page's counters, and from zero again with `reset`.
function counts(p, { reset = false } = {}) {
    return p.page.evaluate((painted, zero) => {
        const now = { ...benchCounts };
        if (painted) {
            now['frames painted'] = window[painted];
        }
        if (zero) {
            for (const k of Object.keys(benchCounts)) {
                benchCounts[k] = 0;
            }
            if (painted) {
                window[painted] = 0;
            }
        }
        return now;
    }, p.painted, reset);
}

// Clicks what shows the page's read-out, where it has one to show.
async function showReadout(p, hand) {
    if (!p.showReadout) {
        return;
    }
    await hand.front(p);
    const at = await p.page.$eval(p.showReadout, (e) => {
        const r = e.getBoundingClientRect();
        return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)];
    });
    await hand.press(at);
    await hand.release();
    await p.page.waitForSelector(p.readout, { visible: true, timeout: 5000 });
}

function readoutOf(p) {
    return p.page.evaluate((s) => (s ? document.querySelector(s).textContent.trim()
        : String(benchCounts['pointer moves'])), p.readout);
}

function frames(page) {
    return page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
}

// Drags D 60 pixels right and back in 12 moves each way, and checks that
// the read-out followed each time the button was let go (where there is
// none: that the moves arrived, at least half of them, as the X server's
// motion events that queue up behind a busy browser reach it as one).
async function grabCheck(p, hand) {
    const drag = async (from, to) => {
        await hand.press(from);
        await hand.moveTo(to, 12);
        await hand.release();
        await frames(p.page);
        return readoutOf(p);
    };
    await hand.front(p);
    const start = await readoutOf(p);
    const right = [D_AT[0] + 60, D_AT[1]];
    const moved = await drag(D_AT, right);
    const back = await drag(right, D_AT);
    const followed = p.readout ? moved !== start && back === start : Number(moved) >= Number(start) + 6;
    console.log(`${p.name}: grab check, ${p.readout ? `D's read-out ${start} -> ${moved} -> ${back}`
        : `pointer moves ${start} -> ${moved}`}`);
    if (!followed) {
        throw new Error(`${p.name}: D did not follow the mouse`);
    }
}

// Back and forth over 40 pixels right of D, 4 pixels a move, ending on D.
function backAndForth(n) {
    return Array.from({ length: n }, (_, i) => {
        const k = (i + 1) % 20;
        return [D_AT[0] + 4 * Math.min(k, 20 - k), D_AT[1]];
    });
}

// Round a 50-pixel square right of and below D, 1 pixel a move, ending on D
// after each 200 moves.
function square(n) {
    const side = 50;
    return Array.from({ length: n }, (_, i) => {
        const k = (i + 1) % (4 * side);
        const along = k % side;
        const [x, y] = [[along, 0], [side, along], [side - along, side], [0, side - along]][Math.floor(k / side)];
        return [D_AT[0] + x, D_AT[1] + y];
    });
}

// Runs `during` while D is held, with the page's counters from zero; returns
// its result with the counts.
async function holdingD(p, hand, during) {
    await hand.front(p);
    await hand.press(D_AT);
    await counts(p, { reset: true });
    await sleep(200);
    const result = await during();
    await sleep(50);
    const counted = await counts(p);
    await hand.release();
    return { ...result, counts: counted };
}

// Saves in `dir` a trace of each page of `pages` while D is held and `drive`
// moves the mouse over it (`drive(p)`); returns the files.
async function traceEach(pages, hand, dir, drive) {
    fs.mkdirSync(dir, { recursive: true });
    const files = [];
    for (const p of pages) {
        const file = path.join(dir, `${p.name}.json`);
        await holdingD(p, hand || p.hand, async () => {
            await p.page.tracing.start({ path: file, categories: TRACE_CATEGORIES });
            await drive(p);
            await p.page.tracing.stop();
        });
        files.push(file);
    }
    return files;
}

const row = (label, cpu, width = 12) => label.padEnd(width) + TYPES.map((t) => String(Math.round(cpu[t] || 0)).padStart(12)).join('');
const header = (width = 12) => ''.padEnd(width) + TYPES.map((t) => t.padStart(12)).join('');

// The median of each column over each page's runs: name -> type -> ms.
function medians(results) {
    return Object.fromEntries(Object.entries(results).map(([name, runs]) => [name,
        Object.fromEntries(TYPES.map((t) => [t, median(runs.map((r) => r.cpu[t] || 0))]))]));
}

// Each column of `name`'s medians less the floor's.
function aboveFloor(med, name) {
    return Object.fromEntries(TYPES.map((t) => [t, med[name][t] - med.floor[t]]));
}

module.exports = {
    ROOT, WINDOW, D_AT, MOVES, GAP_MS, RUNS, TYPES, TRACE_CATEGORIES, CHROMIUM_ARGS,
    sleep, median, chromiumPath, webDir, pagePlans, countInput, openPage, counts, showReadout, readoutOf, frames,
    grabCheck, backAndForth, square, holdingD, traceEach, row, header, medians, aboveFloor,
};
