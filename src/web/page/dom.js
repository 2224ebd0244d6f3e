// SPDX-License-Identifier: MIT
// Making elements and putting them in window pixels.

export function element(tag, props) {
    const e = document.createElement(tag);
    Object.assign(e, props);
    return e;
}

export function place(e, box) {
    e.style.left = box.left + 'px';
    e.style.top = box.top + 'px';
    e.style.width = box.width + 'px';
    e.style.height = box.height + 'px';
}

// Whether `a` and `b` are the same box.
export function sameBox(a, b) {
    return a.left === b.left && a.top === b.top && a.width === b.width && a.height === b.height;
}

// Shows `caption`, a text of the core's in Japanese and English, in the
// first two <span> elements of `e`.
export function showCaption(e, caption) {
    const [japanese, english] = e.querySelectorAll('span');
    japanese.textContent = caption.japanese;
    english.textContent = caption.english;
}
