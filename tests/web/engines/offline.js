// SPDX-License-Identifier: MIT
// The browsers reach no further than this machine: every request for
// another host goes through a proxy where nothing listens, and fails at once,
// as with the network off. 127.0.0.1 is reached directly.
'use strict';

const NOWHERE_PORT = 9; // discard: nothing listens there
const NOWHERE = `127.0.0.1:${NOWHERE_PORT}`;

module.exports = { NOWHERE, NOWHERE_PORT };
