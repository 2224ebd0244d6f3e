// SPDX-License-Identifier: MIT
// Plays the input sequence of sequence.txt on a page with real mouse, touch and
// key input, and records at each check what the page shows, in the words of the
// native player's checks.
'use strict';

const assert = require('node:assert/strict');
const { BOARD, frames } = require('./harness');
const { checksum, controlsLine } = require('./sequence');

const BUTTON_NAMES = { 1: 'left', 2: 'right', 4: 'middle' };
// The keys of the sequence's key and shortcut steps, as puppeteer names them.
const KEY_NAMES = {
    Left: 'ArrowLeft', Right: 'ArrowRight', Up: 'ArrowUp', Down: 'ArrowDown', Space: 'Space',
    Escape: 'Escape', A: 'KeyA', D: 'KeyD', F10: 'F10', ContextMenu: 'ContextMenu', Z: 'KeyZ', Y: 'KeyY',
};

// Presses `name` with `modifiers` held.
async function press(page, name, modifiers) {
    for (const m of modifiers) {
        await page.keyboard.down(m);
    }
    await page.keyboard.press(KEY_NAMES[name]);
    for (const m of modifiers.reverse()) {
        await page.keyboard.up(m);
    }
}

class Player {
    // `design`: the window's design; `steps`: the sequence, from readSequence.
    constructor(design, steps) {
        this.controls = design.controls.map((d) => ({ objectName: d.objectName, kind: d.kind }));
        this.steps = steps;
    }

    // What the page shows: controls, read-out, letters, the board's canvas,
    // and the pointer moves handed to the core with a button held.
    shown(page) {
        return page.evaluate((controls, checksumSource) => {
            const fnv = new Function(`return (${checksumSource})`)();
            const list = controls.map((d) => {
                const e = document.getElementById(d.objectName);
                const box = e.tagName === 'INPUT' ? e.parentElement : e;
                const caption = (d.kind === 'label' || d.kind === 'button') ? e.textContent : box.textContent;
                return {
                    objectName: d.objectName,
                    caption,
                    checked: e.tagName === 'INPUT' && e.checked,
                    disabled: d.kind !== 'label' && e.disabled,
                    hidden: box.hidden || getComputedStyle(box).display === 'none',
                    bold: d.kind === 'button' && Number(getComputedStyle(e).fontWeight) >= 700,
                };
            });
            const readout = list.filter((c) => c.objectName.startsWith('Label5_'));
            // A letter's place on the board: moved by a transform from its corner.
            const letters = [...document.querySelectorAll('.letter')].map((l) => {
                const m = new DOMMatrixReadOnly(getComputedStyle(l).transform);
                return [l.offsetLeft + m.m41, l.offsetTop + m.m42];
            });
            // The canvas holds the board's device pixels at any size, and no
            // letters while no button holds the board.
            const canvas = document.getElementById('gamen');
            const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            return {
                readout: readout.map((c) => c.caption),
                readoutShown: !readout[0].hidden,
                letters,
                checksum: fnv(pixels),
                heldMoves: window.pageTest.heldMoves(),
                list,
            };
        }, this.controls, checksum.toString());
    }

    // The check named `name`, as the native player records it.
    async record(page, name) {
        await frames(page);
        const s = await this.shown(page);
        return {
            name, readout: s.readout, readoutShown: s.readoutShown, letters: s.letters,
            checksum: s.checksum, heldMoves: s.heldMoves, controls: controlsLine(s.list),
        };
    }

    // Plays the steps up to the check named `until` (all of them without)
    // on a board at `origin` shown at `scale`; returns the checks recorded.
    async play(page, { until, scale = 1, origin = BOARD } = {}) {
        const at = (step) => [origin.left + step.x * scale, origin.top + step.y * scale];
        const checks = [];
        let touch = false;
        let pointer = null; // where the mouse is on the board
        for (const step of this.steps) {
            switch (step.op) {
            case 'input':
                touch = step.touch;
                break;
            case 'move':
                await (touch ? page.touchscreen.touchMove(...at(step)) : page.mouse.move(...at(step)));
                pointer = [step.x, step.y];
                break;
            case 'press':
                if (touch) {
                    await page.touchscreen.touchStart(...at(step));
                } else {
                    assert.deepEqual(pointer, [step.x, step.y], 'a mouse presses where it is');
                    await page.mouse.down({ button: BUTTON_NAMES[step.button] });
                }
                pointer = [step.x, step.y];
                break;
            case 'release':
                await (touch ? page.touchscreen.touchEnd() : page.mouse.up({ button: BUTTON_NAMES[step.button] }));
                break;
            case 'click':
                await page.click(`#${step.name}`);
                pointer = null;
                break;
            case 'key':
                if (!await page.evaluate(() => document.activeElement.id === 'gamen')) {
                    await page.focus('#gamen');
                }
                await press(page, step.name, step.shift ? ['Shift'] : []);
                break;
            case 'shortcut':
                await press(page, step.name, step.shift ? ['Control', 'Shift'] : ['Control']);
                break;
            case 'check':
                checks.push(await this.record(page, step.name));
                if (step.name === until) {
                    return checks;
                }
                break;
            default:
                throw new Error(`unknown step ${step.op}`);
            }
        }
        return checks;
    }
}

module.exports = { Player };
