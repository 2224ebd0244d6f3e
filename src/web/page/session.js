// SPDX-License-Identifier: MIT
// One running window: the model built with the board and every control of
// the design, its changes shown after each click, pointer event or key, and
// its end. Everything a session listens to goes away with it.
import { Board } from './board.js';
import { addOptionGroups, Control } from './controls.js';
import { measure } from './fonts.js';
import { Keys } from './keys.js';
import { copyPicture, printPicture, savePicture } from './output.js';
import { Painter } from './painter.js';
import { windowPicture } from './picture.js';
import { BoardPointer } from './pointer.js';
import { Readout } from './readout.js';

export class Session {
    // Builds the window in `root`; `onEnd` runs when the model ends it.
    constructor(core, design, root, onEnd) {
        this.onEnd = onEnd;
        this.lifetime = new AbortController();
        const signal = this.lifetime.signal;
        const win = new core.Window(measure);
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
        this.painter.paintAll();
        this.pointer = new BoardPointer(this.board.canvas, win, () => this.afterInput(), signal);
        // The picture shows the board as the model has it now.
        const picture = () => {
            this.painter.paintChanged();
            return windowPicture(root, design, this.board, this.controls);
        };
        this.keys = new Keys(this.board.canvas, win, () => this.afterInput(), {
            save: () => savePicture(picture()),
            copy: () => copyPicture(picture()),
            print: () => printPicture(picture()),
        }, signal);
        for (const c of this.controls) {
            c.show(win);
        }
        win.takeChangedControls();
        this.readout = new Readout(design, win, this.controls, signal);
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
        this.showControls();
        this.board.placeLetters();
    }

    // The controls that changed since they were last shown, and the read-out.
    showControls() {
        const changed = Array.from(this.win.takeChangedControls());
        for (const id of changed) {
            this.controls[id].show(this.win);
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
