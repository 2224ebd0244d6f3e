// SPDX-License-Identifier: MIT
// Files that come to the page to be opened as boards: one the user picked,
// or one dropped anywhere on the page. Only their bytes are read here; the
// core says whether they hold a board.

// The bytes of `file`, as many as a board's file may take and one more
// (enough for the core to tell that it is larger); fails when the browser
// cannot read it.
export async function fileBytes(core, file) {
    return new Uint8Array(await file.slice(0, core.largestBoardFile + 1).arrayBuffer());
}

const carriesFiles = (e) => e.dataTransfer?.types.includes('Files');

// Calls `open(file)` with the first file dropped anywhere on the page; the
// browser never opens a dropped file in the page's place.
export function acceptDrops(open) {
    window.addEventListener('dragover', (e) => {
        if (carriesFiles(e)) {
            e.preventDefault();
            e.dataTransfer.dropEffect = 'copy';
        }
    });
    window.addEventListener('drop', (e) => {
        if (!carriesFiles(e)) {
            return;
        }
        e.preventDefault();
        const [file] = e.dataTransfer.files;
        if (file) {
            open(file);
        }
    });
}
