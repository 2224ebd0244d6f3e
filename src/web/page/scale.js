// SPDX-License-Identifier: MIT
// The window's size on the screen: 1:1 unless the viewport holds it at twice
// its size or more; then the largest factor that fits. `?scale=1` keeps 1:1.

function factor(design) {
    if (new URLSearchParams(location.search).get('scale') === '1') {
        return 1;
    }
    const f = Math.min(window.innerWidth / design.width, window.innerHeight / design.height);
    return f >= 2 ? f : 1;
}

export function applyScale(root, design) {
    const f = factor(design);
    root.style.transform = f === 1 ? '' : 'scale(' + f + ')';
    document.body.classList.toggle('scaled', f !== 1);
}
