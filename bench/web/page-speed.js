// SPDX-License-Identifier: MIT
// The browser edition's speed: the drag step (one pointer move while D is
// held, the core's whole step) natively, in WebAssembly in Node and in the
// page in Debian's Chromium, timed the same way; and the board's canvas
// update per frame while D is dragged in the page with the mouse, with the
// calls into the module each such frame makes.
//
//   node page-speed.js WEB_DIR REFERENCE_PLAYER
// Needs the browser tests' packages (npm ci in tests/web).
'use strict';

const path = require('node:path');
const harness = require('../../tests/web/harness');
const { readSequence, timedPath, fixedMeasure, playedNatively } = require('../../tests/web/sequence');

const [webDir, reference] = process.argv.slice(2);
const dragFile = path.join(__dirname, 'drag-step.txt');

// A fresh window, a press where `path` starts (on D), one pass over the
// path to warm up, then `rounds` passes timed in batches of `batch` moves:
// the median time of one step in microseconds, the moves made while D was
// held, and where D's letter ended. Runs in Node and, from its source, in
// the page.
function timeDragSteps(Window, measure, path, batch, rounds) {
    const win = new Window(measure);
    try {
        win.pointerPress('mouse', 1, 1, 1, path[0][0], path[0][1]);
        const perStep = [];
        let steps = 0;
        for (let round = 0; round <= rounds; ++round) {
            for (let k = 1; k + batch <= path.length; k += batch) {
                const start = performance.now();
                for (let i = k; i < k + batch; ++i) {
                    win.pointerMove('mouse', 1, 1, path[i][0], path[i][1]);
                }
                if (round > 0) {
                    perStep.push((performance.now() - start) * 1000 / batch);
                }
                steps += batch;
            }
        }
        perStep.sort((a, b) => a - b);
        const d = win.letter(3);
        return { medianMicros: perStep[perStep.length >> 1], steps, letter: [d.left, d.top] };
    } finally {
        win.delete();
    }
}

function timeInPage(page, drag) {
    return page.evaluate((timeSource, measureSource, ...args) => {
        const time = new Function(`return (${timeSource})`)();
        const measure = new Function(`return (${measureSource})`)();
        return time(window.pageTest.Window, measure, ...args);
    }, timeDragSteps.toString(), fixedMeasure.toString(), ...drag);
}

// Times each animation frame's callback in which the board's picture had
// repainted rectangles to copy, and counts the calls into the module it
// made: every call of a window's function.
function timeFrames() {
    const proto = window.pageTest.Window.prototype;
    let calls = 0;
    for (const name of Object.getOwnPropertyNames(proto)) {
        const f = proto[name];
        if (name !== 'constructor' && typeof f === 'function') {
            proto[name] = function (...args) {
                calls += 1;
                return f.apply(this, args);
            };
        }
    }
    // A frame's numbers: flags, the controls changed, the rectangles repainted.
    const take = proto.takeFrame;
    let rects = 0;
    proto.takeFrame = function () {
        const n = take.call(this);
        rects += n[2 + n[1]];
        return n;
    };
    const request = window.requestAnimationFrame.bind(window);
    window.frameTimes = [];
    window.frameCalls = [];
    window.requestAnimationFrame = (callback) => request((t) => {
        rects = 0;
        calls = 0;
        const start = performance.now();
        callback(t);
        if (rects) {
            window.frameTimes.push(performance.now() - start);
            window.frameCalls.push(calls);
        }
    });
}

// A position of the timed path as the mouse drags D along it in the page:
// the whole board pixel nearest it on the board.
const onBoard = ([x, y]) => [Math.max(0, Math.min(801, Math.round(x))), Math.max(0, Math.min(625, Math.round(y)))];

// Drags D with the mouse along the first `moves` positions of `path`;
// returns the frame times and calls, the moves handed to the core while D
// was held and where D's letter went.
async function dragD(page, path, moves) {
    const { BOARD } = harness;
    // The letter is moved by a transform from its corner.
    const letterD = () => page.$eval('#Label2_3', (e) => {
        const m = new DOMMatrixReadOnly(getComputedStyle(e).transform);
        return [e.offsetLeft + m.m41, e.offsetTop + m.m42];
    });
    const from = await letterD();
    await page.evaluate(timeFrames);
    await page.mouse.move(BOARD.left + 550, BOARD.top + 350);
    await page.mouse.down();
    for (let i = 1; i <= moves; ++i) {
        const [x, y] = onBoard(path[i]);
        await page.mouse.move(BOARD.left + x, BOARD.top + y);
    }
    await page.mouse.up();
    await harness.frames(page);
    return {
        times: (await page.evaluate(() => window.frameTimes)).sort((a, b) => a - b),
        calls: (await page.evaluate(() => window.frameCalls)).sort((a, b) => a - b),
        steps: await page.evaluate(() => window.pageTest.heldMoves()),
        from,
        to: await letterD(),
    };
}

const line = (what, figure, rest) => console.log(`${what.padEnd(40)}${figure.padStart(10)}   ${rest}`);
const verdict = (ok, text) => console.log(`${ok ? 'PASS' : 'FAIL'} ${text}`);

async function main() {
    const step = readSequence(dragFile).find((s) => s.op === 'time');
    const drag = [timedPath(step.x, step.y, step.count), step.batch, step.rounds];
    const native = playedNatively(reference, dragFile).time;
    const node = timeDragSteps((await harness.loadCore(webDir)).Window, fixedMeasure, ...drag);

    const server = await harness.serve(webDir);
    const browser = await harness.launch();
    try {
        const page = await harness.open(browser, server.url);
        const chromium = await timeInPage(page, drag);
        const version = (await browser.version()).replace(/^[^/]*\/(\d+).*/, 'Chromium $1');
        const moves = 300;
        const frames = await dragD(page, drag[0], moves);
        await harness.close(page);

        const us = (t) => `${t.medianMicros.toFixed(2)} us`;
        const ratio = chromium.medianMicros / native.medianMicros;
        line('drag step, native', us(native), `median, ${native.steps} steps`);
        line('drag step, WebAssembly in Node', us(node),
            `${(node.medianMicros / native.medianMicros).toFixed(2)} x native, ${node.steps} steps`);
        line(`drag step, WebAssembly in ${version}`, us(chromium),
            `${ratio.toFixed(2)} x native, ${chromium.steps} steps`);
        const median = frames.times[frames.times.length >> 1];
        line('canvas update per frame, drag of D', `${median.toFixed(3)} ms`,
            `median; slowest ${frames.times[frames.times.length - 1].toFixed(3)} ms of ${frames.times.length} frames`);
        console.log(`  (${frames.steps} of ${moves} moves handed to the core while D was held; D's letter went from ` +
            `${frames.from.join(', ')} to ${frames.to.join(', ')})`);
        line('calls into the module per frame', `${frames.calls[frames.calls.length >> 1]}`,
            `median; most ${frames.calls[frames.calls.length - 1]}, fewest ${frames.calls[0]}`);
        // D ends where the last move put it; each move while it was held
        // was a drag step natively.
        const [x, y] = onBoard(drag[0][moves]);
        const dragged = [frames.from[0] + x - 550, frames.from[1] + y - 350];
        verdict([node, chromium].every((t) => t.steps === native.steps && t.letter.join() === native.letter.join())
            && frames.steps === moves && frames.to.join() === dragged.join(),
            'every move was a drag step, and D ended where the last move put it');
        verdict(ratio <= 2, `drag step in Chromium: ${ratio.toFixed(2)} x native (target <= 2)`);
        verdict(median <= 1, `canvas update per frame: median ${median.toFixed(3)} ms (target <= 1)`);
    } finally {
        await browser.finish();
        await server.close();
    }
}

main().catch((e) => {
    console.error(e);
    process.exit(1);
});
