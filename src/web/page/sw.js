// SPDX-License-Identifier: MIT
// Keeps the page's files so the installed page opens without a network. A new
// build installs a new set beside the old one, whole or not at all, and the
// old one is dropped once the new one has taken over.
'use strict';

// The build writes FILES, the files the page cannot start without; EXTRAS,
// the files it can (the manifest, the tab's icon, and orvanel.html, the page
// in one file); and VERSION, a digest of them all and of this worker.
const CACHE = 'orvanel-' + VERSION;

// Each file asked of the server, which answers "not modified" for one the
// browser's cache holds already (the page's first visit has just loaded
// them): a file is never taken from that cache unchecked, where an older
// build's may lie.
const fromServer = (file) => new Request(file, { cache: 'no-cache' });

// Every file the page needs, or none: when one does not arrive the install
// fails, the new set is dropped, and the worker before and its set stay. An
// extra the server refuses is left out, and the console says why.
async function keepAll() {
    const existed = await caches.has(CACHE);
    const cache = await caches.open(CACHE);
    try {
        await cache.addAll(FILES.map(fromServer));
    } catch (error) {
        if (!existed) {
            await caches.delete(CACHE);
        }
        console.warn(`Orvanel: this build is not kept for offline use: ${error.message}`);
        throw error;
    }
    await Promise.all(EXTRAS.map((file) => cache.add(fromServer(file)).catch((error) => {
        console.warn(`Orvanel: ${file} is not kept for offline use: ${error.message}`);
    })));
}

self.addEventListener('install', (event) => {
    event.waitUntil(keepAll().then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
        .then((keys) => Promise.all(keys
            .filter((k) => k.startsWith('orvanel-') && k !== CACHE)
            .map((k) => caches.delete(k))))
        .then(() => self.clients.claim()));
});

// The kept files first, the folder's address as its index.html; anything
// else from the network.
self.addEventListener('fetch', (event) => {
    if (event.request.method !== 'GET') {
        return;
    }
    const url = new URL(event.request.url);
    const request = event.request.mode === 'navigate' && url.pathname.endsWith('/')
        ? new URL('index.html', url).href : event.request;
    event.respondWith(caches.open(CACHE)
        .then((cache) => cache.match(request, { ignoreSearch: true }))
        .then((kept) => kept || fetch(event.request)));
});
