// SPDX-License-Identifier: MIT
// What a drag of D costs the browser: in one headless Chromium, the CPU time
// of all its processes per 1000 paced mouse moves, sent through the DevTools
// protocol, on three pages, a floor (a board that only receives the moves),
// the same wedge built with JSXGraph, and the browser edition; medians of
// interleaved runs, by process type. drag-real.js measures the same with the
// X server's own pointer in a browser with a window.
// Then the bytes the edition's first visit transfers, page and offline
// worker together, against the page's own files.
//
//   node bench/web/drag-cpu.js [WEB_DIR]        WEB_DIR defaults to build/web
//   ORVANEL_TRACE=DIR  also saves a trace of 200 moves on each page in DIR
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const { serve } = require('./serve');
const { chromiumProcesses, cpuSince } = require('./processes');
const {
    MOVES, GAP_MS, RUNS, CHROMIUM_ARGS, sleep, chromiumPath, webDir, pagePlans, openPage,
    showReadout, grabCheck, backAndForth, holdingD, traceEach, row, header, medians, aboveFloor,
} = require('./drag-common');

// The mouse of the DevTools protocol, as a hand (see drag-common.js).
function protocolHand(page) {
    return {
        front: () => page.bringToFront(),
        press: async (at) => {
            await page.mouse.move(...at);
            await page.mouse.down();
        },
        moveTo: (at, steps) => page.mouse.move(...at, { steps }),
        release: () => page.mouse.up(),
    };
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

function measure(p, browserPid, n) {
    return holdingD(p, p.hand, async () => {
        const before = chromiumProcesses(browserPid);
        const ms = await paced(p.page, backAndForth(n));
        return { ms, cpu: cpuSince(before, chromiumProcesses(browserPid), MOVES / n) };
    });
}

function printMedians(results) {
    const med = medians(results);
    console.log(`\nprotocol-driven input: medians of ${RUNS} interleaved runs (each column on its own)`);
    for (const name of Object.keys(results)) {
        console.log(row(name, med[name]));
    }
    const above = (name) => aboveFloor(med, name);
    console.log(row('ours-floor', above('ours')));
    console.log(row('peer-floor', above('peer')));
    const ratio = above('ours').total / above('peer').total;
    console.log(`(ours - floor) / (peer - floor) = ${ratio.toFixed(2)}`);
    console.log(`${ratio <= 1 / 3 ? 'PASS' : 'FAIL'} (ours - floor) at most one third of (peer - floor)`);
}

async function measureDrags(browser, pages) {
    const pid = browser.process().pid;
    for (const p of pages) {
        await grabCheck(p, p.hand);
    }
    for (const p of pages) {
        await measure(p, pid, 300); // warm-up
    }
    console.log(`\nprotocol-driven input (headless, the moves sent through the DevTools protocol):`);
    console.log(`CPU ms per ${MOVES} moves ${GAP_MS} ms apart, D held`);
    console.log(header());
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
    const files = await traceEach(pages, null, dir, (p) => paced(p.page, backAndForth(200)));
    files.forEach((file, i) => console.log(`trace of 200 moves on ${pages[i].name}: ${file}`));
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
    const dir = webDir(process.argv[2]);
    const server = await serve({ '/bench/': __dirname, '/': dir });
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvanel-bench-'));
    const browser = await puppeteer.launch({
        executablePath: chromiumPath(),
        headless: true,
        userDataDir: profile,
        args: CHROMIUM_ARGS,
    });
    try {
        console.log(`${await browser.version()}, ${os.cpus().length} cores; ours from ${dir}`);
        const pages = [];
        for (const plan of pagePlans(server.url)) {
            const p = await openPage(browser, plan);
            p.hand = protocolHand(p.page);
            await showReadout(p, p.hand);
            pages.push(p);
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
