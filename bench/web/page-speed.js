// SPDX-License-Identifier: MIT
// The browser edition's speed: the drag step (one pointer move while D is
// held, the core's whole step) natively, in WebAssembly in Node and in the
// page in Debian's Chromium, timed the same way; and the board's canvas
// update per frame while D is dragged in the page with the mouse.
//
//   node page-speed.js WEB_DIR REFERENCE_PLAYER
// Needs the browser tests' packages (npm ci in tests/web).
'use strict';

const path = require('node:path');
const harness = require('../../tests/web/harness');
const { readSequence, timedPath, fixedMeasure, nativeSession } = require('../../tests/web/sequence');

const [webDir, reference] = process.argv.slice(2);
const dragFile = path.join(__dirname, 'drag-step.txt');

// A fresh window, a press where `path` starts, one pass over the path to
// warm up, then `rounds` passes timed in batches of `batch` moves: the
// median time of one step in microseconds, and the drag steps taken. Runs
// in Node and, from its source, in the page.
function timeDragSteps(Window, measure, path, batch, rounds) {
    const win = new Window(measure);
    try {
        win.press(1, 1, path[0][0], path[0][1]);
        const perStep = [];
        const before = win.dragSteps();
        for (let round = 0; round <= rounds; ++round) {
            for (let k = 1; k + batch <= path.length; k += batch) {
                const start = performance.now();
                for (let i = k; i < k + batch; ++i) {
                    win.move(1, path[i][0], path[i][1]);
                }
                if (round > 0) {
                    perStep.push((performance.now() - start) * 1000 / batch);
                }
            }
        }
        perStep.sort((a, b) => a - b);
        return { medianMicros: perStep[perStep.length >> 1], steps: win.dragSteps() - before };
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
// repainted rectangles to copy.
function timeFrames() {
    const proto = window.pageTest.Window.prototype;
    const update = proto.updatePicture;
    let rects = 0;
    proto.updatePicture = function () {
        const r = update.call(this);
        rects += r.length / 4;
        return r;
    };
    const request = window.requestAnimationFrame.bind(window);
    window.frameTimes = [];
    window.requestAnimationFrame = (callback) => request((t) => {
        rects = 0;
        const start = performance.now();
        callback(t);
        if (rects) {
            window.frameTimes.push(performance.now() - start);
        }
    });
}

// Drags D with the mouse along the first `moves` positions of `path`;
// returns the frame times, the drag steps and where D's letter went.
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
        const [x, y] = path[i];
        await page.mouse.move(BOARD.left + Math.max(0, Math.min(801, x)), BOARD.top + Math.max(0, Math.min(625, y)));
    }
    await page.mouse.up();
    await harness.frames(page);
    return {
        times: (await page.evaluate(() => window.frameTimes)).sort((a, b) => a - b),
        steps: await page.evaluate(() => window.pageTest.dragSteps()),
        from,
        to: await letterD(),
    };
}

const line = (what, figure, rest) => console.log(`${what.padEnd(40)}${figure.padStart(10)}   ${rest}`);
const verdict = (ok, text) => console.log(`${ok ? 'PASS' : 'FAIL'} ${text}`);

async function main() {
    const step = readSequence(dragFile).find((s) => s.op === 'time');
    const drag = [timedPath(step.x, step.y, step.count), step.batch, step.rounds];
    const native = nativeSession(reference, dragFile).time;
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
        console.log(`  (${frames.steps} drag steps of ${moves} moves; D's letter went from ` +
            `${frames.from.join(', ')} to ${frames.to.join(', ')})`);
        verdict([node.steps, chromium.steps].every((s) => s === native.steps) && frames.steps === moves,
            'every move was a drag step');
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
