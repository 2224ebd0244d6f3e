// SPDX-License-Identifier: MIT
// One running window: the model built with the board and every control of
// the design, its changes shown after each click, pointer event or key, and
// its end. Everything a session listens to goes away with it.
import { Board } from './board.js';
import { addOptionGroups, Control } from './controls.js';
import { Keys } from './keys.js';
import { telling } from './notice.js';
import { copyPicture, printWith, savePicture } from './output.js';
import { Painter } from './painter.js';
import { windowPicture } from './picture.js';
import { BoardPointer } from './pointer.js';
import { Readout } from './readout.js';
import { DrawnValues } from './values.js';

export class Session {
    // Builds the window of the model `win` in `root`; `onEnd` runs when the
    // model ends it. The board is painted once the window is given its size
    // (resize).
    constructor(core, design, win, root, onEnd) {
        this.onEnd = onEnd;
        this.lifetime = new AbortController();
        const signal = this.lifetime.signal;
        this.win = win;
        root.replaceChildren();
        root.style.width = design.width + 'px';
        root.style.height = design.height + 'px';
        root.style.background = design.background;

        this.board = new Board(design, win);
        this.controls = design.controls.map((d) => new Control(d, (c) => this.click(c), signal));
        // The elements stand in the tab order: the board is the first stop.
        root.append(...design.tabOrder.map((id) => (id < 0 ? this.board.frame : this.controls[id].box)));
        addOptionGroups(design, this.controls);

        this.painter = new Painter(win, this.board.canvas, () => this.showFrame(), signal,
            design.boardBackground);
        this.pointer = new BoardPointer(this.board.canvas, win, () => this.afterInput(), signal);
        // The picture shows the board as the model has it now.
        const picture = () => {
            this.painter.paintChanged();
            this.board.placeLetters();
            for (const id of design.readoutControls) {
                this.controls[id].show(win);
            }
            return windowPicture(root, design, this.board, this.controls);
        };
        this.keys = new Keys(this.board.canvas, win, () => this.afterInput(), {
            save: () => telling(core, 'SaveFailed', () => savePicture(picture())),
            copy: () => telling(core, 'CopyFailed', () => copyPicture(picture())),
            print: () => telling(core, 'PrintFailed', () => window.print()),
        }, signal);
        // Printed by Ctrl+P or by the browser's own menu, the page shows
        // the window's picture.
        printWith(picture, (action) => telling(core, 'PrintFailed', action), signal);
        for (const c of this.controls) {
            c.show(win);
        }
        win.takeChangedControls();
        this.readout = new Readout(design, win, this.controls);
        this.values = new DrawnValues(design, win, this.controls, design.readoutControls, root);
        // Whether a button holds the board: the letters and the read-out are
        // then drawn on canvases rather than moved and changed as elements.
        this.held = false;
        document.title = win.caption();
        this.board.placeLetters();
    }

    click(c) {
        this.win.click(c.design.id);
        // The element shows the model's value, whatever the browser did to it.
        c.show(this.win);
        this.showControls();
        this.afterInput();
    }

    // After every click, pointer event or key: the board and what moves with
    // it (the letters, the read-out) follow at the next frame, once however
    // many events came since the last one.
    afterInput() {
        this.painter.request();
        if (this.win.ended()) {
            this.end();
        }
    }

    showFrame() {
        const held = this.win.gestureInProgress();
        if (held !== this.held) {
            this.held = held;
            this.painter.drawLetters(held ? this.board : null);
            this.board.drawOnCanvas(held);
            if (!held) {
                this.values.clear();
            }
        }
        this.showControls();
        if (!held) {
            this.board.placeLetters();
        }
    }

    // Shows the board at `s` device pixels per window pixel.
    resize(s) {
        this.painter.resize(s);
        this.values.resize(s);
    }

    // The controls that changed since they were last shown, and the read-out.
    showControls() {
        const changed = Array.from(this.win.takeChangedControls());
        for (const id of changed) {
            if (this.held && this.values.has(id)) {
                this.values.draw(id);
            } else {
                this.controls[id].show(this.win);
            }
        }
        this.readout.update(changed);
        if (document.title !== this.win.caption()) {
            document.title = this.win.caption();
        }
    }

    end() {
        this.lifetime.abort();
        this.win.delete();
        this.onEnd();
    }
}
