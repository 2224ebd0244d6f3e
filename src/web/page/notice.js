// SPDX-License-Identifier: MIT
// The page's word when something the user asked for did not happen (the
// window's picture not saved, copied or printed, a file that holds no
// board, a link that cannot be read, boards that cannot be kept): the
// core's notice, in
// Japanese with the English beneath, in one box at the top of the page,
// outside the window. A screen reader reads it at once; it goes after a
// while, or at the next press anywhere in the page.
import { element } from './dom.js';

const SHOWN_MS = 10000;

let hiding = 0;

function hide() {
    clearTimeout(hiding);
    document.getElementById('notice').replaceChildren();
}

// Shows the core's notice `name` ("NotABoard").
export function tell(core, name) {
    const { japanese, english } = core.notice(name);
    document.getElementById('notice').replaceChildren(
        element('p', { textContent: japanese }),
        element('p', { lang: 'en', textContent: english }));
    clearTimeout(hiding);
    hiding = setTimeout(hide, SHOWN_MS);
    document.addEventListener('pointerdown', hide, { once: true, capture: true });
}

// Does `action`; when it fails, at once or later, the page shows the core's
// notice `name` ("SaveFailed"), and the console says why.
export async function telling(core, name, action) {
    try {
        await action();
    } catch (error) {
        console.warn(`Orvanel: ${name}:`, error);
        tell(core, name);
    }
}
