// SPDX-License-Identifier: MIT
// The boards the page keeps so that nothing is lost when its window goes:
// in the browser's storage for this site (IndexedDB), each as the picture
// Ctrl+S saves, with the board in it, and the time it was kept. Each window
// keeps one record, written anew at every keep; the newest `limit` records
// stay, older ones go. A browser that keeps nothing (a private window,
// storage refused or full) fails the promises; the page goes on without.

const DATABASE = 'orvanel';
const STORE = 'boards';

// One request's result, or its error.
function done(request) {
    return new Promise((resolve, reject) => {
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
}

// A transaction's end: it failed (QuotaExceededError, ...) or was aborted.
function finished(transaction) {
    return new Promise((resolve, reject) => {
        transaction.oncomplete = () => resolve();
        transaction.onerror = () => reject(transaction.error);
        transaction.onabort = () => reject(transaction.error ?? new Error('the keep was aborted'));
    });
}

let database = null;

// The database, opened once; tried anew after a failure.
function opened() {
    database ??= (async () => {
        const request = indexedDB.open(DATABASE, 1);
        request.onupgradeneeded = () => {
            request.result.createObjectStore(STORE, { keyPath: 'id' }).createIndex('time', 'time');
        };
        const db = await done(request);
        // Another tab of a later build may need the database changed.
        db.onversionchange = () => {
            db.close();
            database = null;
        };
        return db;
    })();
    database.catch(() => {
        database = null;
    });
    return database;
}

async function transaction(mode) {
    return (await opened()).transaction(STORE, mode);
}

// Keeps `png` (a Uint8Array) as the record `id`, kept now, and forgets
// all but the newest `limit` records.
export async function keep(id, png, limit) {
    const t = await transaction('readwrite');
    const store = t.objectStore(STORE);
    store.put({ id, time: Date.now(), png });
    // Oldest first.
    store.index('time').getAllKeys().onsuccess = (e) => {
        const ids = e.target.result;
        for (const old of ids.slice(0, Math.max(0, ids.length - limit))) {
            store.delete(old);
        }
    };
    await finished(t);
}

// The kept boards, newest first: {id, time, png}. None where the browser
// keeps nothing.
export async function keptBoards() {
    try {
        const t = await transaction('readonly');
        const boards = await done(t.objectStore(STORE).getAll());
        return boards.sort((a, b) => b.time - a.time);
    } catch (error) {
        console.warn('Orvanel: no kept boards could be read:', error);
        return [];
    }
}

// Whether a board is kept, without reading any.
export async function anyKept() {
    try {
        const t = await transaction('readonly');
        return await done(t.objectStore(STORE).count()) > 0;
    } catch {
        return false;
    }
}

// Forgets every kept board, of every window (a shared classroom computer).
export async function forgetKept() {
    const t = await transaction('readwrite');
    t.objectStore(STORE).clear();
    await finished(t);
}
