// SPDX-License-Identifier: MIT
// A virtual X display for a browser that cannot run without one: Xvfb on the
// first free display number, which it reports itself (-displayfd).
'use strict';

const { spawn } = require('node:child_process');

const SCREEN = '1280x1024x24';

// Starts Xvfb; resolves to { display: ':N', close() }.
function startDisplay() {
    const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', SCREEN, '-nolisten', 'tcp'],
        { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
    let errors = '';
    xvfb.stderr.on('data', (d) => { errors += d; });
    return new Promise((resolve, reject) => {
        let number = '';
        xvfb.stdio[3].on('data', (d) => {
            number += d;
            if (number.endsWith('\n')) {
                resolve({
                    display: `:${number.trim()}`,
                    close: () => new Promise((done) => {
                        xvfb.once('exit', done);
                        xvfb.kill();
                    }),
                });
            }
        });
        xvfb.once('error', reject);
        xvfb.once('exit', (code) => reject(new Error(`Xvfb ended (${code}) before it had a display: ${errors}`)));
    });
}

module.exports = { startDisplay };
