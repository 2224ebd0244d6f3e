// SPDX-License-Identifier: MIT
// The window in a browser page. The page builds the board and every control
// of the design from the window model, shows what the model reports as
// changed, hands it the user's clicks and the board's pointer events, and
// copies the board's repainted rectangles to the canvas once a frame. It
// decides nothing itself.
'use strict';

(function () {
    const LEFT = 1;
    const RIGHT = 2;
    const MIDDLE = 4;
    const BUTTONS = LEFT | RIGHT | MIDDLE;

    const root = document.getElementById('Form1');
    let core = null;     // the compiled module
    let design = null;   // the window's design, read once
    let session = null;  // the running window and its elements

    // ---- Fonts ---------------------------------------------------------

    const faceStacks = {};
    function faceStack(face) {
        if (!faceStacks[face]) {
            const name = face === 'mincho' ? '--mincho' : '--gothic';
            faceStacks[face] = getComputedStyle(document.documentElement)
                .getPropertyValue(name).trim() || (face === 'mincho' ? 'serif' : 'sans-serif');
        }
        return faceStacks[face];
    }

    // The design was made at 96 dots per inch: a point is 4/3 of a pixel,
    // rounded to whole pixels as the desktop sizes its fonts. The default face
    // is the desktop's user-interface font, a 9-point Gothic.
    function fontPixels(font) {
        return font.face === 'default' ? 12 : Math.round(font.points * 96 / 72);
    }

    function cssFont(font, bold) {
        return (bold ? 'bold ' : '') + fontPixels(font) + 'px ' + faceStack(font.face);
    }

    const measureContext = document.createElement('canvas').getContext('2d');
    const lineHeights = new Map();

    // The font's line height, ascent plus descent, as a label lays out a line.
    function lineHeight(font, bold) {
        const key = cssFont(font, bold);
        if (!lineHeights.has(key)) {
            measureContext.font = key;
            const m = measureContext.measureText('Ag');
            let h = m.fontBoundingBoxAscent + m.fontBoundingBoxDescent;
            if (!(h > 0)) {
                h = fontPixels(font) * 1.15;
            }
            lineHeights.set(key, h);
        }
        return lineHeights.get(key);
    }

    // The size of a label that fits `text` in `font`: its advance and the
    // font's line height, each rounded up to a whole pixel, as the desktop
    // measures it.
    function measure(font, text) {
        measureContext.font = cssFont(font, font.bold);
        return {
            width: Math.ceil(measureContext.measureText(text).width),
            height: Math.ceil(lineHeight(font, font.bold)),
        };
    }

    function setFont(element, font, bold) {
        element.style.fontFamily = faceStack(font.face);
        element.style.fontSize = fontPixels(font) + 'px';
        element.style.fontWeight = bold ? 'bold' : 'normal';
        element.style.lineHeight = lineHeight(font, bold) + 'px';
    }

    function place(element, box) {
        element.style.left = box.left + 'px';
        element.style.top = box.top + 'px';
        element.style.width = box.width + 'px';
        element.style.height = box.height + 'px';
    }

    // ---- Building the window -------------------------------------------

    function element(tag, props) {
        const e = document.createElement(tag);
        Object.assign(e, props);
        return e;
    }

    function buildBoard(s) {
        const b = design.board;
        const frame = element('div', { className: 'board-frame' });
        place(frame, b);
        frame.append(element('div', { className: 'board-ring' }));
        const area = element('div', { className: 'board-area' });
        // The area's place counts from inside the frame's outer ring.
        area.style.left = (design.boardBorder - 1) + 'px';
        area.style.top = (design.boardBorder - 1) + 'px';
        area.style.width = s.boardWidth + 'px';
        area.style.height = s.boardHeight + 'px';
        area.style.background = design.boardBackground;

        const canvas = element('canvas', { id: 'gamen', width: s.boardWidth, height: s.boardHeight });
        canvas.tabIndex = 0;
        canvas.setAttribute('role', 'img');
        canvas.setAttribute('aria-label', 'Board');
        canvas.setAttribute('aria-description', 'The wedge A, B, C, D; drag A or D to change its angles');
        area.append(canvas);

        s.letters = [];
        for (let i = 0; i < s.win.letterCount(); ++i) {
            const l = s.win.letter(i);
            const e = element('span', { id: 'Label2_' + i, className: 'letter', textContent: l.caption });
            e.setAttribute('role', 'img');
            e.setAttribute('aria-label', 'Vertex ' + String.fromCharCode(65 + i));
            setFont(e, design.letterFont, design.letterFont.bold);
            e.style.color = design.letterColor;
            e.style.background = design.letterBackground;
            area.append(e);
            s.letters.push({ element: e, left: NaN, top: NaN, width: NaN, height: NaN });
        }
        frame.append(area);
        s.canvas = canvas;
        s.context = canvas.getContext('2d');
        return frame;
    }

    function buildControl(s, d) {
        let e;
        let input = null;
        switch (d.kind) {
        case 'button':
            e = element('button', { id: d.objectName, type: 'button', className: 'command' });
            break;
        case 'option':
        case 'checkbox':
            e = element('label', { className: 'choice' });
            input = element('input', {
                id: d.objectName,
                type: d.kind === 'option' ? 'radio' : 'checkbox',
            });
            if (d.kind === 'option') {
                // The twelve option buttons are one group.
                input.name = 'Option';
            }
            e.append(input, element('span'));
            break;
        default:
            e = element('div', { id: d.objectName, className: 'label' });
            if (d.clipped) {
                e.classList.add('clipped');
            }
            if (d.alignRight) {
                e.classList.add('right');
            }
            if (d.description) {
                e.setAttribute('aria-description', d.description);
                e.setAttribute('aria-live', 'polite');
            }
            break;
        }
        if (d.background) {
            e.style.background = d.background;
        }
        if (d.color) {
            e.style.color = d.color;
        }
        const control = { design: d, box: e, input, target: input || e, shown: null };
        if (d.kind !== 'label') {
            control.target.addEventListener('click', () => userClick(s, control));
        }
        return control;
    }

    function build() {
        const win = new core.Window(measure);
        const s = {
            win,
            boardWidth: win.boardWidth(),
            boardHeight: win.boardHeight(),
            controls: [],
            frameRequested: false,
            pointer: null,
        };
        root.replaceChildren();
        root.style.width = design.width + 'px';
        root.style.height = design.height + 'px';
        root.style.background = design.background;

        // The board is the first tab stop, then the controls in the design's
        // tab order: the elements stand in that order.
        const order = [{ tab: design.boardTab, node: buildBoard(s) }];
        for (const d of design.controls) {
            const c = buildControl(s, d);
            s.controls[d.id] = c;
            order.push({ tab: d.tab, node: c.box });
        }
        order.sort((a, b) => a.tab - b.tab);
        root.append(...order.map((o) => o.node));

        const pixels = win.pixels();
        s.image = new ImageData(
            new Uint8ClampedArray(pixels.buffer, pixels.byteOffset, pixels.byteLength),
            s.boardWidth, s.boardHeight);
        win.updatePicture();
        s.context.putImageData(s.image, 0, 0);
        listenToBoard(s);
        for (const c of s.controls) {
            show(s, c);
        }
        win.takeChangedControls();
        document.title = win.caption();
        placeLetters(s);
        return s;
    }

    // ---- Showing the model ---------------------------------------------

    // Shows the state of one control as the model has it.
    function show(s, c) {
        const state = s.win.control(c.design.id);
        const d = c.design;
        const was = c.shown || {};
        if (was.caption !== state.caption) {
            (c.input ? c.box.lastChild : c.box).textContent = state.caption;
        }
        if (was.bold !== state.bold) {
            setFont(c.box, d.font, d.font.bold || state.bold);
        }
        const b = state.box;
        if (!c.shown || was.box.left !== b.left || was.box.top !== b.top ||
            was.box.width !== b.width || was.box.height !== b.height) {
            place(c.box, b);
        }
        if (d.kind !== 'label') {
            c.target.disabled = !state.enabled;
            c.box.classList.toggle('disabled', !state.enabled);
        }
        if (c.input) {
            c.input.checked = state.checked;
        }
        c.box.hidden = !state.visible;
        c.shown = state;
    }

    function showChangedControls(s) {
        for (const id of s.win.takeChangedControls()) {
            show(s, s.controls[id]);
        }
        if (document.title !== s.win.caption()) {
            document.title = s.win.caption();
        }
    }

    // After every click or pointer event: the controls follow at once, the
    // board at the next frame.
    function afterInput(s) {
        showChangedControls(s);
        requestFrame(s);
        if (s.win.ended()) {
            end(s);
        }
    }

    function userClick(s, c) {
        if (s !== session) {
            return;
        }
        s.win.click(c.design.id);
        // The element shows the model's value, whatever the browser did to it.
        show(s, c);
        afterInput(s);
    }

    function placeLetters(s) {
        for (let i = 0; i < s.letters.length; ++i) {
            const l = s.win.letter(i);
            const shown = s.letters[i];
            if (shown.left !== l.left || shown.top !== l.top ||
                shown.width !== l.width || shown.height !== l.height) {
                place(shown.element, l);
                Object.assign(shown, { left: l.left, top: l.top, width: l.width, height: l.height });
            }
        }
    }

    // ---- The board's picture -------------------------------------------

    // Frame times of the board's canvas update, kept for the page's own
    // performance figures.
    const frameTimes = [];
    const FRAME_HISTORY = 4096;

    function requestFrame(s) {
        if (!s.frameRequested) {
            s.frameRequested = true;
            requestAnimationFrame(() => paintFrame(s));
        }
    }

    // Copies only the rectangles the core repainted since the last frame.
    function paintFrame(s) {
        s.frameRequested = false;
        if (s !== session) {
            return;
        }
        const start = performance.now();
        const rects = s.win.updatePicture();
        for (let i = 0; i < rects.length; i += 4) {
            s.context.putImageData(s.image, 0, 0, rects[i], rects[i + 1], rects[i + 2], rects[i + 3]);
        }
        const took = performance.now() - start;
        if (rects.length) {
            if (frameTimes.length === FRAME_HISTORY) {
                frameTimes.shift();
            }
            frameTimes.push({ ms: took, rects: rects.length / 4 });
        }
        placeLetters(s);
    }

    // ---- The board's pointer -------------------------------------------

    // The core's code of a mouse button; 0 for the others (back, forward).
    function buttonCode(button) {
        switch (button) {
        case 0: return LEFT;
        case 1: return MIDDLE;
        case 2: return RIGHT;
        default: return 0;
        }
    }

    // The button's bit in a pointer event's `buttons`.
    function buttonBit(button) {
        return [1, 4, 2, 8, 16, 32][button] || 0;
    }

    function listenToBoard(s) {
        const canvas = s.canvas;
        let rect = null;

        // Board position of an event, in real board pixels, whatever the
        // page's scale.
        function at(e) {
            return [(e.clientX - rect.left) * s.boardWidth / rect.width,
                (e.clientY - rect.top) * s.boardHeight / rect.height];
        }

        // The pointer that holds the board: the mouse while a button is
        // held, or the one finger or pen touching it. `held` is what the
        // core was told is held.
        function take(e) {
            s.pointer = { id: e.pointerId, mouse: e.pointerType === 'mouse', held: 0, x: 0, y: 0 };
            try {
                canvas.setPointerCapture(e.pointerId);
            } catch (error) {
                // The pointer is already gone; its release comes all the same.
            }
        }

        function press(button, held, x, y) {
            s.pointer.held = held;
            s.pointer.x = x;
            s.pointer.y = y;
            s.win.press(button, held, x, y);
        }

        function move(held, x, y) {
            if (s.pointer) {
                s.pointer.x = x;
                s.pointer.y = y;
            }
            s.win.move(held, x, y);
        }

        function release(button, held, x, y) {
            s.pointer.held = held;
            s.win.release(button, held, x, y);
            if (held === 0) {
                s.pointer = null;
            }
        }

        canvas.addEventListener('pointerdown', (e) => {
            if (s !== session || (s.pointer && s.pointer.id !== e.pointerId)) {
                return; // a second finger, or a pen while the mouse holds the board
            }
            e.preventDefault(); // no text selection, no middle-button scrolling
            canvas.focus({ preventScroll: true });
            rect = canvas.getBoundingClientRect();
            const [x, y] = at(e);
            take(e);
            if (s.pointer.mouse) {
                press(buttonCode(e.button), e.buttons & BUTTONS, x, y);
            } else {
                press(LEFT, LEFT, x, y); // touch and pen act as the left button
            }
            afterInput(s);
        });

        canvas.addEventListener('pointermove', (e) => {
            if (s !== session) {
                return;
            }
            const p = s.pointer;
            if (p ? p.id !== e.pointerId
                : e.pointerType === 'touch' || (e.pointerType === 'mouse' && e.buttons & BUTTONS)) {
                return; // another finger; or a mouse held down somewhere else
            }
            rect = canvas.getBoundingClientRect();
            const mouseHeld = p && p.mouse;
            // A button pressed or released while another is held comes as a
            // move whose `button` names it: a press or release of that button.
            const chord = mouseHeld && e.button >= 0;
            const gathered = e.getCoalescedEvents ? e.getCoalescedEvents() : [];
            const moves = gathered.length ? gathered : [e];
            const last = chord ? moves.length - 1 : moves.length;
            for (let i = 0; i < last; ++i) {
                const [x, y] = at(moves[i]);
                move(mouseHeld ? moves[i].buttons & BUTTONS : (p ? LEFT : 0), x, y);
            }
            if (chord) {
                const [x, y] = at(e);
                const code = buttonCode(e.button);
                const held = e.buttons & BUTTONS;
                if (e.buttons & buttonBit(e.button)) {
                    press(code, held, x, y);
                } else {
                    release(code, held, x, y);
                }
            }
            afterInput(s);
        });

        const up = (e) => {
            const p = s.pointer;
            if (s !== session || !p || p.id !== e.pointerId) {
                return;
            }
            rect = canvas.getBoundingClientRect();
            const [x, y] = at(e);
            if (p.mouse) {
                release(buttonCode(e.button), e.buttons & BUTTONS, x, y);
                if (s.pointer) {
                    // Buttons the browser let go of without telling each.
                    releaseAll(x, y);
                }
            } else {
                release(LEFT, 0, x, y);
            }
            afterInput(s);
        };
        canvas.addEventListener('pointerup', up);

        // Lets go of every button the core holds, one by one.
        function releaseAll(x, y) {
            for (const code of [LEFT, RIGHT, MIDDLE]) {
                if (s.pointer && s.pointer.held & code) {
                    release(code, s.pointer.held & ~code, x, y);
                }
            }
            s.pointer = null;
        }

        // The system took the pointer away (a gesture of its own, say), or
        // the board lost it without a release: the buttons are up, at the
        // last position the core was told of.
        const lost = (e) => {
            const p = s.pointer;
            if (s !== session || !p || p.id !== e.pointerId) {
                return;
            }
            releaseAll(p.x, p.y);
            afterInput(s);
        };
        canvas.addEventListener('pointercancel', lost);
        canvas.addEventListener('lostpointercapture', lost);

        // The right button belongs to the board: no context menu over it.
        canvas.addEventListener('contextmenu', (e) => e.preventDefault());
    }

    // ---- Scale ---------------------------------------------------------

    // 1:1 unless the viewport holds the window at twice its size or more;
    // then the largest factor that fits. `?scale=1` keeps 1:1.
    function scale() {
        if (new URLSearchParams(location.search).get('scale') === '1') {
            return 1;
        }
        const f = Math.min(window.innerWidth / design.width, window.innerHeight / design.height);
        return f >= 2 ? f : 1;
    }

    function applyScale() {
        const f = scale();
        root.style.transform = f === 1 ? '' : 'scale(' + f + ')';
        document.body.classList.toggle('scaled', f !== 1);
    }

    // ---- End and restart -----------------------------------------------

    function end(s) {
        if (session !== s) {
            return;
        }
        session = null;
        s.win.delete();
        window.close();
        if (window.closed) {
            return;
        }
        // The browser keeps a tab open that it did not open by script.
        root.replaceChildren();
        root.hidden = true;
        document.getElementById('ended-box').hidden = false;
        document.getElementById('restart').focus();
    }

    function restart() {
        document.getElementById('ended-box').hidden = true;
        root.hidden = false;
        session = build();
        applyScale();
    }

    // ---- Figures for the page's performance ----------------------------

    // Times the drag step in a window of its own: a press where `path`
    // starts ([x, y] in board pixels), one pass over the path to warm up,
    // then `rounds` passes timed in batches of `batch` moves. Returns the
    // median time of one step in microseconds, and the steps taken.
    function timeDragSteps(path, batch, rounds) {
        const win = new core.Window(measure);
        try {
            win.press(LEFT, LEFT, path[0][0], path[0][1]);
            const perStep = [];
            const stepsBefore = win.dragSteps();
            for (let round = 0; round <= rounds; ++round) {
                for (let k = 1; k + batch <= path.length; k += batch) {
                    const start = performance.now();
                    for (let i = k; i < k + batch; ++i) {
                        win.move(LEFT, path[i][0], path[i][1]);
                    }
                    if (round > 0) {
                        perStep.push((performance.now() - start) * 1000 / batch);
                    }
                }
            }
            const steps = win.dragSteps() - stepsBefore;
            perStep.sort((a, b) => a - b);
            return { medianMicros: perStep[perStep.length >> 1], steps };
        } finally {
            win.delete();
        }
    }

    window.orvanel = {
        timeDragSteps,
        // The board's canvas updates so far: milliseconds and rectangles of each.
        frameTimes: () => frameTimes.slice(),
        clearFrameTimes: () => { frameTimes.length = 0; },
        dragSteps: () => (session ? session.win.dragSteps() : 0),
    };

    // ---- Start ---------------------------------------------------------

    // Every face of the design in use, so that measuring a caption finds
    // the face ready rather than a stand-in.
    function loadFaces() {
        const fonts = new Set([cssFont(design.letterFont, design.letterFont.bold)]);
        for (const d of design.controls) {
            fonts.add(cssFont(d.font, d.font.bold));
            fonts.add(cssFont(d.font, true));
        }
        return Promise.all([...fonts].map((f) => document.fonts.load(f).catch(() => [])));
    }

    createOrvanel().then((module) => {
        core = module;
        design = core.design();
        return loadFaces();
    }).then(() => {
        document.getElementById('restart').addEventListener('click', restart);
        session = build();
        applyScale();
        window.addEventListener('resize', applyScale);
        root.dataset.ready = 'true';
    });

    // The folder of the page can be installed and opened without a network.
    if ('serviceWorker' in navigator && document.querySelector('link[rel="manifest"]') &&
        (location.protocol === 'https:' || location.protocol === 'http:')) {
        navigator.serviceWorker.register('sw.js').catch(() => {});
    }
}());
