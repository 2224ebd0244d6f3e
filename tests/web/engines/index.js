// SPDX-License-Identifier: MIT
// One small driver over the three engines a classroom meets: Chromium,
// Firefox and WebKit, each Debian's own, each reaching no host but this one.
//
//   const engine = await launch('chromium' | 'firefox' | 'webkit');
//   engine.name, engine.version      'firefox', 'firefox/153.8.0'
//   engine.pointerTypes              the pointer types its driver really sends;
//                                    pointer() refuses the others
//   await engine.open(url, { width, height })   loads url in a page of that size
//   await engine.evaluate(fn, ...args)   runs fn (a function or its source) in
//                                        the page; its JSON-able result, awaited
//   await engine.pointer('mouse' | 'touch' | 'pen', actions)
//       W3C pointer actions, e.g. { type: 'pointerMove', x, y, origin: 'viewport' },
//       { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 },
//       { type: 'pause', duration }: real input through the engine's driver
//       (WebKit's mouse: the X server's own, on its virtual display); x and y
//       in whole CSS pixels of the viewport
//   await engine.screenshot()        the page as a PNG Buffer
//   await engine.takeErrors()        the page's uncaught errors and console
//                                    errors since the last call
//   await engine.close()
'use strict';

const { launchPuppeteer } = require('./puppeteer');
const { launchWebKit } = require('./webkit');

const ENGINES = ['chromium', 'firefox', 'webkit'];

function start(name) {
    switch (name) {
    case 'chromium':
    case 'firefox':
        return launchPuppeteer(name);
    case 'webkit':
        return launchWebKit();
    default:
        throw new Error(`no engine ${name}: one of ${ENGINES.join(', ')}`);
    }
}

async function launch(name) {
    const engine = await start(name);
    const send = engine.pointer;
    // A pointer the driver would fake as another must not pass for tested.
    engine.pointer = (type, actions) => {
        if (!engine.pointerTypes.includes(type)) {
            throw new Error(`${name}'s driver cannot send a ${type}`);
        }
        return send(type, actions);
    };
    return engine;
}

module.exports = { launch, ENGINES };
