// SPDX-License-Identifier: MIT
// The page's start as Lighthouse judges it: its mobile profile (a phone's
// screen, a slow network and a CPU four times slower), run RUNS times on
// the edition served from 127.0.0.1 in Debian's Chromium. Prints the
// scores of performance, accessibility and SEO, the total blocking time,
// the longest task of the page's main thread with the script it ran, and
// every audit that failed.
//
//   node bench/web/lighthouse.js WEB_DIR [RUNS]
// ORVANEL_LIGHTHOUSE_REPORT=FILE keeps the last run's JSON report,
// ORVANEL_LIGHTHOUSE_TRACE=FILE its trace (for trace-summary.js or DevTools).
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { serve } = require('./serve');

const [webDir, runs = '3'] = process.argv.slice(2);

// The longest task of the page's main thread, with the script it ran
// ("Unattributable": the browser's own work, such as committing the
// navigation), and the longest that ran one of the page's own scripts.
function longestTasks(lhr, origin) {
    const tasks = lhr.audits['long-tasks']?.details?.items || [];
    const longest = (list) => list.reduce((a, b) => (b.duration > (a?.duration ?? 0) ? b : a), null);
    const any = longest(tasks);
    const own = longest(tasks.filter((t) => String(t.url).startsWith(origin)));
    const name = (t) => (t ? `${Math.round(t.duration)} ms (${path.basename(t.url || '') || t.url})` : 'none over 50 ms');
    return { any: name(any), own: name(own) };
}

async function main() {
    if (!webDir) {
        console.error('usage: node bench/web/lighthouse.js WEB_DIR [RUNS]');
        process.exit(2);
    }
    const { default: lighthouse } = await import('lighthouse');
    const chromeLauncher = await import('chrome-launcher');
    const server = await serve({ '/': webDir });
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvanel-lighthouse-'));
    const chrome = await chromeLauncher.launch({
        chromePath: process.env.ORVANEL_CHROMIUM || '/usr/bin/chromium',
        userDataDir: profile,
        chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
    const rows = [];
    let last = null;
    try {
        for (let i = 0; i < Number(runs); ++i) {
            const result = await lighthouse(`${server.url}index.html`, {
                port: chrome.port, output: 'json', logLevel: 'error',
                onlyCategories: ['performance', 'accessibility', 'seo'],
            });
            last = result;
            const lhr = result.lhr;
            const score = (c) => Math.round(lhr.categories[c].score * 100);
            rows.push({
                performance: score('performance'),
                tbt: Math.round(lhr.audits['total-blocking-time'].numericValue),
                lcp: Math.round(lhr.audits['largest-contentful-paint'].numericValue),
                ...longestTasks(lhr, server.url),
                accessibility: score('accessibility'),
                seo: score('seo'),
                failed: Object.values(lhr.categories).flatMap((c) => c.auditRefs)
                    .map((r) => lhr.audits[r.id])
                    .filter((a) => a.score !== null && a.score < 0.9 && a.scoreDisplayMode !== 'informative'
                        && a.scoreDisplayMode !== 'manual' && a.scoreDisplayMode !== 'notApplicable')
                    .map((a) => a.id),
            });
        }
    } finally {
        await chrome.kill();
        server.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
    console.log(`Lighthouse ${last.lhr.lighthouseVersion}, mobile profile, ${last.lhr.environment.hostUserAgent}`);
    console.log('run  performance  TBT ms  LCP ms  longest task             of the page\'s scripts  accessibility  SEO');
    rows.forEach((r, i) => {
        console.log(`${String(i + 1).padStart(3)}  ${String(r.performance).padStart(11)}  ${String(r.tbt).padStart(6)}  `
            + `${String(r.lcp).padStart(6)}  ${r.any.padEnd(23)}  ${r.own.padEnd(22)}  `
            + `${String(r.accessibility).padStart(13)}  ${String(r.seo).padStart(3)}`);
        console.log(`     below 0.9: ${r.failed.join(' ') || '-'}`);
    });
    if (process.env.ORVANEL_LIGHTHOUSE_REPORT) {
        fs.writeFileSync(process.env.ORVANEL_LIGHTHOUSE_REPORT, last.report);
    }
    if (process.env.ORVANEL_LIGHTHOUSE_TRACE) {
        fs.writeFileSync(process.env.ORVANEL_LIGHTHOUSE_TRACE, JSON.stringify(last.artifacts.Trace));
    }
}

main().catch((e) => {
    console.error(e);
    process.exit(1);
});
