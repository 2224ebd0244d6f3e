// SPDX-License-Identifier: MIT
// The compiled model, wherever the page was opened from. Served, it comes
// from orvanel.js and orvanel.wasm beside the page. Opened from disk, the
// browser refuses to read the .wasm, so the page loads orvanel-inline.js,
// the same model with its WebAssembly inside; where even that is refused,
// the page says to open orvanel.html, the page that carries everything.

function script(src) {
    return new Promise((resolve, reject) => {
        const s = document.createElement('script');
        s.src = src;
        s.onload = resolve;
        s.onerror = () => reject(new Error(`${src} could not be loaded`));
        document.head.append(s);
    });
}

export async function loadModule() {
    if (location.protocol === 'file:' && document.querySelector('script[src="orvanel.js"]')) {
        await script('orvanel-inline.js');
    }
    const core = await createOrvanel();
    document.getElementById('from-disk')?.remove();
    return core;
}

// The program could not start. Opened from disk, the notice that names
// orvanel.html shows at once; served, the console alone says why.
export function showFromDisk(error) {
    console.error('The program could not start:', error);
    if (location.protocol === 'file:') {
        document.getElementById('from-disk')?.removeAttribute('hidden');
    }
}
