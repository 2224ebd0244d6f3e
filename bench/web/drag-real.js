// SPDX-License-Identifier: MIT
// What a drag of D costs the browser with real input: Chromium with a window
// on a virtual X display (Xvfb), the X server's own pointer moved by XTest
// (x-pointer.py, one process for all the moves), and the CPU time of every
// Chromium process per 1000 moves 8 ms apart with the button held on D, read
// from /proc. Four pages in tabs of one window: a floor that only receives
// the moves, a board-sized canvas painting one pixel a frame (the least any
// drag can cost), the same wedge built with JSXGraph, and ours; two paths,
// back and forth over 40 pixels (drag-cpu.js's) and a square of 1 pixel a
// move; a click test of where the page lies on the screen and a grab check
// on each page first, then three runs interleaved, and their medians by
// process type. Each run shows what happened: the moves the page counted,
// the frames it drew, and the X server's updates of the screen.
//
//   node bench/web/drag-real.js [WEB_DIR]      WEB_DIR defaults to build/web
//   ORVANEL_TRACE=DIR      also saves in DIR a trace of 200 moves on each page
//                          that draws, and prints where a frame's CPU goes on
//                          each; then a JavaScript profile of 1000 moves on
//                          the one-pixel page and ours, and their costliest
//                          functions
//   ORVANEL_RUNS=N         N interleaved runs rather than 3
//   ORVANEL_OTHERS=NAME=DIR[,NAME=DIR...]
//                          also measures the page built in each DIR (an
//                          earlier build of ours, or one changed to try
//                          something), as "ours NAME", in the same sitting
//   ORVANEL_DISPLAY=N      the X display to start Xvfb on (default: the first
//                          free one of :80 to :89)
'use strict';

const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const readline = require('node:readline');
const puppeteer = require('puppeteer-core');
const { serve } = require('./serve');
const { chromiumProcesses, cpuSince } = require('./processes');
const { sideBySide } = require('./trace-summary');
const {
    WINDOW, MOVES, GAP_MS, RUNS, CHROMIUM_ARGS, sleep, median, chromiumPath, webDir, pagePlans, openPage,
    showReadout, readoutOf, frames, grabCheck, backAndForth, square, holdingD, traceEach, row, header, medians,
    aboveFloor,
} = require('./drag-common');

const SCREEN = '1280x1024x24';
const PATHS = [
    { name: 'back and forth over 40 px, 4 px a move', points: backAndForth },
    { name: 'a square of 50 px, 1 px a move', points: square },
];
// Where the click test presses on every page: outside the board and the
// controls.
const PROBE = [5, 5];
const TARGET = 1.5; // (ours - floor) / (one-pixel - floor), back and forth
const WARM_UP = 400; // moves, each path ending on D
const runs = Number(process.env.ORVANEL_RUNS) || RUNS;

const load = () => os.loadavg().map((x) => x.toFixed(2)).join(' ');

// Xvfb on the first display of `displays` free, once it answers.
async function startXvfb(displays) {
    for (const n of displays) {
        if (fs.existsSync(`/tmp/.X${n}-lock`) || fs.existsSync(`/tmp/.X11-unix/X${n}`)) {
            continue;
        }
        const xvfb = spawn('Xvfb', [`:${n}`, '-screen', '0', SCREEN, '-nolisten', 'tcp'], { stdio: 'ignore' });
        let exited = false;
        xvfb.on('exit', () => { exited = true; });
        for (let i = 0; i < 100 && !exited; ++i) {
            if (fs.existsSync(`/tmp/.X11-unix/X${n}`)) {
                await sleep(200);
                return { display: `:${n}`, process: xvfb };
            }
            await sleep(50);
        }
        xvfb.kill();
    }
    throw new Error(`no free X display among :${displays.join(', :')}`);
}

// x-pointer.py on `display`: send(command) answers with its line.
function startPointer(display) {
    const helper = spawn('/usr/bin/python3', [path.join(__dirname, 'x-pointer.py')],
        { env: { ...process.env, DISPLAY: display }, stdio: ['pipe', 'pipe', 'inherit'] });
    const waiting = [];
    readline.createInterface({ input: helper.stdout }).on('line', (line) => waiting.shift()?.(line));
    helper.on('exit', (code) => {
        while (waiting.length) {
            waiting.shift()(`error: x-pointer.py ended (${code})`);
        }
    });
    return {
        send: (command) => new Promise((resolve, reject) => {
            waiting.push((line) => (line.startsWith('error') ? reject(new Error(line)) : resolve(line.split(' '))));
            helper.stdin.write(command + '\n');
        }),
        close: () => helper.kill(),
    };
}

// The X server's pointer as a hand (see drag-common.js), page point (x, y)
// being screen point (x + offset.x, y + offset.y) in the front tab.
function xHand(pointer, offset) {
    let at = [0, 0];
    const screen = ([x, y]) => `${Math.round(x + offset.x)} ${Math.round(y + offset.y)}`;
    return {
        front: async (p) => {
            await p.page.bringToFront();
            await p.page.waitForFunction(() => document.visibilityState === 'visible');
            await frames(p.page);
            await sleep(300);
        },
        press: async (to) => {
            await pointer.send(`move ${screen(to)}`);
            at = to;
            await sleep(20);
            await pointer.send('down');
        },
        moveTo: async (to, steps) => {
            const points = Array.from({ length: steps }, (_, i) => screen(
                [at[0] + (to[0] - at[0]) * (i + 1) / steps, at[1] + (to[1] - at[1]) * (i + 1) / steps]));
            await pointer.send(`path ${GAP_MS} ${points.join(' ')}`);
            at = to;
        },
        release: async () => {
            await sleep(20);
            await pointer.send('up');
        },
        path: (points) => pointer.send(`path ${GAP_MS} ${points.map(screen).join(' ')}`),
    };
}

// Gives the window the size that makes its pages WINDOW's size, at the
// screen's corner.
async function sizeWindow(page) {
    await page.bringToFront();
    const session = await page.createCDPSession();
    const { windowId } = await session.send('Browser.getWindowForTarget');
    const [w, h] = await page.evaluate(() => [outerWidth - innerWidth, outerHeight - innerHeight]);
    await session.send('Browser.setWindowBounds', { windowId,
        bounds: { left: 0, top: 0, width: WINDOW.width + w, height: WINDOW.height + h } });
    await session.detach();
    await page.waitForFunction((size) => innerWidth === size.width && innerHeight === size.height,
        { timeout: 5000 }, WINDOW).catch(async () => {
        const size = await page.evaluate(() => `${outerWidth} x ${outerHeight}, pages ${innerWidth} x ${innerHeight}`);
        throw new Error(`the window did not take its size: ${size}`);
    });
}

// Where page point (0, 0) is on the screen: guessed from the window's
// frame, then taken from where a press at PROBE arrived; then a press at
// PROBE on every page must arrive there.
async function clickTest(pointer, pages) {
    const first = pages[0].page;
    const [x, y] = await first.evaluate(() => [screenX + (outerWidth - innerWidth) / 2,
        screenY + outerHeight - innerHeight]);
    const press = async (p, hand) => {
        await p.page.evaluate(() => { window.benchPressedAt = null; });
        await hand.press(PROBE);
        await hand.release();
        await frames(p.page);
        return p.page.evaluate(() => window.benchPressedAt);
    };
    const guess = xHand(pointer, { x, y });
    await guess.front(pages[0]);
    const pressed = await press(pages[0], guess);
    if (!pressed) {
        throw new Error(`click test: a press at screen (${x + PROBE[0]}, ${y + PROBE[1]}) did not reach the page`);
    }
    const offset = { x: x + PROBE[0] - pressed[0], y: y + PROBE[1] - pressed[1] };
    const hand = xHand(pointer, offset);
    for (const p of pages) {
        await hand.front(p);
        const at = await press(p, hand);
        if (String(at) !== String(PROBE)) {
            throw new Error(`click test: ${p.name} pressed at (${at}), not at (${PROBE})`);
        }
    }
    const size = await first.evaluate(() => `${innerWidth} x ${innerHeight}`);
    console.log(`click test: page (${PROBE}) is screen (${PROBE[0] + offset.x}, ${PROBE[1] + offset.y}); `
        + `a press there arrived at (${PROBE}) on ${pages.map((p) => p.name).join(', ')}; pages ${size} CSS px`);
    return hand;
}

// The CPU of the moves along `points` with D held, scaled to MOVES, and
// what the page and the screen showed meanwhile; D's read-out before and
// after, every path ending where it began.
async function measure(p, hand, pointer, pids, points) {
    const before = await readoutOf(p);
    const r = await holdingD(p, hand, async () => {
        await pointer.send('screen');
        const chromium = chromiumProcesses(pids.chromium);
        const xvfb = chromiumProcesses(pids.xvfb);
        const [, sent, ms, latest] = await hand.path(points);
        await sleep(50);
        const cpu = cpuSince(chromium, chromiumProcesses(pids.chromium), MOVES / points.length);
        const xserver = cpuSince(xvfb, chromiumProcesses(pids.xvfb), MOVES / points.length).total;
        const [, updates, pixels] = await pointer.send('screen');
        return { sent: Number(sent), ms: Number(ms), latest: Number(latest), cpu, xserver,
            updates: Number(updates), pixels: Number(pixels) };
    });
    await frames(p.page);
    return { ...r, readout: p.readout && `${before} -> ${await readoutOf(p)}` };
}

const WIDE = 16;
const xColumn = (ms) => String(Math.round(ms)).padStart(10);

function describe(r) {
    const page = Object.entries(r.counts).map(([k, v]) => `${v} ${k}`).join(', ');
    return `${r.sent} moves in ${(r.ms / 1000).toFixed(2)} s (latest ${r.latest.toFixed(1)} ms late); `
        + `page: ${page}${r.readout ? `, D's read-out ${r.readout}` : ''}; `
        + `screen: ${r.updates} updates, ${Math.round(r.pixels / Math.max(1, r.updates))} px each`;
}

// The page took the moves, showed them on the screen (but the floor), and D
// came back to where it started. Motion events that queue up behind each
// other in the X server's connection reach the page as one: a browser that
// fell behind receives a few less.
const TAKEN = 0.95;
function proven(name, r) {
    const [start, end] = r.readout ? r.readout.split(' -> ') : [];
    return r.counts['pointer moves'] >= TAKEN * r.sent && (name === 'floor' || r.updates > 0) && start === end;
}

function printMedians(pathName, results) {
    const med = medians(results);
    const xMedian = (name) => median(results[name].map((r) => r.xserver));
    console.log(`\nreal input, ${pathName}: medians of ${runs} interleaved runs (each column on its own), `
        + `CPU ms per ${MOVES} moves`);
    console.log(`${header(WIDE)}${'Xvfb'.padStart(10)}`);
    for (const name of Object.keys(results)) {
        console.log(row(name, med[name], WIDE) + xColumn(xMedian(name)));
    }
    for (const name of Object.keys(results).filter((n) => n !== 'floor')) {
        console.log(row(`${name}-floor`, aboveFloor(med, name), WIDE) + xColumn(xMedian(name) - xMedian('floor')));
    }
    const above = (name) => aboveFloor(med, name).total;
    return Object.fromEntries(Object.keys(results).filter((name) => name.startsWith('ours'))
        .map((name) => [name, { pixel: above(name) / above('one-pixel'), peer: above(name) / above('peer') }]));
}

async function measureDrags(pages, hand, pointer, pids) {
    for (const p of pages) {
        await grabCheck(p, hand);
    }
    for (const { points } of PATHS) {
        for (const p of pages) {
            await measure(p, hand, pointer, pids, points(WARM_UP));
        }
    }
    console.log(`\nreal input (a window on Xvfb, the X server's pointer moved by XTest): CPU ms of Chromium's `
        + `processes per ${MOVES} moves ${GAP_MS} ms apart, D held; Xvfb's own CPU apart`);
    const results = PATHS.map(() => Object.fromEntries(pages.map((p) => [p.name, []])));
    const short = [];
    for (let run = 1; run <= runs; ++run) {
        console.log(`\nrun ${run} (load average ${load()})`);
        console.log(`${header(WIDE)}${'Xvfb'.padStart(10)}`);
        for (const [i, { points }] of PATHS.entries()) {
            for (const p of pages) {
                const r = await measure(p, hand, pointer, pids, points(MOVES));
                results[i][p.name].push(r);
                if (!proven(p.name, r)) {
                    short.push(`${p.name} ${i ? 'square' : 'b&f'} ${run}`);
                }
                console.log(`${row(`${p.name} ${i ? 'square' : 'b&f'}`, r.cpu, WIDE)}${xColumn(r.xserver)}   ${describe(r)}`);
            }
        }
    }
    const ratios = PATHS.map(({ name }, i) => printMedians(name, results[i]));
    console.log('');
    const say = (name, who, { pixel, peer }) => console.log(`${name}: (${who} - floor) / (one-pixel - floor) = `
        + `${pixel.toFixed(2)}, (${who} - floor) / (peer - floor) = ${peer.toFixed(2)}`);
    PATHS.forEach(({ name }, i) => {
        for (const [who, r] of Object.entries(ratios[i])) {
            say(name, who, r);
        }
    });
    console.log(`${short.length ? 'FAIL' : 'PASS'} in every run, the page counted at least ${TAKEN * 100} % of the `
        + 'moves sent, every page but the floor updated the screen, and D ended where it started'
        + (short.length ? ` (not in ${short.join(', ')})` : ''));
    console.log(`${ratios[0].ours.pixel <= TARGET ? 'PASS' : 'FAIL'} back and forth: (ours - floor) at most `
        + `${TARGET} x (one-pixel - floor)`);
}

// Traces of the pages that draw frames, per frame drawn side by side.
async function trace(pages, hand, dir) {
    const files = await traceEach(pages.filter((p) => p.name !== 'floor'), hand, dir, async () => {
        await hand.path(backAndForth(200));
        await sleep(50);
    });
    console.log(`\ntraces of 200 moves back and forth, real input: ${files.join(' ')}`);
    sideBySide(files);
}

const PROFILED = ['one-pixel', 'ours'];

// The functions a sampled profile of `profile` found, by name and place:
// each one's own time and its time with what it called.
function functionTimes(profile) {
    const byId = new Map(profile.nodes.map((n) => [n.id, n]));
    const parent = new Map(profile.nodes.flatMap((n) => (n.children || []).map((c) => [c, n.id])));
    const nameOf = ({ callFrame: f }) => `${f.functionName || '(anonymous)'} ${f.url.replace(/^.*\//, '')}:${f.lineNumber + 1}`;
    const own = new Map();
    const within = new Map();
    profile.samples.forEach((id, i) => {
        const us = profile.timeDeltas[i + 1] || 0;
        own.set(nameOf(byId.get(id)), (own.get(nameOf(byId.get(id))) || 0) + us);
        const seen = new Set();
        for (let node = id; node; node = parent.get(node)) {
            seen.add(nameOf(byId.get(node)));
        }
        for (const name of seen) {
            within.set(name, (within.get(name) || 0) + us);
        }
    });
    return { own, within };
}

// A sampled JavaScript profile of 1000 moves back and forth on the pages
// of PROFILED: the functions that took the most, per frame the page drew.
// The profiler slows the page: only the figures beside each other count.
async function profileScripts(pages, hand, dir) {
    for (const p of pages.filter((q) => PROFILED.includes(q.name))) {
        const session = await p.page.createCDPSession();
        await session.send('Profiler.enable');
        await session.send('Profiler.setSamplingInterval', { interval: 100 });
        let profile = null;
        const r = await holdingD(p, hand, async () => {
            await session.send('Profiler.start');
            await hand.path(backAndForth(MOVES));
            await sleep(50);
            ({ profile } = await session.send('Profiler.stop'));
        });
        await session.detach();
        const file = path.join(dir, `${p.name}.cpuprofile`);
        fs.writeFileSync(file, JSON.stringify(profile));
        const framesDrawn = r.counts['animation frames'];
        const { own, within } = functionTimes(profile);
        const script = [...own].filter(([name]) => !/^\((idle|program|garbage collector)\)/.test(name))
            .reduce((sum, [, us]) => sum + us, 0);
        console.log(`\n${p.name}: JavaScript profile of ${MOVES} moves, ${file}: ${framesDrawn} frames, `
            + `${(script / framesDrawn).toFixed(0)} us of script a frame`);
        const top = (times, n, filter = () => true) => [...times].filter(([name]) => filter(name))
            .sort((a, b) => b[1] - a[1]).slice(0, n)
            .map(([name, us]) => `${(us / framesDrawn).toFixed(0).padStart(8)}  ${name}`).join('\n');
        console.log(`us a frame, own time:\n${top(own, 12, (name) => !/^\((idle|program)\)/.test(name))}`);
        console.log(`us a frame, with what they call (the page's own functions):\n${top(within, 16,
            (name) => /\.(js|html):/.test(name) && !/orvanel\.js/.test(name))}`);
    }
}

async function main() {
    const dir = webDir(process.argv[2]);
    const displays = process.env.ORVANEL_DISPLAY ? [Number(process.env.ORVANEL_DISPLAY.replace(':', ''))]
        : Array.from({ length: 10 }, (_, i) => 80 + i);
    const xvfb = await startXvfb(displays);
    const pointer = startPointer(xvfb.display);
    const others = (process.env.ORVANEL_OTHERS || '').split(',').filter(Boolean).map((item, i) => {
        const [name, folder] = item.split('=');
        return { name: `ours ${name}`, under: `other-${i}/`, folder: path.resolve(folder) };
    });
    const server = await serve({
        '/bench/': __dirname,
        ...Object.fromEntries(others.map((o) => [`/${o.under}`, o.folder])),
        '/': dir,
    });
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvanel-bench-'));
    let browser = null;
    try {
        browser = await puppeteer.launch({
            executablePath: chromiumPath(),
            headless: false,
            defaultViewport: null,
            userDataDir: profile,
            env: { ...process.env, DISPLAY: xvfb.display },
            args: [...CHROMIUM_ARGS, '--window-position=0,0',
                `--window-size=${WINDOW.width},${WINDOW.height}`, '--test-type'],
        });
        console.log(`${await browser.version()} with a window, ${os.cpus().length} cores; ours from ${dir}`);
        console.log(`X display ${xvfb.display} (Xvfb ${SCREEN}); load average ${load()}`);
        const [blank] = await browser.pages();
        const pages = [];
        for (const plan of pagePlans(server.url, { onePixel: true, others })) {
            pages.push(await openPage(browser, plan, { viewport: null, counting: { animationFrames: true } }));
        }
        await blank.close();
        await sizeWindow(pages[0].page);
        const hand = await clickTest(pointer, pages);
        for (const p of pages) {
            await showReadout(p, hand);
        }
        const pids = { chromium: browser.process().pid, xvfb: xvfb.process.pid };
        await measureDrags(pages, hand, pointer, pids);
        if (process.env.ORVANEL_TRACE) {
            await trace(pages, hand, path.resolve(process.env.ORVANEL_TRACE));
            await profileScripts(pages, hand, path.resolve(process.env.ORVANEL_TRACE));
        }
        console.log(`\nload average at the end ${load()}`);
    } finally {
        await browser?.close();
        server.close();
        pointer.close();
        xvfb.process.kill();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

if (require.main === module) {
    main().catch((e) => {
        console.error(e);
        process.exit(1);
    });
}

// The steps, for a measurement of other pages the same way.
module.exports = { startXvfb, startPointer, xHand, sizeWindow, clickTest, measure, trace, profileScripts };
