// SPDX-License-Identifier: MIT
// The folder of the page can be installed and opened without a network: its
// worker keeps the files. A page opened from disk, or one without a
// manifest, has no worker; one that cannot have it runs all the same.

export function registerOfflineWorker() {
    if ('serviceWorker' in navigator && document.querySelector('link[rel="manifest"]') &&
        (location.protocol === 'https:' || location.protocol === 'http:')) {
        navigator.serviceWorker.register('sw.js').catch((error) => {
            console.warn(`Orvanel works online only here: the offline worker was refused (${error.message})`);
        });
    }
}
