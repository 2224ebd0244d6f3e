// SPDX-License-Identifier: MIT
// A real mouse for a browser on a virtual X display: W3C pointer actions
// played as the X server's own input (XTEST, through xdotool), so the page
// gets what a mouse on that display sends, two buttons held at once included.
'use strict';

const assert = require('node:assert/strict');
const { execFile } = require('node:child_process');
const { promisify } = require('node:util');

const run = promisify(execFile);
// The X button and the bit in `buttons` of W3C's left, middle and right.
const X_BUTTON = { 0: 1, 1: 2, 2: 3 };
const BUTTON_BIT = { 0: 1, 1: 4, 2: 2 };
// In the page: the last mouse event's position and buttons.
function watchMouse() {
    window.__engineMouse = null;
    for (const type of ['pointermove', 'pointerdown', 'pointerup']) {
        window.addEventListener(type, (e) => {
            if (e.pointerType === 'mouse') {
                window.__engineMouse = [e.clientX, e.clientY, e.buttons];
            }
        }, true);
    }
}

function xMouse(display, evaluate) {
    const xdotool = (args) => run('xdotool', args.map(String), { env: { ...process.env, DISPLAY: display } });
    let offset = [0, 0]; // the page's origin on the screen
    let at = null; // where the mouse is on the page, and what it holds
    let buttons = 0;

    // Until the page has seen the mouse at (x, y) with `held` down.
    async function until(x, y, held) {
        const want = [x, y, held];
        const end = Date.now() + 5000;
        let seen;
        while (Date.now() < end) {
            seen = await evaluate(() => window.__engineMouse);
            if (seen && seen.every((v, i) => v === want[i])) {
                return;
            }
            await new Promise((r) => setTimeout(r, 5));
        }
        assert.fail(`the page saw the mouse at ${JSON.stringify(seen)}, not ${JSON.stringify(want)}`);
    }

    return {
        // After each load: finds where the page lies on the screen.
        async calibrate() {
            await xdotool(['mousemove', 0, 0, 'sleep', 0.05]);
            await evaluate(watchMouse);
            await xdotool(['mousemove', 400, 300]);
            let seen = null;
            for (let i = 0; i < 100 && !seen; ++i) {
                seen = await evaluate(() => window.__engineMouse);
            }
            assert.ok(seen, 'the page never saw the X pointer');
            offset = [400 - seen[0], 300 - seen[1]];
            at = [seen[0], seen[1]];
            buttons = 0;
        },
        // Plays the actions one move at a time: each waits until the page has
        // seen it. WebKitGTK merges the moves that reach it within one frame
        // into the last, and keeps no trace of the others (the event's
        // getCoalescedEvents() holds only itself).
        async pointer(actions) {
            let args = [];
            for (const a of actions) {
                switch (a.type) {
                case 'pointerMove':
                    at = [a.x, a.y];
                    args.push('mousemove', a.x + offset[0], a.y + offset[1]);
                    await xdotool(args);
                    await until(...at, buttons);
                    args = [];
                    break;
                case 'pointerDown':
                    args.push('mousedown', X_BUTTON[a.button]);
                    buttons |= BUTTON_BIT[a.button];
                    break;
                case 'pointerUp':
                    args.push('mouseup', X_BUTTON[a.button]);
                    buttons &= ~BUTTON_BIT[a.button];
                    break;
                case 'pause':
                    args.push('sleep', (a.duration || 0) / 1000);
                    break;
                default:
                    throw new Error(`a mouse has no ${a.type}`);
                }
            }
            if (args.length) {
                await xdotool(args);
                await until(...at, buttons);
            }
        },
    };
}

module.exports = { xMouse };
