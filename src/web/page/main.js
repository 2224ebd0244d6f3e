// SPDX-License-Identifier: MIT
// The window in a browser page: loads the compiled model and the design's
// faces, runs one session at a time in #Form1, fits it to the screen, and
// lets the folder work offline. The page decides nothing itself: it shows
// what the model reports and hands it the user's input.
//
// `?embed=1`, for a frame in a course page: the window fits the frame, the
// page offers no install and no offline worker, and "終了" never tries to
// close anything.
import { loadFaces } from './fonts.js';
import { loadModule, showFromDisk } from './load.js';
import { offerInstall } from './offline.js';
import { applyScale, watchScreen } from './scale.js';
import { Session } from './session.js';
import { addTouchTargets } from './touch.js';

const root = document.getElementById('Form1');
const endedBox = document.getElementById('ended-box');
const embedded = new URLSearchParams(location.search).get('embed') === '1';
let session = null;

function refit(design) {
    const at = applyScale(root, design);
    session?.resize(at.factor * at.dpr);
    session?.pointer.forgetPlace();
}

function start(core, design) {
    endedBox.hidden = true;
    root.hidden = false;
    session = new Session(core, design, root, ended);
    addTouchTargets(root, design, session.controls);
    refit(design);
}

function ended() {
    session = null;
    if (!embedded) {
        window.close();
        if (window.closed) {
            return;
        }
    }
    // The browser keeps a tab open that it did not open by script.
    root.replaceChildren();
    root.hidden = true;
    endedBox.hidden = false;
    document.getElementById('restart').focus();
}

loadModule().then(async (core) => {
    const design = core.design();
    await loadFaces(design);
    document.getElementById('restart').addEventListener('click', () => start(core, design));
    start(core, design);
    watchScreen(() => refit(design));
    root.dataset.ready = 'true';
}, showFromDisk);

if (!embedded) {
    offerInstall();
}
