#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# By-hand check of what a screen reader reads from the program (not part of
# the test suite): starts a virtual X display, a D-Bus session with the
# accessibility bus, and the program with its accessibility bridge switched
# on, then runs scripts/atspi-check.py against it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run xvfb xdotool at-spi2-core python3-pyatspi
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" >/dev/null

display=:95
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
# The boards the program keeps after the presses go to a folder of the run's own.
state=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$state"' EXIT
sleep 1
export DISPLAY=$display XDG_STATE_HOME=$state
dbus-run-session -- bash -c '
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 build/release/src/desktop/orvanel 2>/dev/null &
    app=$!
    status=0
    /usr/bin/python3 scripts/atspi-check.py || status=$? # the system Python, where pyatspi is
    kill $app 2>/dev/null || true
    exit $status'
