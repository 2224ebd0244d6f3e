// SPDX-License-Identifier: MIT
// Where the CPU of a drag goes, from the Chromium traces drag-cpu.js saves
// (ORVANEL_TRACE=DIR): each slice's thread time less that of the slices
// inside it, summed by stage and by thread of the traced page's renderer,
// the GPU process and the browser, per frame the display drew.
//
//   node bench/web/trace-summary.js DIR/peer.json DIR/ours.json
//   node bench/web/trace-summary.js --side DIR/one-pixel.json DIR/ours.json
//                          the traces side by side, a column each
'use strict';

const fs = require('node:fs');

const STAGES = [
    ['input', /HitTest|handleMouse|EventHandler|PointerEvent|InputHandler/],
    ['script', /FunctionCall|^v8|^V8|EventDispatch|FireAnimationFrame|TimerFire|Microtask|EvaluateScript/],
    ['style+layout', /[Ss]tyle|[Ll]ayout|ShapeText/],
    ['canvas', /Canvas/],
    ['paint', /Paint|Layerize|UpdateLayers|CompositingInputs/],
    ['raster', /Raster|Tile|Playback|SolidColor/],
    ['commit', /Commit|Activate|PushLayer|PullProperties|TreeSynchronizer/],
    ['draw', /Draw|Renderer|Surface|Aggregat|Display/],
];

function stageOf(name) {
    return (STAGES.find(([, pattern]) => pattern.test(name)) || ['other'])[0];
}

function groupOf(pid, thread, names, pagePid) {
    if (pid === pagePid) {
        return /Compositor$/.test(thread) ? 'compositor' : /Main$/.test(thread) ? 'main' : 'workers';
    }
    return { 'GPU Process': 'gpu-process', Browser: 'browser' }[names[pid]];
}

// Complete slices with thread time, by thread, each with its own time.
function selfTimes(events) {
    const byThread = new Map();
    for (const e of events.filter((x) => x.ph === 'X' && x.tdur !== undefined)) {
        const key = `${e.pid}/${e.tid}`;
        byThread.set(key, [...(byThread.get(key) || []), e]);
    }
    for (const slices of byThread.values()) {
        slices.sort((a, b) => a.ts - b.ts || b.dur - a.dur);
        const open = [];
        for (const e of slices) {
            while (open.length && open.at(-1).ts + open.at(-1).dur <= e.ts) {
                open.pop();
            }
            e.self = e.tdur;
            if (open.length) {
                open.at(-1).self -= e.tdur;
            }
            open.push(e);
        }
    }
    return [...byThread.values()].flat();
}

function summarise(file) {
    const trace = JSON.parse(fs.readFileSync(file, 'utf8'));
    const events = trace.traceEvents || trace;
    const meta = (name) => Object.fromEntries(events.filter((e) => e.ph === 'M' && e.name === name)
        .map((e) => [name === 'thread_name' ? `${e.pid}/${e.tid}` : e.pid, e.args.name]));
    const processes = meta('process_name');
    const threads = meta('thread_name');
    const pagePid = events.find((e) => e.name === 'TracingStartedInBrowser').args.data.frames[0].processId;
    const frames = events.filter((e) => e.name === 'DirectRenderer::DrawFrame').length;
    const table = {};
    const slices = {};
    for (const e of selfTimes(events)) {
        const group = groupOf(e.pid, threads[`${e.pid}/${e.tid}`] || '', processes, pagePid);
        if (group) {
            const row = (table[stageOf(e.name)] ||= {});
            row[group] = (row[group] || 0) + e.self / 1000;
            slices[`${group} ${e.name}`] = (slices[`${group} ${e.name}`] || 0) + e.self / 1000;
        }
    }
    return { frames, table, slices };
}

const GROUPS = ['main', 'compositor', 'workers', 'gpu-process', 'browser'];

function print(file) {
    const { frames, table, slices } = summarise(file);
    const per = frames || 1;
    const unit = frames ? 'per frame' : 'in all';
    console.log(`\n${file}: ${frames} frames drawn; CPU ms ${unit} by stage and thread`);
    console.log(`${''.padEnd(14)}${GROUPS.map((g) => g.padStart(12)).join('')}`);
    for (const stage of [...STAGES.map(([s]) => s), 'other']) {
        const row = table[stage] || {};
        console.log(`${stage.padEnd(14)}${GROUPS.map((g) => ((row[g] || 0) / per).toFixed(3).padStart(12)).join('')}`);
    }
    console.log(`the largest slices, ms ${unit}:`);
    for (const [name, ms] of Object.entries(slices).sort((a, b) => b[1] - a[1]).slice(0, 12)) {
        console.log(`${(ms / per).toFixed(3).padStart(8)}  ${name}`);
    }
}

const column = (text) => String(text).padStart(12);

// The traces in columns: each thread's stages in CPU ms per frame drawn,
// then each trace's largest slices against the others'.
function sideBySide(files) {
    const names = files.map((f) => f.replace(/^.*\//, '').replace(/\.json$/, ''));
    const all = files.map(summarise);
    const perFrame = (s, ms) => ms / (s.frames || 1);
    console.log(`\nCPU ms per frame drawn${''.padEnd(6)}${names.map(column).join('')}`);
    console.log(`frames drawn${''.padEnd(16)}${all.map((s) => column(s.frames)).join('')}`);
    for (const group of GROUPS) {
        for (const stage of [...STAGES.map(([st]) => st), 'other']) {
            const values = all.map((s) => perFrame(s, s.table[stage]?.[group] || 0));
            if (values.some((v) => v >= 0.005)) {
                console.log(`${`${group} ${stage}`.padEnd(28)}${values.map((v) => column(v.toFixed(3))).join('')}`);
            }
        }
        const sums = all.map((s) => perFrame(s, Object.values(s.table).reduce((sum, row) => sum + (row[group] || 0), 0)));
        console.log(`${`${group}, all`.padEnd(28)}${sums.map((v) => column(v.toFixed(3))).join('')}`);
    }
    const slices = new Set(all.flatMap((s) => Object.entries(s.slices)
        .sort((a, b) => b[1] - a[1]).slice(0, 12).map(([name]) => name)));
    console.log('the largest slices, ms per frame');
    const rows = [...slices].map((name) => [name, all.map((s) => perFrame(s, s.slices[name] || 0))])
        .sort((a, b) => Math.max(...b[1]) - Math.max(...a[1]));
    for (const [name, values] of rows) {
        console.log(`${values.map((v) => v.toFixed(3).padStart(9)).join('')}  ${name}`);
    }
}

if (require.main === module) {
    const args = process.argv.slice(2);
    if (args[0] === '--side') {
        sideBySide(args.slice(1));
    } else {
        args.forEach(print);
    }
}

module.exports = { summarise, sideBySide };
