// SPDX-License-Identifier: MIT
// Builds the browser edition's page in its folder, beside the compiled
// module and the icons: the page's modules bundled by esbuild into app.js,
// one classic script; the offline worker, given the list of the files the
// page needs and a digest of their contents; and orvanel.html, one
// self-contained page with the style, the scripts, the module (WebAssembly
// included) and the icon inlined, which works opened straight from disk.
//
//   node build-page.js ESBUILD PAGE_DIR INLINE_MODULE OUT_DIR FILE...
// FILE...: the files beside the page that it loads (module, icon), in OUT_DIR.
// INLINE_MODULE, the module with its WebAssembly inside, is put beside them
// as orvanel-inline.js, for index.html opened from disk.
'use strict';

const childProcess = require('child_process');
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

const [esbuild, pageDir, inlineModule, outDir, ...besides] = process.argv.slice(2);
if (!outDir) {
    console.error('usage: node build-page.js ESBUILD PAGE_DIR INLINE_MODULE OUT_DIR FILE...');
    process.exit(2);
}

const read = (file) => fs.readFileSync(file, 'utf8');
const out = (file) => path.resolve(outDir, file);
// From the page's folder, so that the bundle names its modules by their own names.
const bundle = (entry, ...options) => childProcess.execFileSync(esbuild,
    [entry, '--log-level=warning', '--banner:js=// SPDX-License-Identifier: MIT', ...options],
    { cwd: pageDir, stdio: 'inherit' });

const copied = ['index.html', 'style.css', 'manifest.webmanifest'];
for (const file of copied) {
    fs.copyFileSync(path.join(pageDir, file), out(file));
}
bundle('main.js', '--bundle', '--format=iife', `--outfile=${out('app.js')}`);
fs.copyFileSync(inlineModule, out('orvanel-inline.js'));

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
// Installing needs a web server: the single page is not offered for it.
page = page.replace(/<link rel="apple-touch-icon"[^>]*>\n/, '');
// It carries its WebAssembly inside: nothing to fetch ahead.
const preload = /<!-- Served, the module's WebAssembly[^]*?<\/script>\n/;
if (!preload.test(page)) {
    throw new Error('index.html must hold the script that fetches the WebAssembly ahead');
}
page = page.replace(preload, '');
// It is the page the notice of index.html names: the notice and its timer go.
const fromDisk = /<!-- Shown only[^]*?<\/script>\n/;
if (!fromDisk.test(page)) {
    throw new Error('index.html must hold the notice for a page opened from disk, and its script');
}
page = page.replace(fromDisk, '');
const icon = fs.readFileSync(out('orvanel.svg')).toString('base64');
page = replaceOnce(page, 'href="orvanel.svg"', `href="data:image/svg+xml;base64,${icon}"`);
page = replaceOnce(page, '<link rel="stylesheet" href="style.css">',
    `<style>\n${read(path.join(pageDir, 'style.css'))}</style>`);
page = replaceOnce(page, '<script src="orvanel.js"></script>',
    `<script>\n${scriptText(read(inlineModule), 'the module')}</script>`);
page = replaceOnce(page, '<script src="app.js"></script>',
    `<script>\n${scriptText(read(out('app.js')), 'app.js')}</script>`);
fs.writeFileSync(out('orvanel.html'), page);

// The worker keeps every file the page loads, under its own name: those the
// page cannot start without all or none; the manifest, the tab's icon and
// orvanel.html (the page a teacher copies, kept to open offline too) where
// they arrive. Its cache is named after their contents and its own source,
// so every changed build is a new cache.
const kept = [...copied, 'app.js', 'orvanel.html', ...besides.map((f) => path.relative(outDir, f))];
const extras = ['manifest.webmanifest', 'orvanel.svg', 'orvanel.html'];
const digest = crypto.createHash('sha256');
for (const file of kept) {
    digest.update(file).update(fs.readFileSync(out(file)));
}
digest.update(fs.readFileSync(path.join(pageDir, 'sw.js')));
bundle('sw.js', `--outfile=${out('sw.js')}`,
    `--define:FILES=${JSON.stringify(kept.filter((f) => !extras.includes(f)))}`,
    `--define:EXTRAS=${JSON.stringify(extras.filter((f) => kept.includes(f)))}`,
    `--define:VERSION=${JSON.stringify(digest.digest('hex').slice(0, 16))}`);
