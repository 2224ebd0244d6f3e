// SPDX-License-Identifier: MIT
// Keeps the page's files so the installed page opens without a network. A new
// build installs a new set beside the old one, and the old one is dropped
// once no page uses it.
'use strict';

// The build writes FILES, the names of the files the page needs, and
// VERSION, a digest of their contents.
const CACHE = 'orvanel-' + VERSION;

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(CACHE)
        .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: 'reload' }))))
        .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
        .then((keys) => Promise.all(keys
            .filter((k) => k.startsWith('orvanel-') && k !== CACHE)
            .map((k) => caches.delete(k))))
        .then(() => self.clients.claim()));
});

// The kept files first; anything else from the network.
self.addEventListener('fetch', (event) => {
    if (event.request.method !== 'GET') {
        return;
    }
    event.respondWith(caches.open(CACHE)
        .then((cache) => cache.match(event.request, { ignoreSearch: true }))
        .then((kept) => kept || fetch(event.request)));
});
