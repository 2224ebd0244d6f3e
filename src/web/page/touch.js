// SPDX-License-Identifier: MIT
// Larger touch targets for the small controls: each check box and option
// button takes, besides its own box, the free space around it, up to REACH
// window pixels a side, never reaching into the board, another control's
// box or another target, and sharing a gap with a neighbour half and half.
// The target is the control's input itself, unseen, spread over that space
// (its box shows the mark and the caption): a tap on it is a click on the
// control, and what measures a target's size finds it whole.
import { place } from './dom.js';

const REACH = 12;

const overlaps = (a0, a1, b0, b1) => a0 < b1 && b0 < a1;

// How far `box` may grow on side `side` ('left', 'right', 'top', 'bottom')
// before it meets one of `others`; `shared` is true of a box that grows too.
function room(box, side, others, limit, shared) {
    const across = side === 'left' || side === 'right';
    const a0 = across ? box.top : box.left;
    const a1 = across ? box.top + box.height : box.left + box.width;
    let free = limit;
    for (const o of others) {
        if (!(across ? overlaps(a0, a1, o.top, o.top + o.height) : overlaps(a0, a1, o.left, o.left + o.width))) {
            continue;
        }
        // The gap between the two on that side, and whether `o` reaches
        // beyond `box` there.
        let gap;
        let beyond;
        switch (side) {
        case 'left':
            gap = box.left - (o.left + o.width);
            beyond = o.left < box.left;
            break;
        case 'right':
            gap = o.left - (box.left + box.width);
            beyond = o.left + o.width > box.left + box.width;
            break;
        case 'top':
            gap = box.top - (o.top + o.height);
            beyond = o.top < box.top;
            break;
        default:
            gap = o.top - (box.top + box.height);
            beyond = o.top + o.height > box.top + box.height;
        }
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

// Spreads the input of each check box and option button of `controls`
// over its target.
export function addTouchTargets(design, controls) {
    const choices = controls.filter((c) => c.input);
    const obstacles = [design.board, ...controls.filter((c) => !c.input).map((c) => c.design.box)];
    const boxes = touchBoxes(choices.map((c) => c.design.box), obstacles, design);
    choices.forEach((c, i) => {
        const own = c.design.box;
        const target = boxes[i];
        place(c.input, { left: target.left - own.left, top: target.top - own.top,
            width: target.width, height: target.height });
    });
}
