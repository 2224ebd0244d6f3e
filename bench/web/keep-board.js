// SPDX-License-Identifier: MIT
// What a lesson's board costs the page in Debian's Chromium: the size of
// its saved file (Ctrl+S), one keep after an action (the window's picture
// drawn, encoded, the board put in it, the record stored), and one open of
// the file dropped on the page. The lesson is the desktop's benchmark's
// (bench/board_bench.cpp): three drags with nonClear, chalk in four pens,
// three straight lines, the grid and the read-out.
//
// A keep's parts on the page's thread are read from the page's own
// performance timeline (keeper.js), the browser's calls (the picture's
// pixels read and handed to the encoding worker, the store's put) timed
// around them; the page's whole main-thread time is the renderer's task
// time per action, against the same actions with no keep.
//
//   node keep-board.js WEB_DIR
// Needs the browser tests' packages (npm ci in tests/web).
'use strict';

const harness = require('../../tests/web/harness');
const { Player } = require('../../tests/web/player');

const [webDir] = process.argv.slice(2);
const ACTIONS = 20;

// The lesson, as a player's steps.
function lesson() {
    const steps = [];
    const click = (name) => steps.push({ op: 'click', name });
    const stroke = (path) => {
        const [[x, y]] = path;
        steps.push({ op: 'move', x, y }, { op: 'press', x, y, button: 1 });
        steps.push(...path.slice(1).map(([px, py]) => ({ op: 'move', x: px, y: py })));
        const [x1, y1] = path.at(-1);
        steps.push({ op: 'release', x: x1, y: y1, button: 1 });
        return path.at(-1);
    };
    // A hand's drag from a vertex: a loop away and most of the way back.
    const drag = ([x, y], moves) => stroke(Array.from({ length: moves + 1 }, (_, i) => {
        const t = 1.6 * Math.PI * i / moves;
        return [Math.round(x + 90 * Math.sin(t)), Math.round(y + 60 * (1 - Math.cos(t)))];
    }));
    click('Check3');
    click('Check2');
    const d = drag([550, 350], 150);
    drag([600, 150], 150);
    drag(d, 100);
    click('Check3');
    click('Command3');
    for (const pen of [0, 1, 5, 6]) {
        click(`Option1_${pen}`);
        for (let row = 0; row < 3; ++row) {
            stroke(Array.from({ length: 41 }, (_, i) => [60 + 12 * i, 60 + 65 * pen + 40 * row + 8 * (i % 3)]));
        }
    }
    click('Command3');
    click('Command5');
    for (let row = 0; row < 3; ++row) {
        stroke([[40 + 200 * row, 600], [300 + 150 * row, 40]]);
    }
    click('Command4');
    return steps;
}

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const line = (what, figure, rest = '') => console.log(`${what.padEnd(44)}${figure.padStart(10)}   ${rest}`);

// Times the browser's calls a keep makes on the page's thread.
function timeCalls() {
    window.calls = { createImageBitmap: [], postMessage: [], put: [] };
    for (const [proto, name] of [[window, 'createImageBitmap'], [Worker.prototype, 'postMessage'],
        [IDBObjectStore.prototype, 'put']]) {
        const call = proto[name];
        proto[name] = function (...args) {
            const start = performance.now();
            try {
                return call.apply(this, args);
            } finally {
                window.calls[name].push(performance.now() - start);
            }
        };
    }
}

// The renderer's main-thread task time, in ms.
async function taskTime(cdp) {
    const { metrics } = await cdp.send('Performance.getMetrics');
    return metrics.find((m) => m.name === 'TaskDuration').value * 1000;
}

// `ACTIONS` clicks on "angle", each waited for until its keep is stored
// (or, with `keeping` false, for as long). The renderer's task time per
// action, and the page's measures of each keep.
async function actions(page, keeping) {
    const cdp = await page.createCDPSession();
    await cdp.send('Performance.enable');
    const keeps = [];
    let tasks = 0;
    for (let i = 0; i < ACTIONS; ++i) {
        const before = await taskTime(cdp);
        const count = await page.evaluate(() => performance.getEntriesByName('orvanel-keep').length
            && performance.getEntriesByName('orvanel-keep')[0].startTime);
        await page.click('#Check2');
        if (keeping) {
            await page.waitForFunction((c) => performance.getEntriesByName('orvanel-keep')[0]?.startTime > c, {}, count);
        } else {
            await new Promise((r) => setTimeout(r, 150));
        }
        await harness.frames(page);
        tasks += await taskTime(cdp) - before;
        if (keeping) {
            keeps.push(await page.evaluate(() => Object.fromEntries(['orvanel-keep-picture', 'orvanel-keep-pack',
                'orvanel-keep'].map((n) => [n, performance.getEntriesByName(n)[0].duration]))));
        }
    }
    return { tasks: tasks / ACTIONS, keeps };
}

async function measure(browser, server, viewport) {
    const page = await harness.open(browser, server.url, viewport, (p) => p.evaluateOnNewDocument(timeCalls));
    const origin = await page.$eval('#gamen', (c) => c.getBoundingClientRect().toJSON());
    const scale = origin.width / 802;
    await new Player((await harness.loadCore(webDir)).design(), lesson()).play(page, { scale, origin });
    // The file Ctrl+S saves.
    const file = page.evaluate(() => new Promise((resolve) => {
        HTMLAnchorElement.prototype.click = async function () {
            const bytes = new Uint8Array(await (await fetch(this.href)).arrayBuffer());
            window.savedFile = bytes;
            resolve(bytes.length);
        };
    }));
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyS');
    await page.keyboard.up('Control');
    const size = await file;
    const chunk = await page.evaluate(() => window.pageTest.windows.at(-1).boardData().length);

    await page.evaluate(() => {
        for (const times of Object.values(window.calls)) {
            times.length = 0;
        }
    });
    const kept = await actions(page, true);
    const calls = await page.evaluate(() => window.calls);
    // The same actions, never kept.
    await page.evaluate(() => {
        // Every frame says no keep is due (its flag 4).
        const proto = window.pageTest.Window.prototype;
        const take = proto.takeFrame;
        proto.takeFrame = function () {
            const frame = take.call(this);
            frame[0] &= ~4;
            return frame;
        };
    });
    const bare = await actions(page, false);

    // The file dropped on the page, each time over another board.
    const opens = await page.evaluate(async (times) => {
        const proto = window.pageTest.Window.prototype;
        const open = proto.openBoard;
        const core = [];
        const shown = [];
        for (let i = 0; i < times; ++i) {
            await new Promise((r) => requestAnimationFrame(() => setTimeout(r)));
            document.getElementById('Command1').click();
            await new Promise((r) => requestAnimationFrame(() => setTimeout(r)));
            const transfer = new DataTransfer();
            transfer.items.add(new File([window.savedFile], 'lesson.png', { type: 'image/png' }));
            const start = performance.now();
            await new Promise((resolve) => {
                proto.openBoard = function (bytes) {
                    const t = performance.now();
                    const problem = open.call(this, bytes);
                    core.push(performance.now() - t);
                    proto.openBoard = open;
                    // After the frame that shows it.
                    requestAnimationFrame(() => setTimeout(resolve));
                    return problem;
                };
                document.getElementById('gamen').dispatchEvent(new DragEvent('drop',
                    { dataTransfer: transfer, bubbles: true, cancelable: true }));
            });
            shown.push(performance.now() - start);
        }
        return { core, shown };
    }, ACTIONS);
    await harness.close(page);
    return { size, chunk, kept, calls, bare, opens };
}

async function main() {
    const server = await harness.serve(webDir);
    const browser = await harness.launch();
    try {
        const version = (await browser.version()).replace(/^[^/]*\/(\d+).*/, 'Chromium $1');
        console.log(`A lesson's board in ${version}, medians of ${ACTIONS}:`);
        for (const [name, viewport] of [['at its own size, 917 x 687', harness.WINDOW],
            ['on a 1920 x 1080 whiteboard', { width: 1920, height: 1080 }]]) {
            const m = await measure(browser, server, viewport);
            const ms = (t) => `${t.toFixed(2)} ms`;
            const part = (n) => median(m.kept.keeps.map((k) => k[n]));
            const encoding = median(m.calls.createImageBitmap) + median(m.calls.postMessage);
            const main = part('orvanel-keep-picture') + part('orvanel-keep-pack') + encoding + median(m.calls.put);
            console.log(`\n${name}`);
            line('saved file (Ctrl+S)', `${(m.size / 1024).toFixed(1)} KB`, `the board's chunk ${(m.chunk / 1024).toFixed(1)} KB`);
            line('keep: picture drawn, board data taken', ms(part('orvanel-keep-picture')));
            line('keep: pixels handed to the encoder', ms(encoding), 'createImageBitmap, postMessage');
            line('keep: board put in the PNG', ms(part('orvanel-keep-pack')));
            line('keep: record handed to IndexedDB (put)', ms(median(m.calls.put)));
            line('keep: page\'s own work on the main thread', ms(main), 'the sum of the four above');
            line('keep: action to stored (wall)', ms(part('orvanel-keep')));
            line('keep: renderer main thread, all of it', ms(m.kept.tasks - m.bare.tasks),
                `task time per action ${m.kept.tasks.toFixed(1)} ms, ${m.bare.tasks.toFixed(1)} ms never kept`);
            line('open: the core reads the file', ms(median(m.opens.core)));
            line('open: drop to the board shown (wall)', ms(median(m.opens.shown)));
        }
    } finally {
        await browser.finish();
        await server.close();
    }
}

main().catch((e) => {
    console.error(e);
    process.exit(1);
});
