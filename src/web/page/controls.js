// SPDX-License-Identifier: MIT
// The window's controls: built from their design, each shows its state as
// the model has it and hands the model its clicks.
import { element, place, sameBox } from './dom.js';
import { setFont } from './fonts.js';

function build(d) {
    switch (d.kind) {
    case 'button':
        return { box: element('button', { id: d.objectName, type: 'button', className: 'command' }), input: null };
    case 'option':
    case 'checkbox': {
        const box = element('label', { className: 'choice' });
        const input = element('input', { id: d.objectName, type: d.kind === 'option' ? 'radio' : 'checkbox' });
        if (d.kind === 'option') {
            // The twelve option buttons are one group.
            input.name = 'Option';
        }
        if (d.accessibleName) {
            input.setAttribute('aria-label', d.accessibleName);
        }
        // The input itself is unseen, spread over the box and the free space
        // round it (touch.js); the mark shows its state, the caption last.
        box.append(input, element('span', { className: 'mark' }), element('span', { className: 'caption' }));
        return { box, input };
    }
    default: {
        const box = element('div', { id: d.objectName, className: 'label' });
        box.classList.toggle('clipped', d.clipped);
        box.classList.toggle('right', d.alignRight);
        return { box, input: null };
    }
    }
}

// The option buttons' groups as a screen reader presents them: elements
// without a box of their own, each owning its members and standing where
// its first member stands among the controls, so that the rows stay laid
// out as designed and are read in their place.
export function addOptionGroups(design, controls) {
    for (const g of design.groups) {
        const group = element('div', { className: 'unseen' });
        group.setAttribute('role', 'radiogroup');
        group.setAttribute('aria-label', g.name);
        group.setAttribute('aria-owns', g.members.map((id) => design.controls[id].objectName).join(' '));
        controls[g.members[0]].box.before(group);
    }
}

export class Control {
    // `onClick(control)` runs on a user's click, until `signal` aborts.
    constructor(d, onClick, signal) {
        this.design = d;
        Object.assign(this, build(d));
        this.target = this.input || this.box;
        this.shown = null;
        if (d.background) {
            this.box.style.background = d.background;
        }
        if (d.color) {
            this.box.style.color = d.color;
        }
        if (d.kind !== 'label') {
            this.target.addEventListener('click', () => onClick(this), { signal });
        }
    }

    // Shows the state the model has for this control (`state`, when taken
    // already).
    show(win, state = win.control(this.design.id)) {
        const d = this.design;
        const was = this.shown;
        if (!was || was.caption !== state.caption) {
            (this.input ? this.box.lastChild : this.box).textContent = state.caption;
        }
        if (!was || was.bold !== state.bold) {
            setFont(this.box, d.font, d.font.bold || state.bold);
        }
        if (!was || !sameBox(was.box, state.box)) {
            place(this.box, state.box);
        }
        if (d.kind !== 'label') {
            this.target.disabled = !state.enabled;
            this.box.classList.toggle('disabled', !state.enabled);
        }
        if (this.input) {
            this.input.checked = state.checked;
        }
        this.box.hidden = !state.visible;
        this.shown = state;
    }
}
