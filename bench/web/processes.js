// SPDX-License-Identifier: MIT
// CPU time of a browser process and all its descendants, from /proc, by the
// kind of process Chromium started (its --type: renderer, gpu-process,
// utility, zygote; none for the browser process itself).
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');

const TICK_MS = 1000 / Number(execFileSync('getconf', ['CLK_TCK'], { encoding: 'utf8' }));

// Parent and user plus system time of a process, or null once it is gone.
function stat(pid) {
    try {
        const text = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
        const fields = text.slice(text.lastIndexOf(')') + 2).split(' ');
        return { ppid: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12]) };
    } catch {
        return null;
    }
}

function typeOf(pid) {
    try {
        const match = /--type=([\w-]+)/.exec(fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8'));
        return match ? match[1] : 'browser';
    } catch {
        return 'gone';
    }
}

// Every process under `rootPid`, itself included: pid -> { type, ticks }.
function chromiumProcesses(rootPid) {
    const all = new Map();
    for (const name of fs.readdirSync('/proc')) {
        const s = /^\d+$/.test(name) && stat(name);
        if (s) {
            all.set(Number(name), s);
        }
    }
    const found = new Map();
    const queue = [rootPid];
    while (queue.length) {
        const pid = queue.shift();
        found.set(pid, { type: typeOf(pid), ticks: all.get(pid)?.ticks || 0 });
        for (const [child, s] of all) {
            if (s.ppid === pid) {
                queue.push(child);
            }
        }
    }
    return found;
}

const SHOWN = ['browser', 'renderer', 'gpu-process'];

// Milliseconds of CPU between two snapshots, times `scale`: in all, for the
// browser, renderer and GPU processes, and for the others (utility, zygote).
function cpuSince(before, after, scale = 1) {
    const cpu = { total: 0 };
    for (const [pid, p] of after) {
        const ms = (p.ticks - (before.get(pid)?.ticks || 0)) * TICK_MS * scale;
        const type = SHOWN.includes(p.type) ? p.type : 'other';
        cpu.total += ms;
        cpu[type] = (cpu[type] || 0) + ms;
    }
    return cpu;
}

module.exports = { chromiumProcesses, cpuSince };
