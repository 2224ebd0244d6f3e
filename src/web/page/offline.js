// SPDX-License-Identifier: MIT
// The folder of the page can be installed and opened without a network: its
// manifest names it, its worker keeps the files. A page opened from disk
// has neither (the browser refuses to read the manifest there); one that
// cannot have the worker runs all the same.
import { element } from './dom.js';

export function offerInstall() {
    if (location.protocol !== 'https:' && location.protocol !== 'http:') {
        return;
    }
    document.head.append(element('link', { rel: 'manifest', href: 'manifest.webmanifest' }));
    if ('serviceWorker' in navigator) {
        navigator.serviceWorker.register('sw.js').catch((error) => {
            console.warn(`Orvanel works online only here: the offline worker was refused (${error.message})`);
        });
    }
}
