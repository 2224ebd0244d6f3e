// SPDX-License-Identifier: MIT
// Larger touch targets for the small controls: each check box and option
// button takes, besides its own box, the free space around it, up to REACH
// window pixels a side, never reaching into the board, another control's
// box or another target, and sharing a gap with a neighbour half and half.
// The target is an empty, transparent label for the control behind it: it
// changes nothing drawn, and a tap on it is a click on the control.
import { element, place } from './dom.js';

const REACH = 12;

const overlaps = (a0, a1, b0, b1) => a0 < b1 && b0 < a1;

// How far `box` may grow on side `side` ('left', 'right', 'top', 'bottom')
// before it meets one of `others`; `shared` is true of a box that grows too.
function room(box, side, others, limit, shared) {
    const across = side === 'left' || side === 'right'
        ? [box.top, box.top + box.height, 'top', 'height'] : [box.left, box.left + box.width, 'left', 'width'];
    const [a0, a1, start, size] = across;
    let free = limit;
    for (const o of others) {
        if (!overlaps(a0, a1, o[start], o[start] + o[size])) {
            continue;
        }
        const gap = {
            left: box.left - (o.left + o.width),
            right: o.left - (box.left + box.width),
            top: box.top - (o.top + o.height),
            bottom: o.top - (box.top + box.height),
        }[side];
        const beyond = {
            left: o.left < box.left,
            right: o.left + o.width > box.left + box.width,
            top: o.top < box.top,
            bottom: o.top + o.height > box.top + box.height,
        }[side];
        if (gap >= 0) {
            free = Math.min(free, shared(o) ? Math.floor(gap / 2) : gap);
        } else if (beyond) {
            free = 0; // the boxes touch already
        }
    }
    return free;
}

// Where design boxes overlap (a row of option buttons whose boxes are wider
// than their spacing, two rows a pixel into each other), each keeps the part
// up to where the next one starts, cut across the overlap's narrower side.
function ownParts(boxes) {
    return boxes.map((b) => {
        const own = { ...b };
        for (const o of boxes) {
            const wide = Math.min(b.left + b.width, o.left + o.width) - Math.max(b.left, o.left);
            const high = Math.min(b.top + b.height, o.top + o.height) - Math.max(b.top, o.top);
            if (o === b || wide <= 0 || high <= 0) {
                continue;
            }
            if (wide <= high && o.left > b.left) {
                own.width = Math.min(own.width, o.left - b.left);
            } else if (high < wide && o.top > b.top) {
                own.height = Math.min(own.height, o.top - b.top);
            }
        }
        return own;
    });
}

// The target boxes of `boxes` (design boxes), in the window of `size`,
// given every other box on it.
export function touchBoxes(boxes, obstacles, size) {
    const own = ownParts(boxes);
    const done = [];
    const pending = new Set(boxes);
    const shared = (o) => pending.has(o);
    return boxes.map((box, i) => {
        pending.delete(box);
        const others = [...obstacles, ...boxes.filter((c) => c !== box), ...done];
        const t = { ...own[i] };
        const left = room(t, 'left', others, Math.min(REACH, t.left), shared);
        const right = room(t, 'right', others, Math.min(REACH, size.width - t.left - t.width), shared);
        t.left -= left;
        t.width += left + right;
        const top = room(t, 'top', others, Math.min(REACH, t.top), shared);
        const bottom = room(t, 'bottom', others, Math.min(REACH, size.height - t.top - t.height), shared);
        t.top -= top;
        t.height += top + bottom;
        done.push(t);
        return t;
    });
}

// Puts a target under each check box and option button of `controls` in
// `root`, behind every control.
export function addTouchTargets(root, design, controls) {
    const choices = controls.filter((c) => c.input);
    const obstacles = [design.board, ...controls.filter((c) => !c.input).map((c) => c.design.box)];
    const boxes = touchBoxes(choices.map((c) => c.design.box), obstacles, design);
    root.prepend(...choices.map((c, i) => {
        const target = element('label', { className: 'touch', htmlFor: c.input.id });
        target.setAttribute('aria-hidden', 'true');
        target.addEventListener('click', (e) => {
            if (c.box.hidden) {
                e.preventDefault();
            }
        });
        place(target, boxes[i]);
        return target;
    }));
}
