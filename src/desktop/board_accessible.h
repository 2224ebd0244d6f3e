// SPDX-License-Identifier: MIT
// What assistive technology (a screen reader, a magnifier) finds on the board
// and in the option buttons' named groups. On the board:
// the frame is a panel, the drawing area inside it a canvas. The vertex letters
// are painted by the drawing area, not widgets, so the canvas has four
// children that stand for them: each is named after its vertex ("頂点 A"),
// its text is the letter, and its rectangle is where the letter lies on the
// screen. Beside the canvas the frame holds a status bar, seen by nobody,
// whose one notification is what the board last told a screen reader.
#pragma once

class QString;

namespace orvanel {

class BoardCanvas;
class BoardFrame;

// The property that marks a widget standing for a named group of option
// buttons: assistive technology finds it as a grouping.
inline constexpr char kOptionGroupProperty[] = "orvanelOptionGroup";

// Lets the toolkit build the accessible objects of the board's frame and
// drawing area. Every drawing area calls it; the first call registers the
// factory for the whole process.
void installBoardAccessibility();

// Tells assistive technology that the letter `index` of `canvas` has moved.
// Only worth calling while QAccessible::isActive().
void announceLetterMoved(BoardCanvas* canvas, int index);

// Has a screen reader speak `text`, whole, from the board `frame`: the
// notification in its status bar takes the text and shows. A notification
// that shows is what Orca 43 speaks of this toolkit: a change of the focused
// board's name or description reaches it without the new text (the bridge
// sends the object in its place) and is dropped.
void announceOnBoard(BoardFrame* frame, const QString& text);

} // namespace orvanel
