// SPDX-License-Identifier: MIT
// The page in a real browser: Debian's Chromium, headless, driven by
// puppeteer-core. index.html is served from a local server and orvanel.html
// opened from disk; each must show the window as designed and, played the
// sequence of sequence.txt with real mouse and touch input, show what the
// native core shows.
//
//   node page.test.js WEB_DIR REFERENCE_PLAYER SEQUENCE_FILE
// ORVANEL_WEB_SCREENSHOT=out.png saves the page at 917 x 687 as it starts;
// ORVANEL_WEB_SCREENSHOTS=DIR saves it on a whiteboard, a Chromebook, an
// upright iPad and a phone held upright (web-whiteboard.png,
// web-chromebook.png, web-ipad.png, web-phone.png).
'use strict';

const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { after, before, describe, test } = require('node:test');
const harness = require('./harness');
const { Player } = require('./player');
const { fixedMeasure, readSequence, playedNatively } = require('./sequence');

const { WINDOW, BOARD, frames, ready, close } = harness;
const [webDir, reference, sequenceFile] = process.argv.slice(2);

let browser;
let server;
let core;       // the module in Node
let design;     // the window's design, from the module itself
let native;     // what the native core recorded for the sequence
let player;

const open = (url, viewport, setUp) => harness.open(browser, url, viewport, setUp);
const heldMoves = (page) => page.evaluate(() => window.pageTest.heldMoves());
// Where vertex D's letter is on the board: a drag moves it by the pointer's
// displacement since the press.
const letterD = (page) => page.$eval('#Label2_3', (e) => {
    const m = new DOMMatrixReadOnly(getComputedStyle(e).transform);
    return [e.offsetLeft + m.m41, e.offsetTop + m.m42];
});

function compareChecks(checks) {
    for (const check of checks) {
        const expected = native.checks.find((c) => c.name === check.name);
        assert.deepEqual(check, expected, `at check ${check.name}`);
    }
}

// Each control's element and look as the page shows them.
function look(page) {
    return page.evaluate((names) => names.map((name) => {
        const e = document.getElementById(name);
        const box = e.tagName === 'INPUT' ? e.parentElement : e;
        const s = getComputedStyle(box);
        const f = getComputedStyle(e.tagName === 'INPUT' ? box : e);
        const r = box.getBoundingClientRect();
        return {
            name, tag: e.tagName, type: e.type || null, group: e.name || null, boxTag: box.tagName,
            box: { left: r.left, top: r.top, width: r.width, height: r.height },
            overflow: s.overflow, background: s.backgroundColor, color: f.color,
            family: f.fontFamily, size: f.fontSize, weight: f.fontWeight, display: s.display,
            textWidth: box.scrollWidth, textHeight: box.scrollHeight,
        };
    }), design.controls.map((d) => d.objectName));
}

// Once its worker is ready: the page comes from the worker, and still
// starts as designed with `server` gone.
async function opensOffline(page, server) {
    await page.reload();
    await ready(page);
    assert.ok(await page.evaluate(() => navigator.serviceWorker.controller !== null), 'the worker serves the page');
    await server.close();
    await page.reload();
    await ready(page);
    assert.deepEqual(await player.record(page, 'start'), native.checks.find((c) => c.name === 'start'));
}

// The read-out's labels: shown only while Check2 is ticked.
const isReadout = (d) => /^Label[356]$/.test(d.name);

before(async () => {
    core = await harness.loadCore(webDir);
    design = core.design();
    native = playedNatively(reference, sequenceFile);
    player = new Player(design, readSequence(sequenceFile));
    server = await harness.serve(webDir);
    browser = await harness.launch();
});

after(async () => {
    await browser?.finish();
    await server?.close();
});

describe('index.html from the local server at 917 x 687', () => {
    test('the board is an 802 x 626 canvas where the design puts it, in standards mode', async () => {
        const page = await open(server.url);
        if (process.env.ORVANEL_WEB_SCREENSHOT) {
            await page.screenshot({ path: process.env.ORVANEL_WEB_SCREENSHOT });
        }
        assert.equal(await page.title(), design.caption);
        const board = await page.evaluate(() => {
            const c = document.getElementById('gamen');
            const s = getComputedStyle(c);
            const r = c.getBoundingClientRect();
            const f = document.getElementById('Form1').getBoundingClientRect();
            return {
                tag: c.tagName, width: c.width, height: c.height,
                box: { left: r.left, top: r.top, width: r.width, height: r.height },
                border: s.borderTopWidth, padding: s.paddingTop, touchAction: s.touchAction,
                form: [f.left, f.top, f.width, f.height], mode: document.compatMode,
            };
        });
        assert.equal(board.mode, 'CSS1Compat', 'standards mode');
        assert.deepEqual(board.box, BOARD);
        assert.deepEqual([board.tag, board.width, board.height], ['CANVAS', 802, 626]);
        assert.deepEqual([board.border, board.padding, board.touchAction], ['0px', '0px', 'none']);
        assert.deepEqual(board.form, [0, 0, WINDOW.width, WINDOW.height]);
        await close(page);
    });

    test('every control is the element the design calls for, in its box, colours and font', async () => {
        const page = await open(server.url);
        const before = await look(page);
        // The read-out is measured while it is shown.
        await page.click('#Check2');
        await frames(page);
        const withReadout = await look(page);
        for (const d of design.controls) {
            const e = (isReadout(d) ? withReadout : before).find((x) => x.name === d.objectName);
            const want = d.box;
            if (d.kind === 'label' && !d.clipped) {
                // Sized to its text: the design's left (right) and top edges.
                if (d.alignRight) {
                    assert.equal(e.box.left + e.box.width, want.left + want.width, `${d.objectName} right`);
                } else {
                    assert.equal(e.box.left, want.left, `${d.objectName} left`);
                }
                assert.equal(e.box.top, want.top, `${d.objectName} top`);
                assert.ok(e.textWidth <= e.box.width && e.textHeight <= e.box.height,
                    `${d.objectName} ${JSON.stringify(e.box)} fits its text`);
            } else {
                assert.deepEqual(e.box, want, `${d.objectName} box`);
            }
            if (d.clipped) {
                assert.equal(e.overflow, 'hidden', `${d.objectName} clipped`);
            }
            const tags = { label: ['DIV', null], button: ['BUTTON', 'button'], option: ['INPUT', 'radio'],
                checkbox: ['INPUT', 'checkbox'] };
            assert.deepEqual([e.tag, e.type], tags[d.kind], d.objectName);
            if (d.kind === 'option' || d.kind === 'checkbox') {
                assert.equal(e.boxTag, 'LABEL', `${d.objectName} in a label`);
            }
            if (d.kind === 'option') {
                assert.equal(e.group, 'Option', 'the option buttons are one group');
            }
            if (d.background) {
                assert.equal(e.background, d.background, `${d.objectName} background`);
            }
            if (d.color) {
                assert.equal(e.color, d.color, `${d.objectName} colour`);
            }
            const face = d.font.face === 'mincho' ? '"ＭＳ Ｐ明朝"' : '"ＭＳ Ｐゴシック"';
            assert.ok(e.family.startsWith(face), `${d.objectName} font ${e.family}`);
            const pixels = d.font.face === 'default' ? 12 : Math.round(d.font.points * 4 / 3);
            assert.equal(e.size, `${pixels}px`, `${d.objectName} font size`);
            assert.equal(Number(e.weight) >= 700, d.font.bold, `${d.objectName} weight`);
        }
        const letterFamily = await page.$eval('#Label2_0', (e) => getComputedStyle(e).fontFamily);
        assert.ok(letterFamily.startsWith('"ＭＳ Ｐ明朝"'), letterFamily);
        await close(page);
    });

    test('the read-out starts hidden and angle shows it', async () => {
        const page = await open(server.url);
        const shown = async () => (await look(page)).filter((e) => isReadout(design.controls
            .find((d) => d.objectName === e.name))).map((e) => e.display !== 'none');
        assert.ok((await shown()).every((s) => !s), 'hidden at start');
        await page.click('#Check2');
        assert.ok((await shown()).every((s) => s), 'shown');
        await close(page);
    });

    test('the board is the first tab stop, then the controls in the design\'s tab order', async () => {
        const page = await open(server.url);
        const first = await page.evaluate(() => [...document.querySelectorAll('button, input, canvas, [tabindex]')]
            .find((e) => e.tabIndex >= 0 && !e.disabled && e.offsetParent !== null).id);
        assert.equal(first, 'gamen');
        // The browser stops at an option button only where the group's
        // selected one is enabled.
        const tabStops = async () => {
            const count = await page.evaluate(() => [...document.querySelectorAll('#Form1 button, #Form1 input')]
                .filter((e) => !e.disabled && e.offsetParent !== null && (e.type !== 'radio' || e.checked)).length);
            await page.focus('#gamen');
            const ids = ['gamen'];
            for (let i = 0; i < count; ++i) {
                await page.keyboard.press('Tab');
                ids.push(await page.evaluate(() => document.activeElement.id));
            }
            return ids;
        };
        const order = (enabled) => ['gamen', ...design.controls
            .filter((d) => d.kind === 'button' || d.kind === 'checkbox' || enabled.includes(d.objectName))
            .sort((a, b) => a.tab - b.tab).map((d) => d.objectName)];
        assert.deepEqual(await tabStops(), order([]));
        await page.click('#Command3');
        assert.deepEqual(await tabStops(), order(['Option1_0']));
        await close(page);
    });

    test('the sequence with real mouse and touch input shows what the native core shows', async () => {
        const page = await open(server.url);
        await page.evaluate(() => {
            window.menus = [];
            window.addEventListener('contextmenu', (e) => window.menus.push(e.defaultPrevented));
        });
        const checks = await player.play(page);
        const rightPresses = player.steps.filter((s) => s.op === 'press' && s.button === 2).length;
        assert.deepEqual(await page.evaluate(() => window.menus), Array(rightPresses).fill(true),
            'the right button\'s context menu is suppressed on the board, the context-menu key\'s never shown');
        assert.deepEqual(checks.map((c) => c.name), native.checks.map((c) => c.name));
        compareChecks(checks);
        const start = native.checks.find((c) => c.name === 'start').checksum;
        for (const name of ['initial', 'again']) {
            assert.equal(checks.find((c) => c.name === name).checksum, start, `${name} is the initial screen`);
        }
        // By keys or by mouse, the same window; Ctrl+Z and Ctrl+Shift+Z go
        // back and forth over the right press.
        const seen = (name) => {
            const { name: _, heldMoves: moves, ...rest } = checks.find((c) => c.name === name);
            return rest;
        };
        assert.deepEqual(seen('keys'), seen('mouse'));
        assert.deepEqual(seen('undone'), seen('stroke'));
        assert.deepEqual(seen('redone'), seen('erased'));
        assert.notEqual(seen('stroke').checksum, seen('erased').checksum);
        await close(page);
    });

    test('every move is taken, also those the browser gathers into one event', async () => {
        const page = await open(server.url);
        await page.evaluate(() => {
            window.gathered = { events: 0, moves: 0 };
            document.getElementById('gamen').addEventListener('pointermove', (e) => {
                if (e.buttons === 1) {
                    window.gathered.events += 1;
                    window.gathered.moves += e.getCoalescedEvents().length;
                }
            });
        });
        const start = await letterD(page);
        const cdp = await page.createCDPSession();
        const mouse = (type, x, y, extra) => cdp.send('Input.dispatchMouseEvent',
            { type, x: BOARD.left + x, y: BOARD.top + y, ...extra });
        await mouse('mouseMoved', 550, 350, {});
        await mouse('mousePressed', 550, 350, { button: 'left', buttons: 1, clickCount: 1 });
        // The page is kept busy while the moves arrive, so they wait and are gathered.
        const busy = page.evaluate(() => {
            const until = performance.now() + 300;
            while (performance.now() < until) { /* busy */ }
        });
        const count = 120;
        const sent = [];
        for (let i = 1; i <= count; ++i) {
            sent.push(mouse('mouseMoved', 550 - i, 350 - (i >> 1), { button: 'none', buttons: 1 }));
        }
        await Promise.all([busy, ...sent]);
        await mouse('mouseReleased', 550 - count, 350 - (count >> 1), { button: 'left', buttons: 0, clickCount: 1 });
        await frames(page);
        const result = await page.evaluate(() => ({ moves: window.pageTest.heldMoves(), gathered: window.gathered }));
        console.log(`${count} moves reached the board in ${result.gathered.events} pointermove events`);
        assert.equal(result.moves, count, 'every move handed to the core while D is held');
        assert.equal(result.gathered.moves, count);
        assert.deepEqual(await letterD(page), [start[0] - count, start[1] - (count >> 1)], 'D followed to the last move');
        await close(page);
    });

    test('a drag goes on outside the board until the button comes up', async () => {
        const page = await open(server.url);
        const [left, top] = await letterD(page);
        await page.mouse.move(BOARD.left + 550, BOARD.top + 350);
        await page.mouse.down();
        const outside = [[880, 300], [905, 680], [900, 20], [860, 250]];
        for (const [x, y] of outside) {
            await page.mouse.move(x, y);
        }
        await page.mouse.up();
        await frames(page);
        assert.equal(await heldMoves(page), outside.length, 'every move outside the board handed to the core');
        // The last move put D 300 pixels right of and 150 above its start.
        const dragged = [left + 300, top - 150];
        assert.deepEqual(await letterD(page), dragged, 'D followed the moves outside the board');
        await page.mouse.move(BOARD.left + 300, BOARD.top + 300);
        await frames(page);
        assert.deepEqual(await letterD(page), dragged, 'the release outside ended the drag');
        await close(page);
    });

    // Each action changes tiles all over the board, so that the undo history
    // would outgrow any memory if it kept them all.
    test('300 board-wide actions leave the page alive, right and within its memory', async () => {
        const page = await open(server.url);
        await page.click('#Command3');
        await page.click('#Option1_4'); // the bold red pen
        const at = (x, y) => [BOARD.left + x, BOARD.top + y];
        for (let i = 0; i < 300; ++i) {
            if (i % 2 === 0) {
                // A zigzag from the top to the bottom edge.
                const shift = (i / 2) % 10;
                await page.mouse.move(...at(4 + shift, 4));
                await page.mouse.down();
                for (let k = 1; k <= 10; ++k) {
                    await page.mouse.move(...at(k % 2 ? 797 - shift : 4 + shift, 4 + k * 61));
                }
                await page.mouse.up();
            } else {
                await page.mouse.click(...at(400, 300), { button: 'right' });
            }
            if (i % 7 === 6) {
                await page.keyboard.down('Control');
                await page.keyboard.press('KeyZ');
                await page.keyboard.up('Control');
            }
        }
        await frames(page);
        const memory = await page.evaluate(() => window.pageTest.memoryBytes());
        console.log(`the module's memory after 300 board-wide actions: ${(memory / 2 ** 20).toFixed(1)} MiB`);
        assert.deepEqual(page.errors.slice(0, 1), [], 'the page lives');
        // The module may grow to 256 MiB (src/web/CMakeLists.txt), for the board on a large screen; the history keeps 32 MB at most.
        assert.ok(memory <= 96 * 2 ** 20, `${memory} bytes`);
        // What follows is drawn over a memory grown once more.
        await page.evaluate(() => window.pageTest.growMemory(2 ** 20));
        await page.click('#Command1');
        await page.click('#Check2');
        const shown = await player.record(page, 'initial');
        assert.deepEqual(shown.readout.map((v) => v.trim()), ['41', '35', '56', '132']);
        assert.equal(shown.checksum, native.checks.find((c) => c.name === 'start').checksum);
        await close(page);
    });

    // While a button holds the board the page draws the letters and the
    // read-out on canvases; they must look as their elements do.
    test('a held drag looks as it does once the button is let go', async () => {
        const page = await open(server.url);
        await page.click('#Check2');
        // The board and the read-out: the rest of the window may differ by
        // a shade where Chromium rasters a tile again around a letter's
        // element that moved, whether or not it was drawn in between.
        const drawn = [BOARD, await page.$eval('.held-readout', (e) => e.getBoundingClientRect().toJSON())]
            .map((r) => ({ x: r.left, y: r.top, width: r.width, height: r.height }));
        const shot = async () => {
            await frames(page);
            const [board, readout] = await Promise.all(drawn.map((clip) => screenshotPixels(page, clip)));
            return { data: [...board.data, ...readout.data] };
        };
        const at = (x, y) => [BOARD.left + x, BOARD.top + y];
        const differing = (a, b) => a.data.filter((v, i) => v !== b.data[i]).length;
        const rest = await shot();
        await page.mouse.move(...at(20, 20));
        await page.mouse.down();
        assert.equal(differing(await shot(), rest), 0, 'a press on the empty board changes nothing seen');
        await page.mouse.up();
        await page.mouse.move(...at(550, 350));
        await page.mouse.down();
        for (const [x, y] of [[610, 350], [420, 120], [300, 500]]) {
            await page.mouse.move(...at(x, y), { steps: 5 });
            const held = await shot();
            await page.mouse.up();
            assert.equal(differing(await shot(), held), 0, `D held at ${x}, ${y}`);
            await page.mouse.down();
        }
        await page.mouse.up();
        await close(page);
    });

    test('a second finger is ignored while one is down', async () => {
        const page = await open(server.url);
        await page.click('#Check2');
        const readout = async () => {
            await frames(page);
            return (await player.shown(page)).readout;
        };
        const first = await page.touchscreen.touchStart(BOARD.left + 550, BOARD.top + 350);
        const second = await page.touchscreen.touchStart(BOARD.left + 600, BOARD.top + 150);
        const still = await readout();
        await second.move(BOARD.left + 500, BOARD.top + 100);
        await second.end();
        assert.deepEqual(await readout(), still, 'the second finger moved nothing');
        await first.move(BOARD.left + 470, BOARD.top + 300);
        await first.end();
        const touched = native.checks.find((c) => c.name === 'touch');
        assert.deepEqual(await readout(), touched.readout, 'the first finger dragged D');
        await close(page);
    });

    test('終了 ends the program; the page offers to start again', async () => {
        const page = await open(server.url);
        // A tab with a history is not closed by script: the page says so.
        await page.goto(`${server.url}index.html?again`);
        await ready(page);
        await page.click('#Command2');
        const ended = await page.evaluate(() => ({
            form: getComputedStyle(document.getElementById('Form1')).display,
            lines: [...document.querySelectorAll('#ended-box > p')].map((p) => [p.textContent, p.lang]),
            shown: document.getElementById('ended').checkVisibility(),
            button: document.getElementById('restart').checkVisibility(),
            caption: document.getElementById('restart').textContent,
        }));
        assert.equal(ended.form, 'none');
        assert.ok(ended.shown && ended.button, JSON.stringify(ended));
        // In the core's words, the Japanese first.
        const [line, again] = ['Ended', 'StartAgain'].map((name) => core.caption(name));
        assert.deepEqual(ended.lines, [[line.japanese, ''], [line.english, 'en']]);
        assert.equal(ended.caption, `${again.japanese} / ${again.english}`);
        await page.click('#restart');
        await ready(page);
        const start = native.checks.find((c) => c.name === 'start');
        assert.deepEqual(await player.record(page, 'start'), start);

        // A tab the page was opened in by script closes.
        const [popup] = await Promise.all([
            new Promise((resolve) => page.once('popup', resolve)),
            page.evaluate((url) => { window.open(url); }, server.url),
        ]);
        await ready(popup);
        const closed = new Promise((resolve) => popup.once('close', resolve));
        // The tab may close before the click's last event is acknowledged.
        await popup.click('#Command2').catch((e) => assert.match(e.message, /Target closed/));
        await closed;
        await close(page);
    });

    test('over a slow network the page starts without the notice meant for a page opened from disk', async () => {
        const page = await open(server.url, WINDOW, async (p) => {
            // A school's busy Wi-Fi, as a trial met it.
            await p.emulateNetworkConditions({ download: 30 * 1024, upload: 30 * 1024, latency: 300 });
            await p.evaluateOnNewDocument(() => {
                window.fromDiskSeen = false;
                const look = () => {
                    window.fromDiskSeen ||= document.getElementById('from-disk')?.checkVisibility() ?? false;
                    requestAnimationFrame(look);
                };
                requestAnimationFrame(look);
            });
        });
        assert.equal(await page.evaluate(() => window.fromDiskSeen), false, 'the notice for a page from disk showed');
        await close(page);
    });

    test('in a course page\'s frame (?embed=1) 終了 shows the ended line at once, and nothing is installed', async () => {
        const page = await open(`${server.url}index.html?embed=1`, WINDOW, (p) => p.evaluateOnNewDocument(() => {
            window.registered = 0;
            navigator.serviceWorker.register = async () => { window.registered += 1; };
            window.close = () => { throw new Error('window.close() in a frame'); };
        }));
        await page.click('#Command2');
        const shown = await page.evaluate(async () => ({
            ended: document.getElementById('ended').checkVisibility(),
            registered: window.registered,
            manifest: document.querySelector('link[rel="manifest"]') !== null,
        }));
        assert.deepEqual(shown, { ended: true, registered: 0, manifest: false });
        await close(page);
    });

    test('in an 800 x 600 frame of a course page (?embed=1) the window fits the frame', async () => {
        const page = await open(server.url);
        await page.setContent(`<iframe src="${server.url}index.html?embed=1" width="800" height="600"
            style="border: 0"></iframe>`);
        const frame = await (await page.waitForSelector('iframe')).contentFrame();
        await frame.waitForSelector('#Form1[data-ready]', { timeout: 20000 });
        const r = await frame.evaluate(() => {
            const b = document.getElementById('Form1').getBoundingClientRect();
            return { left: b.left, top: b.top, right: b.right, bottom: b.bottom, width: b.width, height: b.height };
        });
        assert.ok(r.left >= 0 && r.top >= 0 && r.right <= 800 + 0.5 && r.bottom <= 600 + 0.5, JSON.stringify(r));
        assert.ok(Math.max(r.width / 800, r.height / 600) >= 0.95, JSON.stringify(r));
        await close(page);
    });

    test('in a frame of another site without the clipboard allowed, Ctrl+C tells that nothing was copied', async () => {
        const page = await browser.newPage();
        page.errors = [];
        // The course page's own address, and the frame's on another origin.
        const other = server.url.replace('127.0.0.1', 'localhost');
        await page.setContent(`<iframe src="${other}index.html?embed=1" width="917" height="687"
            style="border: 0"></iframe>`);
        const frame = await (await page.waitForSelector('iframe')).contentFrame();
        await frame.waitForSelector('#Form1[data-ready]', { timeout: 20000 });
        await page.mouse.click(BOARD.left + 20, BOARD.top + 20);
        await page.keyboard.down('Control');
        await page.keyboard.press('KeyC');
        await page.keyboard.up('Control');
        await frame.waitForFunction(() => document.getElementById('notice').childElementCount > 0, { timeout: 5000 });
        const { japanese, english } = core.notice('CopyFailed');
        assert.deepEqual(await frame.$$eval('#notice > p', (ps) => ps.map((p) => p.textContent)), [japanese, english]);
        await close(page);
    });

    test('installs a manifest and a worker, and opens with the server gone', async () => {
        const page = await open(server.url);
        const manifest = await page.evaluate(async () => {
            const href = document.querySelector('link[rel="manifest"]').href;
            const m = await (await fetch(href)).json();
            const icons = await Promise.all(m.icons.map(async (i) => ({
                sizes: i.sizes, ok: (await fetch(new URL(i.src, href))).ok,
            })));
            await navigator.serviceWorker.ready;
            return { name: m.name, start: m.start_url, display: m.display, icons };
        });
        assert.ok(manifest.icons.every((i) => i.ok), JSON.stringify(manifest.icons));
        for (const size of ['192x192', '512x512']) {
            assert.ok(manifest.icons.some((i) => i.sizes === size), `an icon of ${size}`);
        }
        assert.equal(manifest.display, 'standalone');
        await opensOffline(page, server);
        // The page in one file, which the teacher copies, opens offline too.
        await page.goto(`${server.url}orvanel.html`);
        await ready(page);
        assert.deepEqual(await player.record(page, 'start'), native.checks.find((c) => c.name === 'start'));
        await close(page);
        server = await harness.serve(webDir);
    });

    test('a server that refuses the folder\'s address and the manifest: the rest is kept for offline use', async () => {
        const picky = await harness.serve(webDir, (asked) => asked.endsWith('/') || asked.endsWith('.webmanifest'));
        const page = await open(`${picky.url}index.html`);
        await page.evaluate(() => navigator.serviceWorker.ready);
        await opensOffline(page, picky);
        // The manifest the server refused is reported by the browser itself.
        page.errors = page.errors.filter((e) => !/manifest|Failed to load resource/.test(e));
        await close(page);
    });

    test('a new build is kept for offline use whole, or not at all', async (t) => {
        const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'orvanel-builds-'));
        // Build n: the edition whose script says n, and whose worker keeps
        // a set of its own.
        const build = (n) => {
            fs.cpSync(webDir, dir, { recursive: true });
            fs.appendFileSync(path.join(dir, 'app.js'), `\nwindow.orvanelBuild = ${n};\n`);
            const worker = path.join(dir, 'sw.js');
            const text = fs.readFileSync(worker, 'utf8');
            assert.match(text, /orvanel-[0-9a-f]{16}/);
            fs.writeFileSync(worker, text.replace(/orvanel-[0-9a-f]{16}/, `orvanel-build${n}`));
        };
        build(1);
        let site = await harness.serve(dir);
        const port = Number(new URL(site.url).port);
        t.after(() => {
            site.close();
            fs.rmSync(dir, { recursive: true, force: true });
        });
        const page = await open(site.url);
        await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
        const running = async () => {
            await page.reload();
            await ready(page);
            return page.evaluate(() => window.orvanelBuild);
        };
        // The worker the server offers now, if new, once it is active or
        // has failed to install.
        const update = () => page.evaluate(async () => {
            const r = await navigator.serviceWorker.getRegistration();
            await r.update().catch(() => {});
            const w = r.installing || r.waiting;
            return w && new Promise((resolve) => {
                const settled = () => ['activated', 'redundant'].includes(w.state) && resolve(w.state);
                w.addEventListener('statechange', settled);
                settled();
            });
        });
        assert.equal(await running(), 1);
        build(2);
        let runs = 1;
        for (let i = 0; i < 4 && runs !== 2; ++i) {
            await update();
            runs = await running();
        }
        assert.equal(runs, 2, 'the page runs the new build');
        await site.close();
        assert.equal(await running(), 2, 'the new build, offline');
        // A build whose module the server refuses is not kept.
        build(3);
        site = await harness.serve(dir, (asked) => asked.endsWith('.wasm'), port);
        assert.equal(await update(), 'redundant');
        await site.close();
        assert.equal(await running(), 2, 'the build before, offline');
        assert.equal((await page.evaluate(() => caches.keys())).length, 1, 'one set kept');
        assert.deepEqual(await player.record(page, 'start'), native.checks.find((c) => c.name === 'start'));
        await close(page);
    });
});

// The pixels of `clip` (CSS pixels of the page) in a screenshot, as
// {width, height, data}, one device pixel each.
async function screenshotPixels(page, clip) {
    const png = await page.screenshot({ clip, encoding: 'base64' });
    return page.evaluate(async (source) => {
        const image = new Image();
        image.src = `data:image/png;base64,${source}`;
        await image.decode();
        const c = new OffscreenCanvas(image.width, image.height).getContext('2d');
        c.drawImage(image, 0, 0);
        const d = c.getImageData(0, 0, image.width, image.height);
        return { width: d.width, height: d.height, data: [...d.data] };
    }, png);
}

const boardRect = (page) => page.$eval('#gamen', (c) => c.getBoundingClientRect().toJSON());

describe('a board that lasts: saved, kept, opened again, shared as a link', () => {
    // A lesson's board (board.txt), as the page and the native core leave it.
    const boardFile = path.join(__dirname, 'board.txt');
    let lesson;
    let lessonNative;
    const files = fs.mkdtempSync(path.join(os.tmpdir(), 'orvanel-boards-'));
    // The native player's checks after `args`.
    const nativeChecks = (...args) => JSON.parse(execFileSync(reference, args, { encoding: 'utf8' })).checks;
    before(() => {
        lesson = new Player(design, readSequence(boardFile));
        lessonNative = nativeChecks(boardFile).find((c) => c.name === 'board');
    });
    after(() => fs.rmSync(files, { recursive: true, force: true }));

    const ctrl = async (page, key) => {
        await page.keyboard.down('Control');
        await page.keyboard.press(key);
        await page.keyboard.up('Control');
    };
    // What the page shows, as a check records it, without its name and
    // the moves made with a button held (a window's count, not its state).
    const seen = async (page) => {
        const { name, heldMoves: moves, ...rest } = await player.record(page, '');
        return rest;
    };
    const lessonSeen = () => {
        const { name, heldMoves: moves, ...rest } = lessonNative;
        return rest;
    };
    // The file Ctrl+S downloads, caught from the page's download link.
    const saveFile = async (page) => {
        const file = page.evaluate(() => new Promise((resolve) => {
            HTMLAnchorElement.prototype.click = async function () {
                const bytes = new Uint8Array(await (await fetch(this.href)).arrayBuffer());
                resolve(btoa(Array.from(bytes, (b) => String.fromCharCode(b)).join('')));
            };
        }));
        await ctrl(page, 'KeyS');
        return Buffer.from(await file, 'base64');
    };
    // `bytes` dropped on the board as a file, as a desktop's file manager drops one.
    const drop = async (page, bytes, name = 'board.png') => {
        await page.evaluate((source, fileName) => {
            const data = Uint8Array.from(atob(source), (c) => c.charCodeAt(0));
            const transfer = new DataTransfer();
            transfer.items.add(new File([data], fileName, { type: 'image/png' }));
            const board = document.getElementById('gamen');
            for (const type of ['dragenter', 'dragover', 'drop']) {
                board.dispatchEvent(new DragEvent(type, { dataTransfer: transfer, bubbles: true, cancelable: true }));
            }
        }, Buffer.from(bytes).toString('base64'), name);
        await new Promise((r) => setTimeout(r, 100));
        await frames(page);
    };
    // The notice shown now, by its name, or null.
    const notice = (page) => page.$eval('#notice', (n) => n.firstChild?.textContent ?? null)
        .then((text) => ['NotABoard', 'DamagedBoard', 'NewerBoard', 'ReadFailed', 'BadLink', 'KeepRefused']
            .find((name) => core.notice(name).japanese === text) ?? text);
    // Waits until the newest kept board holds the window's board as it is
    // now: its chunk, right after the picture's header.
    const keptNow = (page) => page.waitForFunction(async () => {
        const db = await new Promise((resolve) => {
            const r = indexedDB.open('orvanel');
            r.onupgradeneeded = () => r.transaction.abort();
            r.onsuccess = () => resolve(r.result);
            r.onerror = () => resolve(null);
        });
        if (!db) {
            return false;
        }
        const boards = await new Promise((resolve) => {
            const r = db.transaction('boards').objectStore('boards').getAll();
            r.onsuccess = () => resolve(r.result);
        });
        db.close();
        const newest = boards.sort((a, b) => b.time - a.time)[0]?.png;
        const board = window.pageTest.windows.at(-1).boardData();
        const chunk = 8 + 25 + 8;
        return newest !== undefined && board.every((b, i) => newest[chunk + i] === b);
    }, { polling: 100, timeout: 10000 });
    const chooser = (page) => page.evaluate(() => ({
        open: document.getElementById('chooser').open,
        boards: [...document.querySelectorAll('.kept-board')].map((b) => ({
            time: b.querySelector('.kept-time').textContent,
            checked: b.querySelector('input').checked,
            picture: b.querySelector('img').naturalWidth,
        })),
        none: document.getElementById('no-kept').checkVisibility(),
        focus: document.activeElement.name || document.activeElement.id,
    }));

    test('Ctrl+S, reload, drop the file: the same board; the native core opens it, and the page the native core\'s', async () => {
        const page = await open(server.url);
        const checks = await lesson.play(page);
        assert.deepEqual(checks.at(-1), lessonNative, 'the lesson\'s board, as the native core leaves it');
        const saved = await saveFile(page);
        // The page's file, opened natively.
        fs.writeFileSync(path.join(files, 'page.png'), saved);
        const [opened] = nativeChecks('--open', path.join(files, 'page.png'));
        assert.deepEqual({ ...opened, name: 'board', heldMoves: lessonNative.heldMoves }, lessonNative,
            'the native core opens the page\'s file');
        // The native core's file, opened by the page, then the page's own.
        const nativeFile = path.join(files, 'native.png');
        nativeChecks('--save', nativeFile, boardFile);
        await page.reload();
        await ready(page);
        assert.deepEqual(await player.record(page, 'start'), native.checks.find((c) => c.name === 'start'),
            'the page starts on the initial screen');
        await drop(page, fs.readFileSync(nativeFile), 'native.png');
        assert.deepEqual(await seen(page), lessonSeen(), 'the native core\'s file, opened by the page');
        await ctrl(page, 'KeyZ');
        assert.equal((await seen(page)).checksum, native.checks.find((c) => c.name === 'start').checksum,
            'opening is one action');
        await drop(page, saved);
        assert.deepEqual(await seen(page), lessonSeen(), 'the page\'s own file');
        assert.equal(await notice(page), null);
        await close(page);
    });

    test('kept after every action: after a reload Ctrl+O, Enter brings the last board back; the chooser forgets', async () => {
        const page = await open(server.url);
        // What earlier tests kept goes first.
        await ctrl(page, 'KeyO');
        await page.waitForFunction(() => !document.getElementById('forget-kept').disabled
            || document.getElementById('no-kept').checkVisibility());
        await page.click('#forget-kept');
        await page.keyboard.press('Escape');
        await lesson.play(page);
        await keptNow(page);
        await page.reload();
        await ready(page);
        // Said beside the window where there is room, never over it.
        const hint = () => page.evaluate(() => {
            const e = document.getElementById('last-board');
            const r = e.getBoundingClientRect();
            const f = document.getElementById('Form1').getBoundingClientRect();
            return { seen: e.checkVisibility() && r.width > 1, text: e.textContent,
                apart: r.left >= f.right || r.top >= f.bottom, inPage: r.right <= innerWidth && r.bottom <= innerHeight };
        });
        const told = async () => {
            const { seen: shown, text } = await hint();
            return { shown, text };
        };
        const { japanese, english } = core.caption('LastBoardHint');
        await page.waitForFunction(() => !document.getElementById('last-board').hidden);
        assert.deepEqual(await told(), { shown: false, text: japanese + english },
            'no room beside the window: only a screen reader is told');
        await page.setViewport({ width: 1366, height: 625 });
        await frames(page);
        assert.deepEqual(await hint(), { seen: true, text: japanese + english, apart: true, inPage: true });
        await page.setViewport(WINDOW);
        await frames(page);
        // Ctrl+O, then Enter at once.
        await ctrl(page, 'KeyO');
        await page.keyboard.press('Enter');
        await frames(page);
        assert.deepEqual(await seen(page), lessonSeen(), 'the board before the reload');
        assert.ok(await page.$eval('#last-board', (e) => e.hidden), 'the hint goes once the chooser was used');
        // A second board, newer: angle unticked.
        await page.click('#Check2');
        const newer = await seen(page);
        await keptNow(page);
        await page.reload();
        await ready(page);
        await ctrl(page, 'KeyO');
        await page.waitForFunction(() => document.querySelectorAll('.kept-board img').length === 2
            && [...document.querySelectorAll('.kept-board img')].every((i) => i.complete));
        const listed = await chooser(page);
        assert.deepEqual(listed.boards.map((b) => [b.checked, b.picture > 0]), [[true, true], [false, true]]);
        assert.ok(listed.boards[0].time >= listed.boards[1].time, 'newest first');
        assert.equal(listed.focus, 'kept');
        await page.keyboard.press('Enter');
        await frames(page);
        assert.deepEqual(await seen(page), newer, 'the newest board');
        // Forgotten: nothing to choose, and nothing said at the next start.
        await ctrl(page, 'KeyO');
        await page.waitForFunction(() => !document.getElementById('forget-kept').disabled);
        await page.click('#forget-kept');
        await page.waitForFunction(() => document.getElementById('no-kept').checkVisibility());
        assert.deepEqual(await chooser(page), { open: true, boards: [], none: true, focus: 'open-file' });
        assert.ok(await page.$eval('#open-kept', (b) => b.disabled));
        await page.keyboard.press('Escape');
        assert.equal((await chooser(page)).open, false);
        await page.reload();
        await ready(page);
        await new Promise((r) => setTimeout(r, 200));
        assert.ok(await page.$eval('#last-board', (e) => e.hidden), 'no hint without a kept board');
        await close(page);
    });

    test('the address carries the figure: a fresh browser and a course page\'s frame show it', async () => {
        const page = await open(server.url);
        await lesson.play(page);
        // Not in the middle of a drag (of D, the line tool put away).
        await page.click('#Command5');
        const hash = () => page.evaluate(() => location.hash);
        const before = await hash();
        await page.mouse.move(BOARD.left + 580, BOARD.top + 420);
        await page.mouse.down();
        await page.mouse.move(BOARD.left + 560, BOARD.top + 430, { steps: 3 });
        await frames(page);
        assert.equal(await hash(), before, 'unchanged while D is held');
        await page.mouse.up();
        await frames(page);
        assert.notEqual(await hash(), before, 'the drag\'s end');
        const figure = (target) => target.evaluate(() => ({
            readout: [0, 1, 2, 3].map((i) => document.getElementById(`Label5_${i}`).textContent),
            letters: [...document.querySelectorAll('.letter')].map((l) => l.style.transform),
            link: window.pageTest.windows.at(-1).link(),
            boxes: ['Check2', 'Check3'].map((id) => document.getElementById(id).checked),
        }));
        const shown = await figure(page);
        const address = await page.evaluate(() => location.href);
        await close(page);
        const fresh = await harness.launch();
        try {
            const other = await harness.open(fresh, address);
            assert.deepEqual(await figure(other), shown, 'the link in a fresh profile');
            // A figure given in the address of the running page: the
            // window's start, with the read-out.
            await other.evaluate(() => {
                location.hash = '#v=1&A=600,150&D=550,350&angle=1';
            });
            await frames(other);
            assert.deepEqual((await figure(other)).readout, [' 41', ' 35', ' 56', ' 132']);
            await other.setContent(`<iframe src="${server.url}index.html?embed=1${new URL(address).hash}"
                width="917" height="687" style="border: 0"></iframe>`);
            const frame = await (await other.waitForSelector('iframe')).contentFrame();
            await frame.waitForSelector('#Form1[data-ready]', { timeout: 20000 });
            assert.deepEqual(await figure(frame), shown, 'the link in a frame');
            await close(other);
        } finally {
            await fresh.finish();
        }
    });

    test('a bad link, a file without a board and random bytes are told and change nothing', async () => {
        const start = native.checks.find((c) => c.name === 'start');
        const page = await open(`${server.url}index.html#v=1&A=NaN,140&D=1e999,2`);
        assert.equal(await notice(page), 'BadLink');
        assert.deepEqual(await player.record(page, 'start'), start, 'the window starts as usual');
        const plain = Buffer.from(await page.evaluate(async () => {
            const blob = await new Promise((r) => document.getElementById('gamen').toBlob(r));
            return btoa(Array.from(new Uint8Array(await blob.arrayBuffer()), (b) => String.fromCharCode(b)).join(''));
        }), 'base64');
        const random = Buffer.from(Array.from({ length: 5000 }, (_, i) => (i * 7919 + 13) % 251));
        // A board's file cut short.
        const win = new core.Window(fixedMeasure);
        const cut = core.pictureWithBoard(plain, win.boardData()).slice(0, 300);
        win.delete();
        for (const [bytes, told] of [[plain, 'NotABoard'], [random, 'NotABoard'], [cut, 'DamagedBoard']]) {
            await page.mouse.click(BOARD.left + 5, BOARD.top + 5);
            await drop(page, bytes);
            assert.equal(await notice(page), told);
            assert.deepEqual(await player.record(page, 'start'), start, `${told}: nothing changed`);
        }
        await close(page);
    });

    test('storage refused: told once, and the window works on', async () => {
        const page = await open(server.url, WINDOW, (p) => p.evaluateOnNewDocument(() => {
            IDBFactory.prototype.open = () => {
                throw new DOMException('refused', 'SecurityError');
            };
            // Each notice shown, as its first line.
            window.told = [];
            new MutationObserver((records) => {
                for (const r of records) {
                    if (r.target.id === 'notice' && r.addedNodes.length) {
                        window.told.push(r.addedNodes[0].textContent);
                    }
                }
            }).observe(document, { childList: true, subtree: true });
        }));
        await page.click('#Check2');
        await page.mouse.move(BOARD.left + 550, BOARD.top + 350);
        await page.mouse.down();
        await page.mouse.move(BOARD.left + 610, BOARD.top + 350, { steps: 6 });
        await page.mouse.up();
        await frames(page);
        const dragged = (await player.shown(page)).checksum;
        await page.click('#Command4');
        await new Promise((r) => setTimeout(r, 500));
        assert.deepEqual(await page.evaluate(() => window.told), [core.notice('KeepRefused').japanese]);
        assert.deepEqual((await player.shown(page)).readout.map((v) => v.trim()), ['58', '35', '75', '168']);
        await ctrl(page, 'KeyO');
        await page.waitForFunction(() => document.getElementById('no-kept').checkVisibility());
        await page.keyboard.press('Escape');
        await ctrl(page, 'KeyZ');
        await frames(page);
        assert.equal((await player.shown(page)).checksum, dragged, 'Ctrl+Z took the grid back');
        await close(page);
    });
});

describe('fitted to the screen', () => {
    // Whiteboard, Chromebook with its toolbars, a small laptop, upright
    // iPad, a 4K screen; each at one and two device pixels per CSS pixel.
    const screens = [
        { name: 'whiteboard', width: 1920, height: 1080 },
        { name: 'chromebook', width: 1366, height: 625 },
        { name: 'laptop', width: 1024, height: 704 },
        { name: 'ipad', width: 768, height: 1024 },
        { name: '4k', width: 3840, height: 2160 },
    ];
    test('the whole window lies in the viewport and fills it one way', async () => {
        for (const screen of screens) {
            for (const deviceScaleFactor of [1, 2]) {
                const viewport = { width: screen.width, height: screen.height, deviceScaleFactor };
                const page = await open(server.url, viewport);
                const r = await page.$eval('#Form1', (e) => e.getBoundingClientRect().toJSON());
                const at = `${screen.name} x${deviceScaleFactor}: ${JSON.stringify(r)}`;
                assert.ok(r.left >= 0 && r.top >= 0 && r.right <= screen.width && r.bottom <= screen.height, at);
                assert.ok(Math.max(r.width / screen.width, r.height / screen.height) >= 0.95, at);
                assert.ok(Math.abs(r.width / r.height - WINDOW.width / WINDOW.height) < 0.001, at);
                const dir = process.env.ORVANEL_WEB_SCREENSHOTS;
                if (dir && deviceScaleFactor === 1 && ['whiteboard', 'chromebook', 'ipad'].includes(screen.name)) {
                    await page.screenshot({ path: path.join(dir, `web-${screen.name}.png`) });
                }
                await close(page);
            }
        }
    });

    test('a factor asked for that is not sound is not taken: the window is fitted', async () => {
        for (const asked of ['1000', '1e400', '0.01']) {
            const page = await open(`${server.url}index.html?scale=${asked}`);
            const r = await page.$eval('#Form1', (e) => e.getBoundingClientRect().toJSON());
            assert.ok(r.left >= 0 && r.top >= 0 && r.right <= WINDOW.width && r.bottom <= WINDOW.height
                && r.width >= 0.99 * WINDOW.width, `?scale=${asked}: ${JSON.stringify(r)}`);
            await close(page);
        }
    });

    test('a phone held upright shows the whole window, zoomed out, and every control takes a tap', async () => {
        const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
        const page = await open(server.url, phone);
        const seen = await page.evaluate((ids) => {
            const v = window.visualViewport;
            const r = (id) => document.getElementById(id).getBoundingClientRect();
            return {
                zoom: v.scale,
                pinch: !/user-scalable=(no|0)|maximum-scale/.test(document.querySelector('meta[name="viewport"]').content),
                outside: ids.filter((id) => r(id).left < v.offsetLeft || r(id).top < v.offsetTop
                    || r(id).right > v.offsetLeft + v.width || r(id).bottom > v.offsetTop + v.height),
            };
        }, ['gamen', ...design.controls.map((d) => d.objectName)]);
        assert.ok(seen.zoom < 0.5 && seen.pinch, JSON.stringify(seen));
        assert.deepEqual(seen.outside, [], 'controls out of sight');
        if (process.env.ORVANEL_WEB_SCREENSHOTS) {
            await page.screenshot({ path: path.join(process.env.ORVANEL_WEB_SCREENSHOTS, 'web-phone.png') });
        }
        const grid = await page.$eval('#Command4', (e) => e.getBoundingClientRect().toJSON());
        const before = await page.evaluate(() => window.pageTest.boardPixels().join());
        await page.touchscreen.tap(grid.left + grid.width / 2, grid.top + grid.height / 2);
        await frames(page);
        assert.notEqual(await page.evaluate(() => window.pageTest.boardPixels().join()), before, '方眼 drew the grid');
        await close(page);
    });

    test('no line shows along the window\'s edges', async () => {
        const cases = [
            { viewport: { width: 3840, height: 2160, deviceScaleFactor: 1 }, query: '' },
            { viewport: { width: 3840, height: 2160, deviceScaleFactor: 2 }, query: '' },
            { viewport: { width: 1920, height: 1080, deviceScaleFactor: 1 }, query: '' },
            { viewport: { width: 1500, height: 1100, deviceScaleFactor: 1 }, query: '?scale=1.57' },
        ];
        for (const c of cases) {
            const page = await open(`${server.url}index.html${c.query}`, c.viewport);
            const r = await page.$eval('#Form1', (e) => e.getBoundingClientRect().toJSON());
            // Nothing of the design lies in the outermost two pixels at the
            // right and the bottom: they show the window's colour.
            const f = r.width / WINDOW.width;
            for (const clip of [{ x: r.right - 2 * f, y: r.top, width: 2 * f, height: r.height },
                { x: r.left, y: r.bottom - 2 * f, width: r.width, height: 2 * f }]) {
                const strip = await screenshotPixels(page, clip);
                const colours = new Set();
                for (let i = 0; i < strip.data.length; i += 4) {
                    colours.add(strip.data.slice(i, i + 3).join());
                }
                assert.deepEqual([...colours], ['192,255,192'], `${JSON.stringify(c)} ${JSON.stringify(clip)}`);
            }
            await close(page);
        }
    });

    test('a small control takes a tap in the free space around it, never in a neighbour\'s', async () => {
        const page = await open(server.url);
        const { targets, others } = await page.evaluate(() => {
            const box = (e) => e.getBoundingClientRect().toJSON();
            // The target is the input itself, spread beyond its box.
            const targets = [...document.querySelectorAll('#Form1 label.choice > input')].map((t) => ({
                id: t.id, box: box(t), own: box(t.parentElement),
            }));
            const others = [...document.querySelectorAll('#Form1 > *')].map((e) => ({
                id: e.querySelector('input')?.id || e.id || e.className, box: box(e),
            }));
            return { targets, others };
        });
        assert.equal(targets.length, design.controls.filter((d) => d.kind === 'option' || d.kind === 'checkbox').length);
        const cut = (a, b) => ({ left: Math.max(a.left, b.left), top: Math.max(a.top, b.top),
            right: Math.min(a.right, b.right), bottom: Math.min(a.bottom, b.bottom) });
        const empty = (r) => r.left >= r.right || r.top >= r.bottom;
        const within = (r, b) => r.left >= b.left && r.top >= b.top && r.right <= b.right && r.bottom <= b.bottom;
        for (const t of targets) {
            assert.ok(t.box.width > t.own.width || t.box.height > t.own.height, `${t.id} grows`);
            for (const o of [...others, ...targets]) {
                const common = cut(t.box, o.box);
                if (o.id !== t.id && !empty(common)) {
                    assert.ok(within(common, t.own), `${t.id}'s target reaches into ${o.id}'s box`);
                }
            }
        }
        const check2 = targets.find((t) => t.id === 'Check2');
        await page.touchscreen.tap(check2.box.left + 2, check2.own.top + check2.own.height / 2);
        assert.ok(await page.$eval('#Check2', (e) => e.checked), 'a tap beside angle ticks it');
        assert.ok((await player.shown(page)).readoutShown, 'and shows the read-out');
        await close(page);
    });

    test('turning the screen fits the window again, never below half its size', async () => {
        const page = await open(server.url, { width: 1024, height: 768 });
        await page.setViewport({ width: 768, height: 1024 });
        await frames(page);
        const r = await page.$eval('#Form1', (e) => e.getBoundingClientRect().toJSON());
        assert.ok(r.right <= 768 && r.width >= 0.95 * 768, JSON.stringify(r));
        await page.setViewport({ width: 400, height: 300 });
        await frames(page);
        assert.equal(await page.$eval('#Form1', (e) => e.getBoundingClientRect().width), WINDOW.width / 2);
        await close(page);
    });

    test('the grid\'s lines all come out one width at any factor', async () => {
        for (const scale of [1.57, 0.8]) {
            const page = await open(`${server.url}index.html?scale=${scale}`, { width: 1500, height: 1100 });
            await page.click('#Command4');
            await frames(page);
            const board = await boardRect(page);
            // A row between the first two horizontal grid lines, across the board.
            const row = await screenshotPixels(page, { x: board.left, y: board.top + 12 * scale, width: board.width, height: 1 });
            const runs = [];
            for (let x = 0, run = 0; x <= row.width; ++x) {
                const grid = x < row.width && row.data[4 * x + 1] < 64; // black, not the board's green
                if (grid) {
                    run += 1;
                } else if (run) {
                    runs.push(run);
                    run = 0;
                }
            }
            assert.equal(runs.length, 33, `scale ${scale}: ${runs}`);
            assert.equal(new Set(runs).size, 1, `scale ${scale}: widths ${runs}`);
            await close(page);
        }
    });

    test('a thin memo line stays unbroken when the board is shrunk, one board pixel wide too', async () => {
        const scale = 0.6;
        const page = await open(`${server.url}index.html?scale=${scale}`);
        await page.click('#Command3'); // the memo, thin red
        const board = await boardRect(page);
        const stroke = async (y, from, to) => {
            await page.mouse.move(board.left + from * scale, board.top + y * scale);
            await page.mouse.down();
            await page.mouse.move(board.left + to * scale, board.top + y * scale, { steps: 10 });
            await page.mouse.up();
        };
        // A thin stroke, and one that the thin eraser trims to its lowest
        // row: a row that the board pixel nearest each device pixel's
        // centre would miss at this factor.
        await stroke(200.5, 100, 400);
        await stroke(299.7, 100, 400);
        await page.click('#Option1_3');
        await stroke(292.8, 50, 450);
        await frames(page);
        for (const y of [200.5, 301.5]) {
            const strip = await screenshotPixels(page,
                { x: board.left + 120 * scale, y: board.top + (y - 3) * scale, width: 260 * scale, height: 6 * scale });
            for (let x = 0; x < strip.width; ++x) {
                let red = false;
                for (let v = 0; v < strip.height; ++v) {
                    const i = 4 * (v * strip.width + x);
                    red ||= strip.data[i] > 200 && strip.data[i + 1] < 64;
                }
                assert.ok(red, `the line at ${y} is broken at device column ${x}`);
            }
        }
        // Last, the board as the core composes it at one device pixel per
        // board pixel, its own raster: the page is left showing no more.
        const rows = await page.evaluate(() => {
            const win = window.pageTest.windows.at(-1);
            win.setScale(1);
            const p = win.pixels();
            const red = new Set();
            for (let i = 0; i < p.length; i += 4) {
                if (p[i] > 200 && p[i + 1] < 64 && (i / 4) % 802 === 250) {
                    red.add(Math.floor(i / 4 / 802));
                }
            }
            return [...red];
        });
        assert.deepEqual(rows.filter((r) => r > 250), [301], 'the trimmed stroke is one board pixel high');
        await close(page);
    });

    // The canvas shows the core's own composition at the factor, the very
    // pixels the desktop shows at that factor (tests/desktop's
    // test_high_density), and a point of the board is the same at every
    // factor.
    test('at factors 2, 1.57, 1.5 and 0.8 the board shows the native core\'s device pixels, and pointer positions map back to board pixels', async () => {
        for (const [scale, until] of [[1.5, undefined], [0.8, undefined], [2, 'drags'], [1.57, 'drags']]) {
            const expected = playedNatively(reference, sequenceFile, scale).checks;
            const page = await open(`${server.url}index.html?scale=${scale}`, { width: 1834, height: 1374 });
            const board = await boardRect(page);
            const checks = await player.play(page, { until, scale, origin: board });
            assert.equal(checks.length, until ? 2 : expected.length);
            for (const check of checks) {
                assert.deepEqual(check, expected.find((c) => c.name === check.name), `at ${scale}, check ${check.name}`);
            }
            await close(page);
        }
    });
});

describe('opened from disk', () => {
    test('index.html shows the window', async () => {
        const page = await open(`file://${path.resolve(webDir, 'index.html')}`);
        const start = native.checks.find((c) => c.name === 'start');
        assert.deepEqual(await player.record(page, 'start'), start);
        await close(page);
    });


    test('orvanel.html works with no network at all and shows what the native core shows', async () => {
        const requests = [];
        const page = await open(`file://${path.resolve(webDir, 'orvanel.html')}`, WINDOW, async (p) => {
            await p.setRequestInterception(true);
            p.on('request', (r) => {
                if (r.url().startsWith('file:') || r.url().startsWith('data:')) {
                    r.continue();
                } else {
                    requests.push(r.url());
                    r.abort();
                }
            });
        });
        compareChecks(await player.play(page));
        assert.deepEqual(requests, [], 'no request left the disk');
        await close(page);
    });
});


describe('without a mouse, and what a teacher keeps', () => {
    // Presses each key, [modifiers..., key] for a chord.
    const press = async (page, ...keys) => {
        for (const k of keys) {
            const chord = [].concat(k);
            for (const m of chord.slice(0, -1)) {
                await page.keyboard.down(m);
            }
            await page.keyboard.press(chord[chord.length - 1]);
            for (const m of chord.slice(0, -1).reverse()) {
                await page.keyboard.up(m);
            }
        }
    };

    test('axe-core finds no violation at the start, with the read-out shown, the memo pen and the lines on, in the chooser', async () => {
        const page = await open(server.url);
        await page.addScriptTag({ path: require.resolve('axe-core/axe.min.js') });
        const chooser = async () => {
            await page.keyboard.down('Control');
            await page.keyboard.press('KeyO');
            await page.keyboard.up('Control');
            await page.waitForSelector('.kept-board img');
        };
        for (const [state, click] of [['at the start', null], ['read-out shown', '#Check2'], ['memo pen on', '#Command3'],
            ['lines on', '#Command5'], ['the chooser of boards', chooser]]) {
            if (typeof click === 'function') {
                await click();
            } else if (click) {
                await page.click(click);
                await frames(page);
            }
            // Touch targets of 24 pixels too, which axe-core checks only when asked.
            const violations = await page.evaluate(async () => (await window.axe.run(document,
                { rules: { 'target-size': { enabled: true } } })).violations
                .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
            assert.deepEqual(violations, [], state);
        }
        await close(page);
    });

    test('the board takes its keys as an application; they are told briefly, and a keyboard drag of D once, whole, at its release', async () => {
        const page = await open(server.url);
        const board = await page.evaluate(() => {
            const canvas = document.getElementById('gamen');
            return {
                role: canvas.getAttribute('role'),
                within: canvas.parentElement.getAttribute('role'),
                name: canvas.getAttribute('aria-label'),
                kind: canvas.getAttribute('aria-roledescription'),
                description: document.getElementById(canvas.getAttribute('aria-describedby')).textContent,
                inside: canvas.contains(document.getElementById(canvas.getAttribute('aria-describedby'))),
            };
        });
        assert.deepEqual(board, {
            role: 'application', within: 'application', name: '黒板', kind: '作図ボード',
            description: 'くさび形 ABCD。頂点 A と D をドラッグします。キーでは A か D でその頂点へ移り、' +
                'スペースでつかみ、矢印キーで動かし、スペースで離します',
            inside: true,
        });
        await page.click('#Check2');
        await frames(page);
        await page.evaluate(() => {
            const live = document.querySelector('[aria-live="polite"]');
            window.told = [];
            new MutationObserver(() => window.told.push(live.textContent.trim()))
                .observe(live, { childList: true, characterData: true, subtree: true });
        });
        const told = () => page.evaluate(() => window.told);
        // The keys go to the board in one go, so that the frames between them
        // are the page's own.
        const keys = async (list) => {
            await page.evaluate((l) => {
                const canvas = document.getElementById('gamen');
                for (const [key, shiftKey, repeat] of l) {
                    canvas.dispatchEvent(new KeyboardEvent('keydown', { key, shiftKey, repeat, bubbles: true, cancelable: true }));
                }
            }, list);
            await frames(page);
        };
        const six = (key) => Array(6).fill([key, true]);
        await keys([['d']]);
        // The Space held repeats: the button stays down.
        await keys([[' '], [' ', false, true], ...six('ArrowRight')]);
        // Held still with the button down: nothing more until the release.
        await new Promise((r) => setTimeout(r, 800));
        assert.deepEqual(await told(), ['頂点 D', '頂点 D をつかみました']);
        await keys([[' ']]);
        await keys([['d']]);
        await keys([['d']]); // the same words again are told again
        assert.deepEqual(await told(), ['頂点 D', '頂点 D をつかみました',
            '離しました。∠Ａ = 58°、∠Ｂ = 35°、∠Ｃ = 75°、∠Ｄ = 168°', '頂点 D', '頂点 D']);
        await close(page);
    });

    test('a refused copy and a failed save are told above the window; the page goes on', async () => {
        const page = await open(server.url);
        await page.evaluate(() => {
            window.unhandled = [];
            window.addEventListener('unhandledrejection', (e) => window.unhandled.push(String(e.reason)));
            navigator.clipboard.write = async () => {
                throw new DOMException('refused', 'NotAllowedError');
            };
        });
        const told = async (name) => {
            await page.waitForFunction(() => document.getElementById('notice').childElementCount > 0);
            const notice = await page.$eval('#notice', (n) => ({
                role: n.getAttribute('role'), inWindow: n.closest('#Form1') !== null,
                lines: [...n.children].map((p) => [p.textContent, p.lang]),
            }));
            const { japanese, english } = core.notice(name);
            assert.deepEqual(notice, { role: 'alert', inWindow: false, lines: [[japanese, ''], [english, 'en']] }, name);
        };
        await press(page, ['Control', 'KeyC']);
        await told('CopyFailed');
        // The next press anywhere takes the notice away.
        await page.click('#Check2');
        assert.equal(await page.$eval('#notice', (n) => n.childElementCount), 0);
        // The browser makes no picture, neither on the page's thread nor
        // in the encoding worker.
        await page.evaluate(() => {
            HTMLCanvasElement.prototype.toBlob = function (callback) {
                setTimeout(() => callback(null));
            };
            window.createImageBitmap = async () => {
                throw new DOMException('no picture', 'InvalidStateError');
            };
        });
        await press(page, ['Control', 'KeyS']);
        await told('SaveFailed');
        assert.ok((await player.shown(page)).readoutShown, 'the click before was taken');
        assert.deepEqual(await page.evaluate(() => window.unhandled), []);
        await close(page);
    });

    test('the board losing the focus ends a keyboard hold: the mouse and Ctrl+Z work again', async () => {
        const page = await open(server.url);
        await page.click('#Check2');
        await page.focus('#gamen');
        await press(page, 'KeyD', 'Space', ['Shift', 'ArrowRight']);
        await page.evaluate(() => document.activeElement.blur());
        await frames(page);
        const moves = await heldMoves(page);
        const [left, top] = await letterD(page);
        // D, ten pixels to the right of its start, dragged by the mouse.
        await page.mouse.move(BOARD.left + 560, BOARD.top + 350);
        await page.mouse.down();
        await page.mouse.move(BOARD.left + 500, BOARD.top + 300, { steps: 4 });
        await page.mouse.up();
        await frames(page);
        assert.equal(await heldMoves(page) - moves, 4, 'four moves handed to the core');
        assert.deepEqual(await letterD(page), [left - 60, top - 50], 'the mouse drags D');
        await press(page, ['Control', 'KeyZ'], ['Control', 'KeyZ']);
        await frames(page);
        const { readout } = await player.shown(page);
        assert.deepEqual(readout.map((v) => v.trim()), ['41', '35', '56', '132'], 'both drags taken back');
        await close(page);
    });

    test('printed from the browser\'s own menu, the page prints the window, as Ctrl+P does', async () => {
        const page = await open(server.url);
        // The browser's print, as its menu starts it, into a PDF file.
        const pdf = Buffer.from(await page.pdf({ landscape: true })).toString('latin1');
        assert.equal(pdf.match(/\/Subtype\s*\/Image/g)?.length, 1, 'the window\'s picture is printed');
        assert.equal(await page.$('#print-picture'), null, 'and gone once printed');
        await close(page);
    });

    test('Ctrl+S downloads the window as it looks, as a PNG of its size at the scale shown', async () => {
        for (const [viewport, scale] of [[WINDOW, 1], [{ width: 1834, height: 1374 }, 2]]) {
            const page = await open(server.url, viewport);
            await page.click('#Check2');
            await frames(page);
            // The page's download link is caught and read back.
            const saved = page.evaluate((board) => new Promise((resolve) => {
                HTMLAnchorElement.prototype.click = async function () {
                    const bitmap = await createImageBitmap(await (await fetch(this.href)).blob());
                    const c = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
                    c.drawImage(bitmap, 0, 0);
                    const saved = c.getImageData(board.left, board.top, board.width, board.height).data;
                    const canvas = document.getElementById('gamen');
                    const shown = canvas.getContext('2d').getImageData(0, 0, board.width, board.height).data;
                    // The letters stand over the board in the picture, beside it on
                    // the page; their glyphs may reach a pixel beyond their boxes.
                    const letters = [...document.querySelectorAll('.letter')].map((l) => {
                        const m = new DOMMatrixReadOnly(getComputedStyle(l).transform);
                        return { left: l.offsetLeft + m.m41, top: l.offsetTop + m.m42,
                            width: l.offsetWidth, height: l.offsetHeight };
                    });
                    let differing = 0;
                    for (let i = 0; i < shown.length; i += 4) {
                        const x = (i / 4) % board.width;
                        const y = Math.floor(i / 4 / board.width);
                        const onLetter = letters.some((l) => x >= l.left - 1 &&
                            x <= l.left + l.width && y >= l.top - 1 && y <= l.top + l.height);
                        if (!onLetter && (saved[i] !== shown[i] || saved[i + 1] !== shown[i + 1] || saved[i + 2] !== shown[i + 2])) {
                            ++differing;
                        }
                    }
                    resolve({
                        name: this.download, width: bitmap.width, height: bitmap.height,
                        corner: [...c.getImageData(1, 1, 1, 1).data], differing,
                    });
                };
            }), BOARD);
            await press(page, ['Control', 'KeyS']);
            const picture = await saved;
            assert.match(picture.name, /^orvanel-\d{8}-\d{6}\.png$/);
            assert.deepEqual([picture.width, picture.height], [WINDOW.width * scale, WINDOW.height * scale]);
            assert.deepEqual(picture.corner, [192, 255, 192, 255], 'the window\'s colour');
            if (scale === 1) {
                assert.equal(picture.differing, 0, 'the board\'s pixels as its canvas shows them');
            }
            await close(page);
        }
    });
});
