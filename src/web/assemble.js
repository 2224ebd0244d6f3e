// SPDX-License-Identifier: MIT
// Gathers the browser edition in its folder: the page's files beside the
// compiled module, the offline worker stamped with a digest of the files it
// keeps, and orvanel.html, one self-contained page with the style, the
// scripts, the module (WebAssembly included) and the icon inlined, which
// works opened straight from disk.
//
//   node assemble.js PAGE_DIR INLINE_MODULE OUT_DIR
'use strict';

const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

const [pageDir, inlineModule, outDir] = process.argv.slice(2);
if (!outDir) {
    console.error('usage: node assemble.js PAGE_DIR INLINE_MODULE OUT_DIR');
    process.exit(2);
}

const read = (file) => fs.readFileSync(file, 'utf8');

for (const file of ['index.html', 'style.css', 'app.js', 'manifest.webmanifest']) {
    fs.copyFileSync(path.join(pageDir, file), path.join(outDir, file));
}

// The worker keeps the files its FILES list names; its cache is named after
// their contents, so every changed build is a new cache.
let worker = read(path.join(pageDir, 'sw.js'));
const list = worker.match(/const FILES = (\[[^\]]*\]);/);
if (!list) {
    throw new Error('sw.js has no FILES list');
}
const files = JSON.parse(list[1].replace(/'/g, '"').replace(/,\s*\]/, ']'));
const digest = crypto.createHash('sha256');
for (const file of files.filter((f) => f !== './')) {
    digest.update(file).update(fs.readFileSync(path.join(outDir, file)));
}
worker = worker.replace(/const VERSION = '[^']*';/,
    `const VERSION = '${digest.digest('hex').slice(0, 16)}';`);
fs.writeFileSync(path.join(outDir, 'sw.js'), worker);

// Inside a <script> element the text must not close the element or open a
// comment.
function scriptText(text, name) {
    if (/<\/script|<!--/i.test(text)) {
        throw new Error(`${name} cannot be inlined: it holds </script or <!--`);
    }
    return text;
}

// Replaces exactly one occurrence of `what` in `html`.
function replaceOnce(html, what, by) {
    const at = html.indexOf(what);
    if (at < 0 || html.indexOf(what, at + 1) >= 0) {
        throw new Error(`index.html must hold exactly one ${what}`);
    }
    return html.slice(0, at) + by + html.slice(at + what.length);
}

let page = read(path.join(pageDir, 'index.html'));
// Installing and the offline worker need a web server: the single page has neither.
page = page.replace(/<link rel="manifest"[^>]*>\n/, '').replace(/<link rel="apple-touch-icon"[^>]*>\n/, '');
const icon = fs.readFileSync(path.join(outDir, 'orvanel.svg')).toString('base64');
page = replaceOnce(page, 'href="orvanel.svg"', `href="data:image/svg+xml;base64,${icon}"`);
page = replaceOnce(page, '<link rel="stylesheet" href="style.css">',
    `<style>\n${read(path.join(pageDir, 'style.css'))}</style>`);
page = replaceOnce(page, '<script src="orvanel.js"></script>',
    `<script>\n${scriptText(read(inlineModule), 'the module')}</script>`);
page = replaceOnce(page, '<script src="app.js"></script>',
    `<script>\n${scriptText(read(path.join(pageDir, 'app.js')), 'app.js')}</script>`);
fs.writeFileSync(path.join(outDir, 'orvanel.html'), page);
