// SPDX-License-Identifier: MIT
// Keeps the page's files so the installed page opens without a network. A new
// build installs a new set beside the old one, and the old one is dropped
// once no page uses it.
'use strict';

// The build writes FILES, the names of the files the page loads, and
// VERSION, a digest of their contents.
const CACHE = 'orvanel-' + VERSION;

// Each file as the page's own visit left it in the browser's cache, so that
// the first visit loads each file once. A file the server refuses is not
// kept, and the console says why; the others are.
async function keep(cache, file) {
    try {
        await cache.add(new Request(file, { cache: 'force-cache' }));
    } catch (error) {
        console.warn(`Orvanel: ${file} is not kept for offline use: ${error.message}`);
    }
}

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(CACHE)
        .then((cache) => Promise.all(FILES.map((f) => keep(cache, f))))
        .then(() => self.skipWaiting()));
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
