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
        this.boards = [];
        this.urls = [];
        this.answer = null;

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
        this.dialog.addEventListener('keydown', (e) => e.stopPropagation());
    }

    // Opens the chooser; the answer is {board} (a kept board's file, a
    // Uint8Array), {file} (a File the user picked) or null (cancelled).
    async choose() {
        if (this.dialog.open) {
            return null;
        }
        const boards = await keptBoards();
        return new Promise((resolve) => {
            this.answer = resolve;
            this.show(boards);
            this.dialog.showModal();
            (boards.length ? this.list.querySelector('input:checked') : this.openFile).focus();
        });
    }

    show(boards) {
        this.forgetPictures();
        this.boards = boards;
        this.list.replaceChildren(...boards.map((board, i) => {
            const url = URL.createObjectURL(new Blob([board.png], { type: 'image/png' }));
            this.urls.push(url);
            const label = element('label', { className: 'kept-board' });
            label.append(element('input', { type: 'radio', name: 'kept', value: String(i), checked: i === 0 }),
                element('img', { src: url, alt: '' }),
                element('span', { className: 'kept-time', textContent: keptTime(board.time) }));
            return label;
        }));
        const any = boards.length > 0;
        this.list.hidden = !any;
        this.none.hidden = any;
        this.open.disabled = !any;
        this.forget.disabled = !any;
        if (!any && this.dialog.open) {
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
        this.forgetPictures();
        resolve?.(answer);
    }

    forgetPictures() {
        for (const url of this.urls) {
            URL.revokeObjectURL(url);
        }
        this.urls = [];
    }
}
