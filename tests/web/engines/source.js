// SPDX-License-Identifier: MIT
// A function to run in a page, given as a function or as its source text.
'use strict';

function sourceOf(fn) {
    return typeof fn === 'function' ? fn.toString() : String(fn);
}

// The function itself: a driver that serialises functions gets the source
// back from it unchanged.
function functionOf(fn) {
    return typeof fn === 'function' ? fn : new Function(`return (${fn});`)();
}

module.exports = { sourceOf, functionOf };
