// SPDX-License-Identifier: MIT
// The window in a browser page: loads the compiled model and the design's
// faces, runs one window at a time in #Form1, fits it to the screen, and
// lets the folder work offline. The page decides nothing itself: it shows
// what the model reports and hands it the user's input.
//
// `?embed=1`, for a frame in a course page: the window fits the frame, the
// page offers no install and no offline worker, and "終了" never tries to
// close anything. `#...`: the window starts on the figure the address
// carries (address.js).
import { openAddressLink, restoreAddress } from './address.js';
import { Chooser } from './chooser.js';
import { showCaption } from './dom.js';
import { loadFaces, measure } from './fonts.js';
import { LastBoardHint } from './hint.js';
import { anyKept } from './kept.js';
import { loadModule, showFromDisk } from './load.js';
import { offerInstall } from './offline.js';
import { acceptDrops } from './opening.js';
import { RunningWindow } from './running-window.js';
import { applyScale, fit, watchScreen } from './scale.js';
import { addTouchTargets } from './touch.js';

const root = document.getElementById('Form1');
const endedBox = document.getElementById('ended-box');
const embedded = new URLSearchParams(location.search).get('embed') === '1';
let running = null;
let hint = null;
let chooser = null;

// The start is cut into tasks, each short enough that the page keeps
// answering while it starts (a slow tablet's CPU takes four times as long).
const nextTask = () => new Promise((resolve) => setTimeout(resolve));

// Shows the window as `at` (a fit) places it.
function place(at) {
    applyScale(root, at);
    running?.resize(at.factor * at.dpr);
    running?.pointer.forgetPlace();
    hint.place(at);
}

async function start(core, design) {
    endedBox.hidden = true;
    root.hidden = true;
    // The model first: its start measures the captions, and the browser
    // compiles the core's code as it first runs.
    const win = new core.Window(measure);
    openAddressLink(core, win);
    await nextTask();
    // The window built unseen, where it goes: the page is laid out once.
    const at = fit(core);
    running = new RunningWindow(core, design, win, root, { chooser, onChoose: () => hint.hide(), onEnd: ended });
    addTouchTargets(design, running.controls);
    place(at);
    await nextTask();
    running.showFrame();
    root.hidden = false;
}

function ended() {
    running = null;
    hint.hide();
    restoreAddress();
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

// The screen after "終了", in the core's words: Japanese, the English beneath.
function showEndedCaptions(core) {
    const ended = core.caption('Ended');
    document.getElementById('ended').textContent = ended.japanese;
    document.getElementById('ended-en').textContent = ended.english;
    showCaption(document.getElementById('restart'), core.caption('StartAgain'));
}

loadModule().then(async (core) => {
    // The module's start (its code made ready, its types registered) was
    // a task of its own.
    await nextTask();
    const design = core.design();
    showEndedCaptions(core);
    hint = new LastBoardHint(core, design);
    chooser = new Chooser(core);
    acceptDrops((file) => running?.openFile(file));
    await nextTask();
    await loadFaces(design);
    await nextTask();
    document.getElementById('restart').addEventListener('click', () => start(core, design));
    await start(core, design);
    watchScreen(() => place(fit(core)));
    root.dataset.ready = 'true';
    // The offline worker fetches its files once the window is up.
    if (!embedded) {
        offerInstall();
    }
    // Once, when a board from before is there to bring back.
    if (await anyKept() && running) {
        hint.show();
    }
}, showFromDisk);
