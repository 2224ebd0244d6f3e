// SPDX-License-Identifier: MIT
// What every browser test and benchmark of the page needs: the compiled
// module in Node, a local server for the edition's folder, a headless
// browser, and pages opened in it, ready once the window is shown.
//
// ORVANEL_CHROMIUM names the browser (default /usr/bin/chromium).
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');

// The window's client area and the board's drawing area in it, in pixels.
const WINDOW = { width: 917, height: 687 };
const BOARD = { left: 10, top: 50, width: 802, height: 626 };

// The compiled module in Node, from the edition's folder.
function loadCore(webDir) {
    const create = require(path.resolve(webDir, 'orvanel.js'));
    return create({ wasmBinary: fs.readFileSync(path.join(webDir, 'orvanel.wasm')) });
}

// The content type a plain web server gives each kind of file served.
const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript',
    '.css': 'text/css',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json',
    '.json': 'application/json',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
};

// Serves `dir` on 127.0.0.1. Cross-origin isolated, so the page's clock
// resolves microseconds. `refuses(pathname)` names addresses answered 404,
// as some servers answer a folder's address or a .webmanifest. `port`, when
// given, is the one served on again after an earlier server was closed.
function serve(dir, refuses = () => false, port = 0) {
    dir = path.resolve(dir);
    const sockets = new Set();
    const server = http.createServer((req, res) => {
        const asked = decodeURIComponent(new URL(req.url, 'http://x').pathname);
        const file = path.join(dir, path.normalize(asked.replace(/\/$/, '/index.html')));
        if (refuses(asked) || !file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
            res.writeHead(404).end();
            return;
        }
        res.writeHead(200, {
            'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
            'Cross-Origin-Opener-Policy': 'same-origin',
            'Cross-Origin-Embedder-Policy': 'require-corp',
            'Cache-Control': 'no-cache',
        });
        fs.createReadStream(file).pipe(res);
    });
    server.on('connection', (s) => {
        sockets.add(s);
        s.on('close', () => sockets.delete(s));
    });
    return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((done) => {
            server.close(done);
            for (const s of sockets) {
                s.destroy();
            }
        }),
    })));
}

// Runs in the page before its scripts, for tests only: the module's factory
// is wrapped so that `window.pageTest` reaches every window the page makes,
// the running one last, the pointer moves each was handed with a button
// held, and the size of the module's memory.
function exposeWindows() {
    const pageTest = { windows: [], Window: null };
    const heldMoves = new Map();
    const running = () => pageTest.windows[pageTest.windows.length - 1];
    // The pointer moves the running window's core was handed with a button
    // held: a test that pressed on a vertex counts its drag's moves.
    pageTest.heldMoves = () => heldMoves.get(running()) ?? 0;
    // The board's picture as the running window's core composes it, in the
    // device pixels the canvas shows.
    pageTest.boardPixels = () => running().pixels().slice();
    window.pageTest = pageTest;
    let factory = null;
    Object.defineProperty(window, 'createOrvanel', {
        configurable: true,
        set: (f) => { factory = f; },
        get: () => (...args) => factory(...args).then((core) => {
            // The size of the module's memory, and that memory grown by at
            // least `bytes`, which leaves every view over it before empty.
            pageTest.memoryBytes = () => core.HEAP8.buffer.byteLength;
            pageTest.growMemory = (bytes) => core._free(core._malloc(core.HEAP8.buffer.byteLength + bytes));
            const Window = core.Window;
            pageTest.Window = Window;
            core.Window = function (...a) {
                const w = new Window(...a);
                pageTest.windows.push(w);
                heldMoves.set(w, 0);
                const move = w.pointerMove;
                w.pointerMove = function (kind, id, held, ...at) {
                    heldMoves.set(w, heldMoves.get(w) + (held ? 1 : 0));
                    return move.call(this, kind, id, held, ...at);
                };
                return w;
            };
            return core;
        }),
    });
}

// Debian's Chromium, headless, in a profile of its own.
async function launch() {
    const puppeteer = require('puppeteer-core');
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvanel-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: process.env.ORVANEL_CHROMIUM || '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
    browser.finish = async () => {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    };
    return browser;
}

// Two animation frames: whatever the page had to show is on the screen.
function frames(page) {
    return page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
}

async function ready(page) {
    await page.waitForSelector('#Form1[data-ready]', { timeout: 20000 });
    await frames(page);
}

// A new tab at `url` with the given viewport, ready to use. Every uncaught
// script error and console error of the page is collected in `page.errors`.
async function open(browser, url, viewport = WINDOW, setUp = async () => {}) {
    const page = await browser.newPage();
    page.errors = [];
    page.on('pageerror', (e) => page.errors.push(`uncaught: ${e.message}`));
    page.on('console', (m) => {
        if (m.type() === 'error') {
            page.errors.push(`console: ${m.text()}`);
        }
    });
    await page.evaluateOnNewDocument(exposeWindows);
    await page.setViewport(viewport);
    await setUp(page);
    await page.goto(url);
    await ready(page);
    return page;
}

// Closes the tab; fails if the page raised script errors.
async function close(page) {
    const errors = page.errors;
    if (!page.isClosed()) {
        await page.close();
    }
    assert.deepEqual(errors, [], 'the page raised script errors');
}

module.exports = { WINDOW, BOARD, TYPES, loadCore, serve, launch, open, ready, frames, close };
