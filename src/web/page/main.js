// SPDX-License-Identifier: MIT
// The window in a browser page: loads the compiled model and the design's
// faces, runs one session at a time in #Form1, fits it to the screen, and
// lets the folder work offline. The page decides nothing itself: it shows
// what the model reports and hands it the user's input.
import { loadFaces } from './fonts.js';
import { registerOfflineWorker } from './offline.js';
import { applyScale } from './scale.js';
import { Session } from './session.js';

const root = document.getElementById('Form1');
const endedBox = document.getElementById('ended-box');

function start(core, design) {
    endedBox.hidden = true;
    root.hidden = false;
    new Session(core, design, root, ended);
    applyScale(root, design);
}

function ended() {
    window.close();
    if (window.closed) {
        return;
    }
    // The browser keeps a tab open that it did not open by script.
    root.replaceChildren();
    root.hidden = true;
    endedBox.hidden = false;
    document.getElementById('restart').focus();
}

createOrvanel().then(async (core) => {
    const design = core.design();
    await loadFaces(design);
    document.getElementById('restart').addEventListener('click', () => start(core, design));
    start(core, design);
    window.addEventListener('resize', () => applyScale(root, design));
    root.dataset.ready = 'true';
});

registerOfflineWorker();
