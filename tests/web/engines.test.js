// SPDX-License-Identifier: MIT
// The page in each engine a classroom meets: Chromium, Firefox ESR and
// WebKit, Debian's, each driven with real pointer input (engines/) and
// reaching no host but this one. One sequence (engines.txt) is played in each
// and must leave the read-out, the letters and the board pixels the native
// core leaves, a right press during a drag included; a finger and a pen drag
// D as the native core's finger does, where the engine's driver can send
// them; D dragged by keys lands where the mouse drags it; a press on the
// board shows neither the focus ring nor the keyboard's crosshair, a board
// key shows both, the ring clear of the read-out; orvanel.html opened from
// disk works with the network out of reach.
//
//   node engines.test.js WEB_DIR REFERENCE_PLAYER SEQUENCE_FILE [ENGINE...]
// Without engines named (or ORVANEL_ENGINES=a,b) it runs all three.
'use strict';

const assert = require('node:assert/strict');
const path = require('node:path');
const { after, before, describe, test } = require('node:test');
const { launch, ENGINES } = require('./engines');
const { WINDOW, BOARD, loadCore, serve } = require('./harness');
const { readSequence, checksum, playedNatively } = require('./sequence');

const [webDir, reference, sequenceFile, ...named] = process.argv.slice(2);
const engines = named.length ? named
    : (process.env.ORVANEL_ENGINES ? process.env.ORVANEL_ENGINES.split(',') : ENGINES);

// The read-out the design starts with, and after D is dragged 60 pixels right.
const READOUTS = { start: [' 41', ' 35', ' 56', ' 132'], dragD: [' 58', ' 35', ' 75', ' 168'] };
// The W3C button of each of the sequence's buttons: left, right, middle.
const W3C_BUTTON = { 1: 0, 2: 2, 4: 1 };
// W3C key values.
const SHIFT = '\uE008';
const ARROW_LEFT = '\uE012';
const ARROW_RIGHT = '\uE014';
// A key pressed and let go.
const key = (value) => [{ type: 'keyDown', value }, { type: 'keyUp', value }];

const steps = readSequence(sequenceFile);
const native = new Map(playedNatively(reference, sequenceFile).checks.map((c) => [c.name, c]));

async function ready(engine) {
    const until = Date.now() + 20000;
    while (!await engine.evaluate(() => document.querySelector('#Form1[data-ready]') !== null)) {
        assert.ok(Date.now() < until, `the page did not get ready: ${await engine.takeErrors()}`);
        await new Promise((r) => setTimeout(r, 100));
    }
}

// What a check records, read in the page after two frames, when whatever it
// had to show is on the canvas.
function boardState(checksumSource) {
    return new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() => {
        const fnv = new Function(`return (${checksumSource})`)();
        const readout = [0, 1, 2, 3].map((i) => document.getElementById(`Label5_${i}`));
        const canvas = document.getElementById('gamen');
        done({
            readout: readout.map((e) => e.textContent),
            readoutShown: !readout[0].hidden && getComputedStyle(readout[0]).display !== 'none',
            letters: [...document.querySelectorAll('.letter')].map((l) => {
                const m = new DOMMatrixReadOnly(getComputedStyle(l).transform);
                return [l.offsetLeft + m.m41, l.offsetTop + m.m42];
            }),
            checksum: fnv(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data),
        });
    })));
}

function nativeCheck(name) {
    const { readout, readoutShown, letters, checksum: sum } = native.get(name);
    return { readout, readoutShown, letters, checksum: sum };
}

// Plays `steps` with real input: the mouse's lines with the mouse, the
// touch lines with `touch` (a finger or a pen). The pointer's actions are
// sent together up to the next click or check. Returns the checks by name.
async function play(engine, steps, touch = 'touch') {
    const checks = new Map();
    let type = 'mouse';
    let actions = [];
    const flush = async () => {
        if (actions.length) {
            await engine.pointer(type, actions);
            actions = [];
        }
    };
    const to = (x, y) => ({ type: 'pointerMove', x: BOARD.left + x, y: BOARD.top + y, origin: 'viewport' });
    for (const step of steps) {
        switch (step.op) {
        case 'input':
            await flush();
            type = step.touch ? touch : 'mouse';
            break;
        case 'move':
            actions.push(to(step.x, step.y));
            break;
        case 'press':
            if (type !== 'mouse') {
                actions.push(to(step.x, step.y));
            }
            actions.push({ type: 'pointerDown', button: W3C_BUTTON[step.button] });
            break;
        case 'release':
            actions.push({ type: 'pointerUp', button: W3C_BUTTON[step.button] });
            break;
        case 'click':
            await flush();
            await clickOn(engine, step.name);
            break;
        case 'check':
            await flush();
            checks.set(step.name, await engine.evaluate(boardState, checksum.toString()));
            break;
        default:
            throw new Error(`no ${step.op} in this sequence`);
        }
    }
    await flush();
    return checks;
}

// A mouse click in the middle of the control.
async function clickOn(engine, id) {
    const [x, y] = await engine.evaluate((name) => {
        const r = document.getElementById(name).getBoundingClientRect();
        return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)];
    }, id);
    await engine.pointer('mouse', [{ type: 'pointerMove', x, y, origin: 'viewport' },
        { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }]);
}

// The steps from the check `from` (exclusive) to the check `to` (inclusive).
function between(from, to) {
    const index = (name) => steps.findIndex((s) => s.op === 'check' && s.name === name);
    return steps.slice(from ? index(from) + 1 : 0, index(to) + 1);
}

function compare(checks) {
    for (const [name, check] of checks) {
        assert.deepEqual(check, nativeCheck(name), `at check ${name}`);
    }
}

let design;
let server;

before(async () => {
    design = (await loadCore(webDir)).design();
    server = await serve(webDir);
});

after(() => server && server.close());

for (const name of engines) {
    describe(name, () => {
        let engine;

        before(async () => {
            engine = await launch(name);
            console.log(`${name}: ${engine.version}`);
        });

        after(() => engine && engine.close());

        test('index.html from a local server: the window, and the sequence with a real mouse', async (t) => {
            await engine.open(`${server.url}index.html?scale=1`, WINDOW);
            await ready(engine);
            const built = await engine.evaluate((ids) => {
                const board = document.getElementById('gamen');
                const r = board.getBoundingClientRect();
                return {
                    title: document.title,
                    missing: ids.filter((id) => !document.getElementById(id)),
                    board: { left: r.left, top: r.top, width: r.width, height: r.height },
                    pixels: [board.width, board.height],
                };
            }, design.controls.map((d) => d.objectName));
            assert.deepEqual(built, { title: design.caption, missing: [], board: BOARD, pixels: [802, 626] });

            const checks = await play(engine, between(null, 'initial'));
            compare(checks);
            for (const [check, readout] of Object.entries(READOUTS)) {
                assert.deepEqual(checks.get(check).readout, readout, `the read-out at ${check}`);
            }
            assert.notEqual(checks.get('memo').checksum, checks.get('dragA').checksum, 'the memo pen drew');
            assert.equal(checks.get('initial').checksum, checks.get('start').checksum, '初期画面 restores the board');

            await t.test('a right press during a drag wipes its traces, and the drag goes on', async () => {
                compare(await play(engine, between('initial', 'chord')));
            });
            // Each from the initial screen: the sequence clicks 初期画面 first.
            for (const kind of engine.pointerTypes.filter((k) => k !== 'mouse')) {
                await t.test(`${kind} input drags D as a finger does`, async () => {
                    compare(await play(engine, between('chord', 'touch'), kind));
                });
            }
            assert.deepEqual(await engine.takeErrors(), [], 'the page raised script errors');
        });

        test('D dragged by keys as the mouse drags it', async () => {
            await engine.open(`${server.url}index.html?scale=1`, WINDOW);
            await ready(engine);
            await play(engine, between(null, 'readout'));
            await engine.evaluate(() => document.getElementById('gamen').focus());
            const shiftRight = [{ type: 'keyDown', value: SHIFT }, ...key(ARROW_RIGHT), { type: 'keyUp', value: SHIFT }];
            await engine.keys([...key('d'), ...key(' '), ...Array(6).fill(shiftRight).flat(), ...key(' ')]);
            // The crosshair goes with the focus. A headless Firefox window never
            // has the focus, so its elements get no focus events: the board is
            // told by hand.
            await engine.evaluate(() => {
                const board = document.getElementById('gamen');
                board.blur();
                board.dispatchEvent(new FocusEvent('blur'));
            });
            assert.deepEqual(await engine.evaluate(boardState, checksum.toString()), nativeCheck('dragD'));
            assert.deepEqual(await engine.takeErrors(), [], 'the page raised script errors');
        });

        // A headless Firefox window never has the focus, so its board gets no
        // focus event: there the press cannot show the crosshair either way,
        // and the ring is checked to follow the crosshair.
        test('a mouse press shows neither the focus ring nor the crosshair; a board key shows both, clear of the read-out', async () => {
            await engine.open(`${server.url}index.html?scale=1`, WINDOW);
            await ready(engine);
            const ring = () => engine.evaluate(() => {
                const r = document.querySelector('.board-ring');
                const s = getComputedStyle(r);
                const out = s.outlineStyle === 'none' ? null : parseFloat(s.outlineWidth) + parseFloat(s.outlineOffset);
                return out === null ? null : r.getBoundingClientRect().right + out;
            });
            // D dragged first thing.
            const pressed = await play(engine, between('readout', 'dragD'));
            assert.equal(pressed.get('dragD').checksum, native.get('dragD').checksum, 'no crosshair on the board');
            assert.equal(await ring(), null, 'no focus ring');
            await clickOn(engine, 'Check2');
            await engine.evaluate(() => document.getElementById('gamen').focus());
            await engine.keys([...key(ARROW_RIGHT), ...key(ARROW_LEFT)]);
            const keyed = await engine.evaluate(boardState, checksum.toString());
            assert.notEqual(keyed.checksum, native.get('dragD').checksum, 'the crosshair on the board');
            const right = await ring();
            assert.notEqual(right, null, 'the focus ring');
            // D's three digits, the read-out's widest, beside the ring.
            const values = await engine.evaluate(() => [0, 1, 2, 3].map((i) => {
                const range = document.createRange();
                range.selectNodeContents(document.getElementById(`Label5_${i}`));
                return range.getBoundingClientRect().left;
            }));
            assert.ok(values.every((left) => left >= right), `the ring reaches ${right}, the values start at ${values}`);
            assert.deepEqual(await engine.takeErrors(), [], 'the page raised script errors');
        });

        test('orvanel.html from disk: no request leaves the disk, and D drags', async () => {
            await engine.open(`file://${path.resolve(webDir, 'orvanel.html')}?scale=1`, WINDOW);
            await ready(engine);
            compare(await play(engine, between(null, 'dragD')));
            const fetched = await engine.evaluate(() => performance.getEntriesByType('resource').map((e) => e.name)
                .filter((url) => !/^(file|data|blob):/.test(url)));
            assert.deepEqual(fetched, []);
            assert.deepEqual(await engine.takeErrors(), [], 'the page raised script errors');
        });
    });
}
