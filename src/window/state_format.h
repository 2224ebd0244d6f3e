// SPDX-License-Identifier: MIT
// The window's state as bytes: everything the handlers keep between actions
// (Form1::Snapshot), the board's pixels aside, in a form that means the same
// in every shell. Undo keeps its steps in it, and a saved board carries it.
//
// What a shell measures (the boxes of labels fitted to their text, the
// letters' sizes) and what never changes after start-up (the captions but
// the read-out's values, where the grid lines lie) is not written: reading
// fills in only what a session can change, over a snapshot of a window that
// supplies the rest.
//
// Reading trusts nothing: every value is checked against what the window can
// hold (a palette number, a line number, a pen's width, a finite coordinate
// within kCoordinateLimit of the board), and a state the handlers could
// never reach (a tool half on, a gesture in progress) is refused as a whole.
#pragma once

#include "format/byte_stream.h"
#include "window/form1.h"

namespace orvanel {

// How far from the board a coordinate may lie: far beyond any drag, and well
// within what a pixel position can be computed for.
inline constexpr double kCoordinateLimit = 1e8;

void writeState(const Form1::Snapshot& state, ByteWriter& out);

// Reads a state written by writeState over `into`, a snapshot of a window
// built by the reading shell; false (and `into` unchanged) when the bytes are
// not a sound state.
bool readState(ByteReader& in, Form1::Snapshot& into);

} // namespace orvanel
