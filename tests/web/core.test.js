// SPDX-License-Identifier: MIT
// The WebAssembly core in Node, through the same bindings the page uses: it
// starts as the desktop does, and the sequence of sequence.txt leaves the
// very read-out, controls, letters and board pixels the native core leaves.
//
//   node core.test.js WEB_DIR REFERENCE_PLAYER SEQUENCE_FILE
'use strict';

const assert = require('node:assert/strict');
const { test } = require('node:test');
const { loadCore } = require('./harness');
const { readSequence, checksum, fixedMeasure, playedNatively, controlsLine } = require('./sequence');

// The flag of a frame's first number that says the window ended.
const ENDED = 8;

const [webDir, reference, sequenceFile] = process.argv.slice(2);

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
    const core = await loadCore(webDir);
    const win = new core.Window(fixedMeasure);
    const design = core.design();
    assert.equal(win.caption(), design.caption);
    assert.equal(win.takeFrame()[0] & ENDED, 0);
    const readout = design.controls.filter((d) => d.name === 'Label5')
        .sort((a, b) => a.index - b.index).map((d) => win.control(d.id));
    assert.deepEqual(readout.map((c) => c.caption), [' 41', ' 35', ' 56', ' 132']);
    assert.ok(readout.every((c) => !c.visible), 'the read-out starts hidden');
    assert.deepEqual([win.boardWidth(), win.boardHeight()], [802, 626]);
    win.delete();
});

test('the sequence leaves the native core\'s read-out, controls, letters and board', async () => {
    const core = await loadCore(webDir);
    const expected = playedNatively(reference, sequenceFile);
    const byName = new Map(core.design().controls.map((d) => [d.objectName, d.id]));
    const win = new core.Window(fixedMeasure);
    let held = 0;
    let heldMoves = 0;
    let touch = false;
    const checks = [];
    // A finger is a pointer of its own, the mouse another, as the browser
    // numbers them.
    const pointer = () => (touch ? ['touch', 2] : ['mouse', 1]);
    for (const step of readSequence(sequenceFile)) {
        switch (step.op) {
        case 'input':
            touch = step.touch;
            break;
        case 'move':
            heldMoves += held ? 1 : 0;
            win.pointerMove(...pointer(), held, step.x, step.y);
            break;
        case 'press':
            held |= step.button;
            win.pointerPress(...pointer(), step.button, held, step.x, step.y);
            break;
        case 'release':
            held &= ~step.button;
            win.pointerRelease(...pointer(), step.button, held, step.x, step.y);
            break;
        case 'click':
            assert.ok(byName.has(step.name), `no control ${step.name}`);
            win.focusOut();
            win.click(byName.get(step.name));
            break;
        case 'key':
            assert.equal(win.key(step.name, step.shift, false), 'done', `key ${step.name}`);
            break;
        case 'shortcut':
            assert.equal(win.shortcut(step.name, step.shift), 'done', `shortcut ${step.name}`);
            break;
        case 'check': {
            // The frame brings the board's picture up to date.
            win.takeFrame();
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
                // Taken anew: the module's memory may have grown since.
                checksum: checksum(win.pixels()),
                heldMoves,
                controls: controlsLine(controls),
            });
            break;
        }
        default:
            throw new Error(`unknown step ${step.op}`);
        }
    }
    assert.equal(touch, false, 'the sequence ends with the mouse');
    assert.equal(checks.length, expected.checks.length);
    for (let i = 0; i < checks.length; ++i) {
        assert.deepEqual(checks[i], expected.checks[i], `at check ${expected.checks[i].name}`);
    }
    win.delete();
});
