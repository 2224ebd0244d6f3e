// SPDX-License-Identifier: MIT
// Chromium and Firefox ESR, Debian's, driven by puppeteer-core over WebDriver
// BiDi: both take the same W3C pointer actions, so a mouse, a finger and a
// pen reach the page as the browser's own input, not as made-up DOM events.
// Both reach no further than this machine (offline.js).
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const { functionOf } = require('./source');
const { NOWHERE, NOWHERE_PORT } = require('./offline');

const BROWSERS = {
    chromium: {
        browser: 'chrome',
        executablePath: process.env.ORVANEL_CHROMIUM || '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
            '--disable-sync', '--no-first-run', `--proxy-server=${NOWHERE}`],
        prefs: {},
        pointerTypes: ['mouse', 'touch', 'pen'],
    },
    firefox: {
        browser: 'firefox',
        executablePath: process.env.ORVANEL_FIREFOX || '/usr/bin/firefox-esr',
        args: [],
        prefs: {
            'network.proxy.type': 1,
            'network.proxy.http': '127.0.0.1',
            'network.proxy.http_port': NOWHERE_PORT,
            'network.proxy.ssl': '127.0.0.1',
            'network.proxy.ssl_port': NOWHERE_PORT,
        },
        // Firefox's remote agent answers a pen's move with "Unimplemented
        // pointerMove for pointerType pen".
        pointerTypes: ['mouse', 'touch'],
    },
};

async function launchPuppeteer(name) {
    const b = BROWSERS[name];
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), `orvanel-${name}-`));
    const browser = await puppeteer.launch({
        browser: b.browser,
        protocol: 'webDriverBiDi',
        executablePath: b.executablePath,
        headless: true,
        userDataDir: profile,
        args: b.args,
        extraPrefsFirefox: b.prefs,
    });
    const page = (await browser.pages())[0] || await browser.newPage();
    let errors = [];
    page.on('pageerror', (e) => errors.push(`uncaught: ${e.message}`));
    page.on('console', (m) => {
        if (m.type() === 'error') {
            errors.push(`console: ${m.text()}`);
        }
    });
    return {
        name,
        version: await browser.version(),
        pointerTypes: b.pointerTypes,
        async open(url, viewport) {
            await page.setViewport(viewport);
            await page.goto(url);
        },
        evaluate: (fn, ...args) => page.evaluate(functionOf(fn), ...args),
        async pointer(type, actions) {
            // The frame's BiDi browsing context: puppeteer's own mouse and
            // touchscreen cannot be a pen.
            const context = page.mainFrame().browsingContext;
            await context.performActions([{ type: 'pointer', id: type, parameters: { pointerType: type }, actions }]);
        },
        // W3C key actions to the element with the focus.
        async keys(actions) {
            const context = page.mainFrame().browsingContext;
            await context.performActions([{ type: 'key', id: 'keyboard', actions }]);
        },
        screenshot: () => page.screenshot(),
        async takeErrors() {
            const taken = errors;
            errors = [];
            return taken;
        },
        async close() {
            await browser.close();
            fs.rmSync(profile, { recursive: true, force: true });
        },
    };
}

module.exports = { launchPuppeteer };
