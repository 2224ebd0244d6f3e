// SPDX-License-Identifier: MIT
// Reads sequence.txt into the steps a player performs, in order, with each
// `drag` spelled out as its moves, press and release, exactly as the native
// reference player (reference.cpp) spells them out. Also: the checksum of a
// board picture, the timed drag's path and the stand-in for a font, as the
// native side makes them.
'use strict';

const childProcess = require('child_process');
const fs = require('fs');

// Steps: {op: 'input', touch}, {op: 'move'|'press'|'release', x, y, button},
// {op: 'click', name}, {op: 'check', name}, {op: 'key'|'shortcut', name, shift},
// {op: 'time', x, y, count, batch, rounds}.
function readSequence(file) {
    const steps = [];
    let touch = false;
    fs.readFileSync(file, 'utf8').split('\n').forEach((text, i) => {
        const words = text.trim().split(/\s+/);
        const op = words[0];
        if (!op || op.startsWith('#')) {
            return;
        }
        const n = words.slice(1).map(Number);
        const where = `${file}:${i + 1}`;
        switch (op) {
        case 'input':
            touch = words[1] === 'touch';
            steps.push({ op, touch });
            break;
        case 'move':
            steps.push({ op, x: n[0], y: n[1] });
            break;
        case 'press':
        case 'release':
            steps.push({ op, x: n[0], y: n[1], button: words[3] ? n[2] : 1 });
            break;
        case 'drag': {
            const [x0, y0, x1, y1, count] = n;
            if (!touch) {
                steps.push({ op: 'move', x: x0, y: y0 });
            }
            steps.push({ op: 'press', x: x0, y: y0, button: 1 });
            for (let k = 1; k <= count; ++k) {
                steps.push({
                    op: 'move',
                    x: x0 + Math.trunc((x1 - x0) * k / count),
                    y: y0 + Math.trunc((y1 - y0) * k / count),
                });
            }
            steps.push({ op: 'release', x: x1, y: y1, button: 1 });
            break;
        }
        case 'click':
        case 'check':
            steps.push({ op, name: words[1] });
            break;
        case 'key':
        case 'shortcut':
            steps.push({ op, name: words[1], shift: words[2] === 'shift' });
            break;
        case 'time':
            steps.push({ op, x: n[0], y: n[1], count: n[2], batch: n[3], rounds: n[4] });
            break;
        default:
            throw new Error(`${where}: unknown step ${op}`);
        }
    });
    return steps;
}

// FNV-1a over the R, G, B bytes of R, G, B, A pixels, row by row.
function checksum(rgba) {
    let h = 2166136261;
    for (let i = 0; i < rgba.length; i += 4) {
        for (let c = 0; c < 3; ++c) {
            h = Math.imul(h ^ rgba[i + c], 16777619) >>> 0;
        }
    }
    return h.toString(16).padStart(8, '0');
}

// The timed drag's positions: a Lissajous figure over the board and past
// its edges, entered from the vertex at (x, y).
function timedPath(x, y, count) {
    const path = [];
    for (let i = 0; i < count; ++i) {
        const t = 2 * Math.PI * i / count;
        const sx = 401 + 520 * Math.sin(3 * t + 0.4);
        const sy = 313 + 400 * Math.sin(2 * t);
        const blend = Math.min(1, i / 50);
        path.push([x * (1 - blend) + sx * blend, y * (1 - blend) + sy * blend]);
    }
    return path;
}

// The native player's stand-in for a font: every character 4/5 of the pixel
// size wide, a line 11/10 of it high.
function fixedMeasure(font, text) {
    const pixels = font.face === 'default' ? 12 : Math.round(font.points * 4 / 3);
    const characters = [...text].length;
    return { width: Math.ceil(characters * pixels * 0.8), height: Math.ceil(pixels * 1.1) };
}

// What the native reference player recorded for the sequence, its checksums
// those of the board's picture at `scale` device pixels per board pixel.
function playedNatively(reference, sequenceFile, scale = 1) {
    const args = scale === 1 ? [sequenceFile] : ['--scale', String(scale), sequenceFile];
    return JSON.parse(childProcess.execFileSync(reference, args, { encoding: 'utf8' }));
}

// The controls of a window as one line, in the reference player's words:
// for each control its object name, flags c (checked), d (disabled),
// h (hidden), b (bold caption) as they apply, and its caption.
function controlsLine(controls) {
    return controls.map((c) => `${c.objectName}:${c.checked ? 'c' : ''}${c.disabled ? 'd' : ''}` +
        `${c.hidden ? 'h' : ''}${c.bold ? 'b' : ''}:${c.caption}`).join('|');
}

module.exports = { readSequence, checksum, timedPath, fixedMeasure, playedNatively, controlsLine };
