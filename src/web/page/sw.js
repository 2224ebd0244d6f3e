// SPDX-License-Identifier: MIT
// Keeps the page's files so the installed page opens without a network. Each
// build stamps VERSION from the files' contents: a new build installs a new
// set beside the old one, and the old one is dropped once no page uses it.
'use strict';

const VERSION = 'unbuilt';
const CACHE = 'orvanel-' + VERSION;
const FILES = [
    './',
    'index.html',
    'style.css',
    'app.js',
    'orvanel.js',
    'orvanel.wasm',
    'manifest.webmanifest',
    'orvanel.svg',
    'orvanel-48x48.png',
    'orvanel-180x180.png',
    'orvanel-192x192.png',
    'orvanel-256x256.png',
    'orvanel-512x512.png',
];

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
