// SPDX-License-Identifier: MIT
// A static file server on 127.0.0.1 for the benchmark's pages, answering as
// a plain web server does (length and modification time, no cache rules,
// "not modified" to a revalidation), with a log of the files it sent.
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { TYPES } = require('../../tests/web/harness');

// The file a URL path names under `mounts` ({ '/prefix/': folder }, the
// first prefix that matches wins), or null.
function fileFor(mounts, urlPath) {
    const prefix = Object.keys(mounts).find((p) => urlPath.startsWith(p));
    if (prefix === undefined) {
        return null;
    }
    const name = decodeURIComponent(urlPath.slice(prefix.length)).replace(/(^|\/)$/, '$1index.html');
    const dir = path.resolve(mounts[prefix]);
    const file = path.join(dir, path.normalize('/' + name));
    return fs.existsSync(file) && fs.statSync(file).isFile() ? file : null;
}

function serve(mounts) {
    const log = [];
    const server = http.createServer((req, res) => {
        const file = fileFor(mounts, new URL(req.url, 'http://x').pathname);
        if (!file) {
            res.writeHead(404).end();
            return;
        }
        const stat = fs.statSync(file);
        // Not modified since the browser's copy: no body, as a plain web
        // server answers a revalidation.
        const since = Date.parse(req.headers['if-modified-since']);
        if (since >= Math.floor(stat.mtimeMs / 1000) * 1000) {
            log.push({ file, bytes: 0 });
            res.writeHead(304).end();
            return;
        }
        log.push({ file, bytes: stat.size });
        res.writeHead(200, {
            'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
            'Content-Length': stat.size,
            'Last-Modified': stat.mtime.toUTCString(),
        });
        fs.createReadStream(file).pipe(res);
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        log,
        close: () => {
            server.closeAllConnections();
            server.close();
        },
    })));
}

module.exports = { serve };
