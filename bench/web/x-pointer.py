#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The X server's own pointer for the browser measurements, from one process.

Reads commands on stdin, one a line, and answers each with one line on stdout:

  move X Y              puts the pointer at screen point (X, Y)         "ok"
  down | up             presses | lets go of the left button            "ok"
  path GAP X1 Y1 ...    moves to each point in turn, one every GAP ms on the
                        clock (a late move does not delay the next ones)
                        "moves N MS LATEST": N moves sent in MS ms, the
                        latest sent LATEST ms after its time
  screen                what the screen showed since last asked
                        "screen UPDATES PIXELS": the times the X server drew
                        on the screen (drawing within 2 ms of the one before
                        counts as the same time) and the pixels it drew

The moves are XTest's, as from a mouse: the X server sends them to the
window under the pointer as motion events. What the screen showed comes from
the DAMAGE extension on each window shown, watched on a connection of its own.
"""
import select
import sys
import threading
import time

from Xlib import X, display, error
from Xlib.ext import damage, xtest


class Screen:
    """Counts the X server's drawing in the windows on the screen, in a
    thread of its own. Drawing in a window is not drawing in the root window:
    each window the root window holds is watched, as soon as it is shown."""

    SAME_UPDATE_S = 0.002
    LOOK_FOR_WINDOWS_S = 0.25

    def __init__(self):
        self.display = display.Display()
        # A window may go between the moment it is found and the moment it
        # is watched: the error that says so is no fault of the count.
        self.display.set_error_handler(lambda err, request: None)
        if not self.display.has_extension('DAMAGE'):
            raise SystemExit('x-pointer: the X server has no DAMAGE extension')
        self.display.damage_query_version()
        # The extension's events come as a class of their own, made when
        # the extension was found: known by their code.
        self.notify = self.display.query_extension('DAMAGE').first_event + damage.DamageNotifyCode
        self.watched = set()
        self.lock = threading.Lock()
        self.updates = 0
        self.pixels = 0
        self.last = 0.0
        threading.Thread(target=self.watch, daemon=True).start()

    def look_for_windows(self):
        for window in self.display.screen().root.query_tree().children:
            try:
                if window.id not in self.watched and window.get_attributes().map_state == X.IsViewable:
                    window.damage_create(damage.DamageReportRawRectangles)
                    self.watched.add(window.id)
            except error.BadWindow:
                pass  # gone since the server listed it
        self.display.flush()

    def watch(self):
        looked = 0.0
        while True:
            if time.perf_counter() - looked > self.LOOK_FOR_WINDOWS_S:
                self.look_for_windows()
                looked = time.perf_counter()
            select.select([self.display.fileno()], [], [], self.LOOK_FOR_WINDOWS_S)
            while self.display.pending_events():
                event = self.display.next_event()
                if event.type == self.notify:
                    self.count(event.area)

    def count(self, area):
        now = time.perf_counter()
        with self.lock:
            if now - self.last > self.SAME_UPDATE_S:
                self.updates += 1
            self.last = now
            self.pixels += area.width * area.height

    def take(self):
        with self.lock:
            taken = (self.updates, self.pixels)
            self.updates = 0
            self.pixels = 0
        return taken


def paced(d, gap_ms, points):
    """Moves along `points`, each at its own time on the clock."""
    start = time.perf_counter()
    latest = 0.0
    for i, (x, y) in enumerate(points):
        due = start + i * gap_ms / 1000
        wait = due - time.perf_counter()
        if wait > 0:
            time.sleep(wait)
        latest = max(latest, time.perf_counter() - due)
        xtest.fake_input(d, X.MotionNotify, x=x, y=y)
        d.flush()
    d.sync()
    return (time.perf_counter() - start) * 1000, latest * 1000


def main():
    d = display.Display()
    if not d.query_extension('XTEST').present:
        raise SystemExit('x-pointer: the X server has no XTEST extension')
    screen = Screen()
    for line in sys.stdin:
        words = line.split()
        if not words:
            continue
        command, args = words[0], [int(float(w)) for w in words[1:]]
        if command == 'move':
            xtest.fake_input(d, X.MotionNotify, x=args[0], y=args[1])
            d.sync()
            answer = 'ok'
        elif command in ('down', 'up'):
            xtest.fake_input(d, X.ButtonPress if command == 'down' else X.ButtonRelease, 1)
            d.sync()
            answer = 'ok'
        elif command == 'path':
            points = list(zip(args[1::2], args[2::2]))
            ms, latest = paced(d, args[0], points)
            answer = f'moves {len(points)} {ms:.1f} {latest:.2f}'
        elif command == 'screen':
            answer = 'screen %d %d' % screen.take()
        else:
            answer = f'error: unknown command {command}'
        print(answer, flush=True)


if __name__ == '__main__':
    main()
