// SPDX-License-Identifier: MIT
// The WebAssembly core in Node, through the same bindings the page uses: it
// starts as the desktop does, and the session of sequence.txt leaves the
// very read-out, controls, letters and board pixels the native core leaves.
//
//   node core.test.js WEB_DIR REFERENCE_PLAYER SEQUENCE_FILE
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { test } = require('node:test');
const { readSequence, checksum, timedPath, nativeSession, controlsLine } = require('./sequence');

const [webDir, reference, sequenceFile] = process.argv.slice(2);

// The native player's stand-in for a font: every character 4/5 of the pixel
// size wide, a line 11/10 of it high.
function fixedMeasure(font, text) {
    const pixels = font.face === 'default' ? 12 : Math.round(font.points * 4 / 3);
    const characters = [...text].length;
    return { width: Math.ceil(characters * pixels * 0.8), height: Math.ceil(pixels * 1.1) };
}

async function loadCore() {
    const create = require(path.resolve(webDir, 'orvanel.js'));
    return create({ wasmBinary: fs.readFileSync(path.join(webDir, 'orvanel.wasm')) });
}

function controlsOf(core, win) {
    return core.design().controls.map((d) => {
        const s = win.control(d.id);
        return {
            objectName: d.objectName,
            caption: s.caption,
            checked: s.checked,
            disabled: !s.enabled && d.kind !== 'label',
            hidden: !s.visible,
            bold: s.bold && d.kind === 'button',
        };
    });
}

test('the WebAssembly core starts as the desktop does', async () => {
    const core = await loadCore();
    const win = new core.Window(fixedMeasure);
    const design = core.design();
    assert.equal(win.caption(), design.caption);
    assert.equal(win.ended(), false);
    const readout = design.controls.filter((d) => d.name === 'Label5')
        .sort((a, b) => a.index - b.index).map((d) => win.control(d.id));
    assert.deepEqual(readout.map((c) => c.caption), [' 41', ' 35', ' 56', ' 132']);
    assert.ok(readout.every((c) => !c.visible), 'the read-out starts hidden');
    assert.deepEqual([win.boardWidth(), win.boardHeight()], [802, 626]);
    win.delete();
});

test('the session leaves the native core\'s read-out, controls, letters and board', async () => {
    const core = await loadCore();
    const expected = nativeSession(reference, sequenceFile);
    const byName = new Map(core.design().controls.map((d) => [d.objectName, d.id]));
    const win = new core.Window(fixedMeasure);
    // One view over the board's picture for the whole session: the module's
    // memory must never grow, or the view would be left empty.
    const pixels = win.pixels();
    win.updatePicture();
    let held = 0;
    let touch = false;
    const checks = [];
    for (const step of readSequence(sequenceFile)) {
        switch (step.op) {
        case 'input':
            touch = step.touch;
            break;
        case 'move':
            win.move(held, step.x, step.y);
            break;
        case 'press':
            held |= step.button;
            win.press(step.button, held, step.x, step.y);
            break;
        case 'release':
            held &= ~step.button;
            win.release(step.button, held, step.x, step.y);
            break;
        case 'click':
            assert.ok(byName.has(step.name), `no control ${step.name}`);
            win.click(byName.get(step.name));
            break;
        case 'check': {
            win.updatePicture();
            win.takeChangedControls();
            const controls = controlsOf(core, win);
            const readout = controls.filter((c) => c.objectName.startsWith('Label5_'));
            const letters = [];
            for (let i = 0; i < win.letterCount(); ++i) {
                const l = win.letter(i);
                letters.push([l.left, l.top]);
            }
            checks.push({
                name: step.name,
                readout: readout.map((c) => c.caption),
                readoutShown: !readout[0].hidden,
                letters,
                checksum: checksum(pixels),
                dragSteps: win.dragSteps(),
                controls: controlsLine(controls),
            });
            break;
        }
        case 'time': {
            const path = timedPath(step.x, step.y, step.count);
            const t = new core.Window(fixedMeasure);
            t.press(1, 1, path[0][0], path[0][1]);
            const perStep = [];
            for (let round = 0; round <= step.rounds; ++round) {
                for (let k = 1; k + step.batch <= path.length; k += step.batch) {
                    const start = process.hrtime.bigint();
                    for (let i = k; i < k + step.batch; ++i) {
                        t.move(1, path[i][0], path[i][1]);
                    }
                    if (round > 0) {
                        perStep.push(Number(process.hrtime.bigint() - start) / 1000 / step.batch);
                    }
                }
            }
            t.delete();
            perStep.sort((a, b) => a - b);
            console.log(`drag step median: ${perStep[perStep.length >> 1].toFixed(2)} us WebAssembly ` +
                `in Node, ${expected.time.medianMicros.toFixed(2)} us native`);
            break;
        }
        default:
            throw new Error(`unknown step ${step.op}`);
        }
    }
    assert.equal(touch, false, 'the session ends with the mouse');
    assert.equal(checks.length, expected.checks.length);
    for (let i = 0; i < checks.length; ++i) {
        assert.deepEqual(checks[i], expected.checks[i], `at check ${expected.checks[i].name}`);
    }
    win.delete();
});
