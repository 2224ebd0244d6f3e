// SPDX-License-Identifier: MIT
// WebKit: Debian's WebKitWebDriver driving the MiniBrowser of WebKitGTK over
// the W3C WebDriver protocol, with Node's own fetch. The MiniBrowser has no
// headless mode: it runs on a virtual X display of its own, whose own mouse
// (xmouse.js) stands in for the driver's: that one holds one button at a
// time (when a second one comes up it lets go of the first instead, and the
// second stays down). It reaches no further than this machine (offline.js).
'use strict';

const { spawn } = require('node:child_process');
const net = require('node:net');
const { startDisplay } = require('./display');
const { NOWHERE } = require('./offline');
const { xMouse } = require('./xmouse');
const { sourceOf } = require('./source');

const DRIVER = process.env.ORVANEL_WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';
const BROWSER = process.env.ORVANEL_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

function freePort() {
    return new Promise((resolve, reject) => {
        const s = net.createServer();
        s.once('error', reject);
        s.listen(0, '127.0.0.1', () => {
            const { port } = s.address();
            s.close(() => resolve(port));
        });
    });
}

// One WebDriver command; the answer's value, or the driver's error thrown.
async function command(base, method, route, body) {
    const r = await fetch(base + route, {
        method,
        headers: { 'Content-Type': 'application/json; charset=utf-8' },
        body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await r.json();
    const value = answer.value === undefined ? answer : answer.value;
    if (value && value.error) {
        throw new Error(`WebDriver ${method} ${route}: ${value.error}: ${value.message}`);
    }
    return value;
}

async function untilReady(base, driver) {
    for (let i = 0; i < 100; ++i) {
        if (driver.exitCode !== null) {
            throw new Error(`WebKitWebDriver ended (${driver.exitCode})`);
        }
        try {
            if ((await command(base, 'GET', '/status')).ready) {
                return;
            }
        } catch {
            // Not listening yet.
        }
        await new Promise((r) => setTimeout(r, 100));
    }
    throw new Error('WebKitWebDriver did not answer');
}

// The driver cannot listen to the page from its start: right after each load
// the page's uncaught errors, rejections and console errors are gathered in
// the page. An error that stops the page from loading shows as a page that
// never gets ready.
function gatherErrors() {
    const errors = [];
    window.__engineErrors = errors;
    window.addEventListener('error', (e) => errors.push(`uncaught: ${e.message}`));
    window.addEventListener('unhandledrejection', (e) => errors.push(`uncaught: ${e.reason}`));
    const log = console.error.bind(console);
    console.error = (...words) => {
        errors.push(`console: ${words.join(' ')}`);
        log(...words);
    };
}

async function launchWebKit() {
    const screen = await startDisplay();
    const port = await freePort();
    const driver = spawn(DRIVER, [`--port=${port}`], {
        stdio: 'ignore',
        env: { ...process.env, DISPLAY: screen.display },
    });
    const base = `http://127.0.0.1:${port}`;
    let session = null;
    const stop = async () => {
        if (session) {
            await command(base, 'DELETE', session).catch(() => {});
        }
        if (driver.exitCode === null) {
            const ended = new Promise((done) => driver.once('exit', done));
            driver.kill();
            await ended;
        }
        await screen.close();
    };
    try {
        await untilReady(base, driver);
        const created = await command(base, 'POST', '/session', {
            capabilities: {
                alwaysMatch: {
                    'webkitgtk:browserOptions': {
                        binary: BROWSER,
                        args: ['--automation', `--proxy=http://${NOWHERE}`,
                            '--ignore-host=127.0.0.1', '--ignore-host=localhost'],
                    },
                },
            },
        });
        session = `/session/${created.sessionId}`;
        const caps = created.capabilities;
        const send = (method, route, body) => command(base, method, session + route, body);
        const evaluate = (fn, ...args) => send('POST', '/execute/sync',
            { script: `return (${sourceOf(fn)}).apply(null, arguments);`, args });
        const mouse = xMouse(screen.display, evaluate);

        // The window's size that gives the page `viewport`: the window
        // around it takes what it takes.
        async function fit(viewport) {
            await send('POST', '/window/rect', viewport);
            const [w, h] = await evaluate(() => [window.innerWidth, window.innerHeight]);
            if (w !== viewport.width || h !== viewport.height) {
                await send('POST', '/window/rect', {
                    width: 2 * viewport.width - w, height: 2 * viewport.height - h,
                });
            }
        }

        return {
            name: 'webkit',
            version: `${caps.browserName} WebKitGTK/${caps.browserVersion}`,
            // A touch action reaches the page as a mouse (pointerType
            // "mouse", with a hover move first): the driver cannot touch.
            pointerTypes: ['mouse', 'pen'],
            async open(url, viewport) {
                await fit(viewport);
                await send('POST', '/url', { url });
                await evaluate(gatherErrors);
                await mouse.calibrate();
            },
            evaluate,
            async pointer(type, actions) {
                if (type === 'mouse') {
                    await mouse.pointer(actions);
                    return;
                }
                try {
                    await send('POST', '/actions', {
                        actions: [{ type: 'pointer', id: type, parameters: { pointerType: type }, actions }],
                    });
                } catch (error) {
                    await send('DELETE', '/actions').catch(() => {});
                    throw error;
                }
            },
            // W3C key actions to the element with the focus.
            async keys(actions) {
                await send('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
                await send('DELETE', '/actions');
            },
            screenshot: async () => Buffer.from(await send('GET', '/screenshot'), 'base64'),
            takeErrors: () => evaluate(() => (window.__engineErrors || []).splice(0)),
            close: stop,
        };
    } catch (error) {
        await stop();
        throw error;
    }
}

module.exports = { launchWebKit };
