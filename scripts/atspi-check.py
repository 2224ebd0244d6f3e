#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""What a screen reader finds in the running program, read over AT-SPI.

Run by scripts/atspi-check.sh, which starts the program on a virtual display
with a D-Bus session and the accessibility bus. Prints the window's tree
(roles, names, descriptions, texts, states, the letters' places), presses
方眼 (grid) and ticks "angle" through their actions, then drags A with
xdotool and D from the keyboard (D, Space, Shift+Right six times, Space),
and prints what the program tells a screen reader meanwhile: the changes of
the read-out's names, the notifications the board shows (what a screen reader
speaks), and the moves of the letters. Exits non-zero when something a screen
reader needs is missing.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

APP_NAME = "orvanel"
BOARD = "黒板"
VERTEX = "頂点 "


def find_application(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.3)
    sys.exit(f"FAIL: no application named {name!r} on the accessibility bus")


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, text.characterCount)


def extents_of(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def describe(node):
    states = node.getState()
    words = [node.getRoleName(), repr(node.name)]
    if node.description:
        words.append(f"description={node.description!r}")
    text = text_of(node)
    if text is not None:
        words.append(f"text={text!r}")
    if states.contains(pyatspi.STATE_CHECKED):
        words.append("checked")
    if not states.contains(pyatspi.STATE_SENSITIVE):
        words.append("disabled")
    if states.contains(pyatspi.STATE_FOCUSABLE) and node.getRoleName() in ("panel", "frame", "filler"):
        words.append("focusable")
    if not states.contains(pyatspi.STATE_SHOWING):
        words.append("hidden")
    if node.name.startswith(VERTEX):
        words.append("at {} {} {}x{}".format(*extents_of(node)))
    return " ".join(words)


def find(root, role, name):
    for node, _ in walk(root):
        if node.getRoleName() == role and node.name == name:
            return node
    sys.exit(f"FAIL: no {role} named {name!r}")


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    done = action.doAction(0)
    print(f"action {names[0]!r} of {node.getRoleName()} {node.name!r} (actions {names}): {done}")
    return done


def main():
    app = find_application(APP_NAME)
    window = app[0]
    print(f"application {app.name!r}, window {window.getRoleName()} {window.name!r}")
    for node, depth in walk(window):
        if node is not window:
            print("  " * depth + describe(node))

    board = next((n for n, _ in walk(window) if n.name == BOARD), None)
    letters = [n for n, _ in walk(window) if n.name.startswith(VERTEX)]
    problems = []
    if board is None or not board.description:
        problems.append("the board has no name or description")
    if [n.name for n in letters] != [VERTEX + v for v in "ABCD"]:
        problems.append(f"letters found: {[n.name for n in letters]}")

    print()
    if not press(find(window, "push button", "方眼")):
        problems.append("方眼 could not be pressed")
    angle = find(window, "check box", "angle")
    press(angle)
    time.sleep(0.5)
    readout = [n for n, _ in walk(window) if n.name.startswith("∠") and n.name.endswith("°")]
    print("after ticking angle: angle", "checked" if angle.getState().contains(pyatspi.STATE_CHECKED) else "unchecked",
          "; read-out", [(n.name, n.getState().contains(pyatspi.STATE_SHOWING)) for n in readout])

    # Drag A from its place (600, 150) on the board, 60 pixels left and 40 down.
    x, y, _, _ = extents_of(board)
    ax, ay = x + 2 + 600, y + 2 + 150
    letter_a_before = extents_of(letters[0])
    events = []

    def heard(event):
        source = event.source
        # The event names the object, not its new text: read the text as the event comes in.
        events.append((event.type, source.name if source else None, source.getRoleName() if source else None))

    kinds = ("object:property-change:accessible-name", "object:state-changed:showing",
             "object:bounds-changed")
    pyatspi.Registry.registerEventListener(heard, *kinds)

    def drag():
        moves = []
        for step in range(1, 21):
            moves += ["mousemove", str(ax - 3 * step), str(ay + 2 * step), "sleep", "0.03"]
        # Then D from the keyboard, the board having the focus after the drag.
        keys = ["sleep", "1", "key", "d", "sleep", "0.3", "key", "space", "sleep", "0.3"]
        for _ in range(6):
            keys += ["sleep", "0.05", "key", "shift+Right"]
        keys += ["sleep", "0.3", "key", "space"]
        # In the background, so that the events are heard while the drag goes on.
        xdotool = subprocess.Popen(["xdotool", "mousemove", str(ax), str(ay), "sleep", "0.2", "mousedown", "1",
                                    *moves, "mouseup", "1", *keys])
        GLib.timeout_add(100, stop_after, xdotool)
        return False

    def stop_after(xdotool):
        if xdotool.poll() is None:
            return True
        GLib.timeout_add(1000, stop)
        return False

    def stop():
        pyatspi.Registry.stop()
        return False

    GLib.timeout_add(1500, drag)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(heard, *kinds)

    print()
    names = [e for e in events if e[0].startswith("object:property-change:accessible-name")]
    spoken = [e for e in events if e[0].startswith("object:state-changed:showing") and e[2] == "notification"]
    moves = [e for e in events if e[0].startswith("object:bounds-changed")]
    print(f"while dragging A by mouse and D by keyboard: {len(names)} name changes, "
          f"{len(spoken)} notifications, {len(moves)} bounds changes")
    for event in names[:8]:
        print(f"  name change to {event[1]!r}")
    for event in spoken:
        print(f"  the board tells {event[1]!r}")
    for event in moves[:3]:
        print("  bounds change:", event[1])
    if not moves:
        print("  (the toolkit's desktop bridge does not pass letter moves on; a reader asks for")
        print("   a letter's place when it needs it)")
    fresh = find_application(APP_NAME)[0]
    print("read-out now", [n.name for n, _ in walk(fresh) if n.name.startswith("∠") and n.name.endswith("°")])
    print("the board's description now", [n.description for n, _ in walk(fresh) if n.name == BOARD])
    print("頂点 A was at {} {} {}x{},".format(*letter_a_before), "now at {} {} {}x{}".format(*extents_of(letters[0])))
    readouts = [e for e in spoken if "∠" in e[1]]
    if len(readouts) != 2:
        problems.append(f"the read-out was told {len(readouts)} times for two drags")
    if [e[1] for e in spoken if "∠" not in e[1]] != ["頂点 D", "頂点 D をつかみました"]:
        problems.append("the keys' steps were not told as D, Space")
    if extents_of(letters[0]) == letter_a_before:
        problems.append("Vertex A did not move")

    print()
    for problem in problems:
        print("FAIL:", problem)
    print("PASS" if not problems else "")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
