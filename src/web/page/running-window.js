// SPDX-License-Identifier: MIT
// One running window: the core's window built with the board and every
// control of the design, what the core reports shown once a frame (after
// each click, pointer event or key), its board kept and its figure in the
// address after each action, boards opened in it, and its end. Everything
// a running window listens to goes away with it.
import { Address } from './address.js';
import { Board } from './board.js';
import { addOptionGroups, Control } from './controls.js';
import { takeFrame } from './frame.js';
import { HeldReadout } from './held-readout.js';
import { Keeper } from './keeper.js';
import { Keys } from './keys.js';
import { tell, telling } from './notice.js';
import { fileBytes } from './opening.js';
import { boardPicture, copyPicture, printWith, savePicture } from './output.js';
import { Painter } from './painter.js';
import { windowPicture } from './picture.js';
import { BoardPointer } from './pointer.js';
import { Readout } from './readout.js';

export class RunningWindow {
    // Builds the window of the core's window `win` in `root`. `page` holds
    // what the page has around the window: `chooser`, the chooser of boards
    // to open, `onChoose`, run as it opens, and `onEnd`, run when the core
    // ends the window. The board is painted once the window is given its
    // size (resize).
    constructor(core, design, win, root, page) {
        this.core = core;
        this.page = page;
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

        this.painter = new Painter(win, this.board.canvas);
        this.frameRequest = 0;
        signal.addEventListener('abort', () => cancelAnimationFrame(this.frameRequest));
        this.pointer = new BoardPointer(this.board.canvas, win, () => this.afterInput(), signal);
        // The picture shows the window as the core has it now, the read-out
        // and the letters too while a button holds the board.
        const picture = () => {
            this.showFrame();
            this.board.placeLetters();
            for (const id of design.readoutControls) {
                this.controls[id].show(win);
            }
            return windowPicture(root, design, this.board, this.controls);
        };
        // The picture with the board's data, taken together: the picture is
        // made a file away from the window.
        const shot = () => ({ canvas: picture(), board: win.boardData() });
        this.keeper = new Keeper(core, () => (win.gestureInProgress() ? null : shot()),
            () => tell(core, 'KeepRefused'), signal);
        this.address = new Address(core, win, () => this.showFrame(), signal);
        this.keys = new Keys(this.board.canvas, win, () => this.afterInput(), {
            save: () => telling(core, 'SaveFailed', async () => savePicture(await boardPicture(core, shot()))),
            copy: () => telling(core, 'CopyFailed', () => copyPicture(picture())),
            print: () => telling(core, 'PrintFailed', () => window.print()),
            open: () => this.choose(),
        }, signal);
        // Printed by Ctrl+P or by the browser's own menu, the page shows
        // the window's picture.
        printWith(picture, (action) => telling(core, 'PrintFailed', action), signal);
        for (const c of this.controls) {
            c.show(win);
        }
        this.readout = new Readout(design, win, this.controls);
        this.heldReadout = new HeldReadout(design, win, this.controls, design.readoutControls, root);
        // Whether a button holds the board: the letters and the read-out are
        // then drawn on canvases rather than moved and changed as elements.
        this.held = false;
        document.title = win.caption();
        this.board.placeLetters();
    }

    click(c) {
        this.win.click(c.design.id);
        // The element shows the core's value, whatever the browser did to it.
        c.show(this.win);
        this.showFrame();
    }

    // After every pointer event or key: what it changed is shown at the next
    // frame, once however many events came since the last one.
    afterInput() {
        if (!this.frameRequest) {
            this.frameRequest = requestAnimationFrame(() => {
                this.frameRequest = 0;
                this.showFrame();
            });
        }
    }

    // Shows everything the core reports changed since the last frame.
    showFrame() {
        const frame = takeFrame(this.win);
        if (frame.letters) {
            this.board.setBoxes(frame.letters);
        }
        if (frame.held !== this.held) {
            this.held = frame.held;
            this.board.drawOnCanvas(frame.held);
            if (!frame.held) {
                this.heldReadout.clear();
            }
        } else if (frame.letters && !frame.held) {
            this.board.placeLetters();
        }
        this.painter.show(frame.rects, frame.held ? this.board : null);
        for (const id of frame.controls) {
            if (this.held && this.heldReadout.has(id)) {
                this.heldReadout.draw(id);
            } else {
                this.controls[id].show(this.win);
            }
        }
        this.readout.update(frame.controls, frame.held, frame.announcement);
        this.board.showRing(frame.crosshair);
        if (frame.link !== null) {
            this.address.follow(frame.link);
        }
        if (frame.ended) {
            this.end(frame.keepDue);
            return;
        }
        this.keeper.afterFrame(frame.keepDue, frame.held);
    }

    // Ctrl+O: the chooser, then the board or the file chosen.
    async choose() {
        this.page.onChoose();
        const answer = await this.page.chooser.choose();
        if (answer?.file) {
            await this.openFile(answer.file);
        } else if (answer) {
            this.openBoard(answer.board, true);
        }
    }

    // A file picked in the chooser or dropped on the page.
    async openFile(file) {
        let bytes;
        try {
            bytes = await fileBytes(this.core, file);
        } catch (error) {
            console.warn('Orvanel: the file could not be read:', error);
            tell(this.core, 'ReadFailed');
            return;
        }
        this.openBoard(bytes, false);
    }

    // Opens the board a file's bytes hold, as one action, or tells why not
    // and changes nothing. A board opened from the kept ones is kept
    // already: it is kept anew once it changes.
    openBoard(bytes, kept) {
        if (this.lifetime.signal.aborted) {
            return;
        }
        this.keeper.takeNow(false);
        const problem = this.win.openBoard(bytes);
        if (problem) {
            tell(this.core, problem);
            return;
        }
        this.keeper.startAnew();
        if (kept) {
            this.win.takeKeepDue();
        }
        this.showFrame();
    }

    // Shows the board at `s` device pixels per window pixel.
    resize(s) {
        this.painter.resize(s);
        this.heldReadout.resize(s);
        this.afterInput();
    }

    // The window ends: what is still to keep of its board is kept (`due`
    // when the last frame asked for it).
    end(due) {
        this.keeper.takeNow(due);
        this.lifetime.abort();
        this.win.delete();
        this.page.onEnd();
    }
}
