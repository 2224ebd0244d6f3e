// SPDX-License-Identifier: MIT
// What a drag of D costs the browser: in one headless Chromium, the CPU time
// of all its processes per 1000 paced mouse moves on three pages, a floor (a
// board that only receives the moves), the same wedge built with JSXGraph,
// and the browser edition; medians of interleaved runs, by process type.
// Then the bytes the edition's first visit transfers, page and offline
// worker together, against the page's own files.
//
//   node bench/web/drag-cpu.js [WEB_DIR]        WEB_DIR defaults to build/web
//   ORVANEL_TRACE=DIR  also saves a trace of 200 moves on each page in DIR
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const { serve } = require('./serve');
const { chromiumProcesses, cpuSince } = require('./processes');

const ROOT = path.resolve(__dirname, '../..');
const WINDOW = { width: 917, height: 687 };
const D_AT = [560, 400]; // vertex D on the page, the board's area being at (10, 50)
const MOVES = 1000;
const GAP_MS = 8;
const RUNS = 3;
const TYPES = ['total', 'renderer', 'gpu-process', 'browser', 'other'];
const TRACE_CATEGORIES = ['devtools.timeline', 'disabled-by-default-devtools.timeline',
    'viz', 'cc', 'gpu', 'blink', 'v8'];

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const median = (xs) => [...xs].sort((a, b) => a - b)[xs.length >> 1];

function webDir() {
    if (process.argv[2]) {
        return path.resolve(process.argv[2]);
    }
    const dir = path.join(ROOT, 'build/web');
    if (!fs.existsSync(path.join(dir, 'index.html'))) {
        execFileSync(path.join(ROOT, 'scripts/build-web.sh'), { stdio: 'inherit' });
    }
    return dir;
}

// Counts, in the page, the pointer moves (gathered ones included), the
// changes of the elements it is told to watch, and the texts drawn on
// canvases: those drawn on a canvas of a class it is told of, and each new
// place where a text it is told of is drawn.
function countInput() {
    window.benchCounts = { 'pointer moves': 0 };
    addEventListener('pointermove', (e) => {
        benchCounts['pointer moves'] += Math.max(1, e.getCoalescedEvents().length);
    }, true);
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

async function openPage(browser, plan) {
    const page = await browser.newPage();
    await page.setViewport(WINDOW);
    await page.evaluateOnNewDocument(countInput);
    await page.goto(plan.url);
    if (plan.readout) {
        await page.waitForFunction((s) => document.querySelector(s)?.textContent.trim(), {}, plan.readout);
    }
    if (plan.showReadout) {
        await page.click(plan.showReadout);
        await page.waitForSelector(plan.readout, { visible: true });
    }
    await page.evaluate((w) => benchWatch(w), plan.watch || {});
    await page.evaluate((d) => benchDrawn(d), plan.drawn || {});
    return { ...plan, page };
}

function readoutOf(p) {
    return p.page.evaluate((s) => (s ? document.querySelector(s).textContent.trim()
        : String(benchCounts['pointer moves'])), p.readout);
}

function frames(page) {
    return page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
}

// Drags D 60 pixels right and back, and checks that the read-out followed
// each time the button was let go (on the floor: that the moves arrived).
async function grabCheck(p) {
    const mouse = p.page.mouse;
    const drag = async (from, to) => {
        await mouse.move(...from);
        await mouse.down();
        await mouse.move(...to, { steps: 12 });
        await mouse.up();
        await frames(p.page);
        return readoutOf(p);
    };
    await p.page.bringToFront();
    const start = await readoutOf(p);
    const right = [D_AT[0] + 60, D_AT[1]];
    const moved = await drag(D_AT, right);
    const back = await drag(right, D_AT);
    const followed = p.readout ? moved !== start && back === start : Number(moved) >= Number(start) + 12;
    console.log(`${p.name}: grab check, ${p.readout ? `D's read-out ${start} -> ${moved} -> ${back}`
        : `pointer moves ${start} -> ${moved}`}`);
    if (!followed) {
        throw new Error(`${p.name}: D did not follow the mouse`);
    }
}

// Back and forth over 40 pixels right of D, 4 pixels a move, ending on D.
function dragPath(n) {
    return Array.from({ length: n }, (_, i) => {
        const k = (i + 1) % 20;
        return [D_AT[0] + 4 * Math.min(k, 20 - k), D_AT[1]];
    });
}

// Moves the mouse along `points`, one move every GAP_MS on the clock. The
// moves are not awaited one by one: as from a real mouse, those the page has
// not taken yet are gathered by the browser into one event.
async function paced(page, points) {
    const start = performance.now();
    const sent = [];
    for (let i = 0; i < points.length; ++i) {
        const wait = start + i * GAP_MS - performance.now();
        if (wait > 0) {
            await sleep(wait);
        }
        sent.push(page.mouse.move(...points[i]));
    }
    const ms = performance.now() - start;
    await Promise.all(sent);
    return ms;
}

// Runs `during` while D is held, with the page's counters from zero.
async function holdingD(p, during) {
    await p.page.bringToFront();
    await p.page.mouse.move(...D_AT);
    await p.page.mouse.down();
    await p.page.evaluate(() => { for (const k of Object.keys(benchCounts)) benchCounts[k] = 0; });
    await sleep(200);
    const result = await during();
    await sleep(50);
    const counts = await p.page.evaluate(() => ({ ...benchCounts }));
    await p.page.mouse.up();
    return { ...result, counts };
}

function measure(p, browserPid, n) {
    return holdingD(p, async () => {
        const before = chromiumProcesses(browserPid);
        const ms = await paced(p.page, dragPath(n));
        return { ms, cpu: cpuSince(before, chromiumProcesses(browserPid), MOVES / n) };
    });
}

const row = (label, cpu) => label.padEnd(12) + TYPES.map((t) => String(Math.round(cpu[t] || 0)).padStart(12)).join('');

function printMedians(results) {
    const med = {};
    console.log(`\nmedians of ${RUNS} interleaved runs (each column on its own)`);
    for (const [name, runs] of Object.entries(results)) {
        med[name] = Object.fromEntries(TYPES.map((t) => [t, median(runs.map((r) => r.cpu[t] || 0))]));
        console.log(row(name, med[name]));
    }
    const above = (name) => Object.fromEntries(TYPES.map((t) => [t, med[name][t] - med.floor[t]]));
    console.log(row('ours-floor', above('ours')));
    console.log(row('peer-floor', above('peer')));
    const ratio = above('ours').total / above('peer').total;
    console.log(`(ours - floor) / (peer - floor) = ${ratio.toFixed(2)}`);
    console.log(`${ratio <= 1 / 3 ? 'PASS' : 'FAIL'} (ours - floor) at most one third of (peer - floor)`);
}

async function measureDrags(browser, pages) {
    const pid = browser.process().pid;
    for (const p of pages) {
        await grabCheck(p);
    }
    for (const p of pages) {
        await measure(p, pid, 300); // warm-up
    }
    console.log(`\nCPU ms per ${MOVES} moves ${GAP_MS} ms apart, D held`);
    console.log(''.padEnd(12) + TYPES.map((t) => t.padStart(12)).join(''));
    const results = Object.fromEntries(pages.map((p) => [p.name, []]));
    for (let run = 1; run <= RUNS; ++run) {
        for (const p of pages) {
            const r = await measure(p, pid, MOVES);
            results[p.name].push(r);
            const counts = Object.entries(r.counts).map(([k, v]) => `${v} ${k}`).join(', ');
            console.log(`${row(`${p.name} ${run}`, r.cpu)}   in ${(r.ms / 1000).toFixed(2)} s: ${counts}`);
        }
    }
    printMedians(results);
}

async function trace(pages, dir) {
    fs.mkdirSync(dir, { recursive: true });
    for (const p of pages) {
        const file = path.join(dir, `${p.name}.json`);
        await holdingD(p, async () => {
            await p.page.tracing.start({ path: file, categories: TRACE_CATEGORIES });
            await paced(p.page, dragPath(200));
            await p.page.tracing.stop();
        });
        console.log(`trace of 200 moves on ${p.name}: ${file}`);
    }
}

// Sums the encodedDataLength of every response `session` receives into `bytes[by]`.
function countResponses(session, by, bytes) {
    bytes[by] = 0;
    session.on('Network.loadingFinished', (e) => { bytes[by] += e.encodedDataLength; });
    return session.send('Network.enable');
}

// Every service worker that starts waits until its responses are counted.
async function watchWorkers(browser, bytes) {
    const root = await browser.target().createCDPSession();
    root.on('Target.attachedToTarget', async ({ sessionId }) => {
        const worker = root.connection().session(sessionId);
        await countResponses(worker, 'worker', bytes);
        await worker.send('Runtime.runIfWaitingForDebugger');
    });
    await root.send('Target.setAutoAttach',
        { autoAttach: true, waitForDebuggerOnStart: true, flatten: true, filter: [{ type: 'service_worker' }] });
    return root;
}

// The first visit in a fresh context, until the offline worker is ready and
// the network quiet; its bytes against those of the files it asked for.
async function firstVisit(browser, url, server, dir) {
    const context = await browser.createBrowserContext();
    const bytes = {};
    const root = await watchWorkers(browser, bytes);
    const page = await context.newPage();
    await countResponses(await page.createCDPSession(), 'page', bytes);
    server.log.length = 0;
    await page.goto(url);
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
    await sleep(1500);
    await root.detach();
    await context.close();
    const files = server.log.map((r) => path.relative(dir, r.file));
    const own = [...new Set(files)];
    const ownBytes = own.reduce((sum, f) => sum + fs.statSync(path.join(dir, f)).size, 0);
    const total = bytes.page + (bytes.worker || 0);
    console.log(`\nfirst visit of ours, cache empty: ${total} bytes (page ${bytes.page}, worker ${bytes.worker || 0})`);
    const sent = server.log.reduce((sum, r) => sum + r.bytes, 0);
    console.log(`the server sent ${sent} bytes of files in ${files.length} responses`);
    console.log(`the page's own files, each once: ${ownBytes} bytes: ${own.join(' ')}`);
    console.log(`asked for more than once: ${own.filter((f) => files.indexOf(f) !== files.lastIndexOf(f)).join(' ') || 'none'}`);
    console.log(`${total <= 1.1 * ownBytes ? 'PASS' : 'FAIL'} first visit ${(total / ownBytes).toFixed(2)} x the page's own bytes (target <= 1.1 x)`);
}

async function main() {
    const dir = webDir();
    const server = await serve({ '/bench/': __dirname, '/': dir });
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvanel-bench-'));
    const browser = await puppeteer.launch({
        executablePath: process.env.ORVANEL_CHROMIUM || '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--disable-component-update', '--disable-sync', '--no-first-run'],
    });
    try {
        console.log(`${await browser.version()}, ${os.cpus().length} cores; ours from ${dir}`);
        const pages = [];
        for (const plan of [
            { name: 'floor', url: `${server.url}bench/floor.html` },
            { name: 'peer', url: `${server.url}bench/peer.html`, readout: '#valueD',
                watch: { 'read-out changes': '#valueD' } },
            // While D is held the page draws the read-out and the letters
            // on canvases.
            { name: 'ours', url: `${server.url}index.html?scale=1`, readout: '#Label5_3', showReadout: '#Check2',
                drawn: { onCanvas: { 'read-out values drawn': 'held-readout' }, moved: { 'moves of letter D': 'D' } } },
        ]) {
            pages.push(await openPage(browser, plan));
        }
        await measureDrags(browser, pages);
        if (process.env.ORVANEL_TRACE) {
            await trace(pages, path.resolve(process.env.ORVANEL_TRACE));
        }
        await Promise.all(pages.map((p) => p.page.close()));
        await firstVisit(browser, `${server.url}index.html?scale=1`, server, dir);
    } finally {
        await browser.close();
        server.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

main().catch((e) => {
    console.error(e);
    process.exit(1);
});
