// SPDX-License-Identifier: MIT
// The chooser Ctrl+O opens, over the window: the kept boards first, newest
// first, each as a small picture with the time it was kept, the newest
// selected, so that Enter opens the last board; a button that opens any
// file, one that forgets the kept boards (a shared classroom computer), and
// Cancel (Escape). The kept boards are one group of option buttons, named
// as the core names them, so the keyboard and a screen reader work it as
// any such group: the arrows choose, Enter opens.
import { element, showCaption } from './dom.js';
import { forgetKept, keptBoards } from './kept.js';

// "2026-12-09 15:30", in local time, as the desktop's chooser shows it.
function keptTime(ms) {
    const t = new Date(ms);
    const two = (n) => String(n).padStart(2, '0');
    return `${t.getFullYear()}-${two(t.getMonth() + 1)}-${two(t.getDate())} ${two(t.getHours())}:${two(t.getMinutes())}`;
}

export class Chooser {
    constructor(core) {
        this.dialog = document.getElementById('chooser');
        this.list = document.getElementById('kept-boards');
        this.none = document.getElementById('no-kept');
        this.open = document.getElementById('open-kept');
        this.openFile = document.getElementById('open-file');
        this.forget = document.getElementById('forget-kept');
        this.file = document.getElementById('board-file');
        const captions = [['chooser-title', 'OpenTitle'], ['no-kept', 'NoKeptBoards'], ['open-kept', 'Open'],
            ['open-file', 'OpenFile'], ['forget-kept', 'ForgetKept'], ['cancel-open', 'Cancel']];
        for (const [id, name] of captions) {
            showCaption(document.getElementById(id), core.caption(name));
        }
        showCaption(this.dialog.querySelector('legend'), core.caption('KeptBoards'));
        this.boards = null; // null while they are read
        this.answer = null;
        // Enter pressed before the kept boards were read: the newest opens
        // once they are.
        this.early = false;

        // Open, Enter on a board, or a double click on one: the board chosen.
        this.dialog.querySelector('form').addEventListener('submit', (e) => {
            e.preventDefault();
            this.openChosen();
        });
        this.list.addEventListener('keydown', (e) => {
            if (e.key === 'Enter') {
                e.preventDefault();
                this.openChosen();
            }
        });
        this.list.addEventListener('dblclick', () => this.openChosen());
        this.openFile.addEventListener('click', () => this.file.click());
        this.file.addEventListener('change', () => {
            const [file] = this.file.files;
            this.file.value = '';
            if (file) {
                this.done({ file });
            }
        });
        this.forget.addEventListener('click', async () => {
            await forgetKept().catch((error) => console.warn('Orvanel: the kept boards could not be forgotten:', error));
            this.show(await keptBoards());
        });
        document.getElementById('cancel-open').addEventListener('click', () => this.done(null));
        // Escape closes the dialog by itself.
        this.dialog.addEventListener('close', () => this.done(null));
        // The window's keys wait while the chooser is open.
        this.dialog.addEventListener('keydown', (e) => {
            e.stopPropagation();
            if (e.key === 'Enter' && !this.boards) {
                e.preventDefault();
                this.early = true;
            }
        });
    }

    // Opens the chooser at once, the kept boards shown as soon as they are
    // read, so that Ctrl+O then Enter opens the last board however fast the
    // keys come. The answer is {board} (a kept board's file, a Uint8Array),
    // {file} (a File the user picked) or null (cancelled).
    choose() {
        if (this.dialog.open) {
            return Promise.resolve(null);
        }
        this.early = false;
        this.show(null);
        this.dialog.showModal();
        this.list.focus();
        keptBoards().then((boards) => {
            if (this.answer) {
                this.show(boards);
                (boards.length ? this.list.querySelector('input:checked') : this.openFile).focus();
                if (this.early) {
                    this.openChosen();
                }
            }
        });
        return new Promise((resolve) => {
            this.answer = resolve;
        });
    }

    // Shows `boards`, or none yet while they are read (null).
    show(boards) {
        this.boards = boards;
        this.list.replaceChildren(...(boards ?? []).map((board, i) => {
            // The kept file itself, shown small; its address goes once it is shown.
            const url = URL.createObjectURL(new Blob([board.png], { type: 'image/png' }));
            const picture = element('img', { alt: '' });
            for (const type of ['load', 'error']) {
                picture.addEventListener(type, () => URL.revokeObjectURL(url), { once: true });
            }
            picture.src = url;
            const label = element('label', { className: 'kept-board' });
            label.append(element('input', { type: 'radio', name: 'kept', value: String(i), checked: i === 0 }),
                picture,
                element('span', { className: 'kept-time', textContent: keptTime(board.time) }));
            return label;
        }));
        const any = boards?.length > 0;
        this.none.hidden = !boards || any;
        this.open.disabled = !any;
        this.forget.disabled = !any;
        if (boards && !any && this.dialog.open) {
            this.openFile.focus();
        }
    }

    openChosen() {
        const chosen = this.list.querySelector('input:checked');
        if (chosen) {
            this.done({ board: this.boards[Number(chosen.value)].png });
        }
    }

    done(answer) {
        const resolve = this.answer;
        this.answer = null;
        if (this.dialog.open) {
            this.dialog.close();
        }
        this.list.replaceChildren();
        resolve?.(answer);
    }
}
