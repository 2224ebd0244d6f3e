// SPDX-License-Identifier: MIT
// The model's codes of the mouse buttons, as bits of what is held.
export const LEFT = 1;
export const RIGHT = 2;
export const MIDDLE = 4;
