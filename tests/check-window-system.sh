#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program refuses to start, with one line, only when the toolkit would
# have no window system to show the window on; the toolkit's own options
# (-platform, -display) and QT_QPA_PLATFORM are its to judge.
#
#   tests/check-window-system.sh PROGRAM
set -euo pipefail
program=$1
runtime=$(mktemp -d) # an XDG_RUNTIME_DIR without a Wayland socket
trap 'rm -rf "$runtime"' EXIT
ulimit -c 0 # the toolkit aborts when it cannot reach a display
failed=0

# run SECONDS [VAR=VALUE...] -- ARGS...: runs the program without any display
# for at most SECONDS; sets $status and $out (stderr and stdout).
run() {
    local seconds=$1
    shift
    local -a vars=()
    while [ "$1" != -- ]; do
        vars+=("$1")
        shift
    done
    shift
    status=0
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM \
        XDG_RUNTIME_DIR="$runtime" "${vars[@]}" timeout "$seconds" "$program" "$@" 2>&1) ||
        status=$?
}
expect() {
    if eval "$2"; then
        echo "ok:   $1"
    else
        echo "FAIL: $1 (exit status $status, output: ${out:-none})"
        failed=1
    fi
}
refused='orvanel: no X11 or Wayland display'

run 10 --
expect "no display, no platform: refused with one line and status 2" \
    '[ "$status" -eq 2 ] && [ "$(wc -l <<<"$out")" -eq 1 ] && [[ $out == "$refused"* ]]'
run 10 QT_QPA_PLATFORM=xcb --
expect "QT_QPA_PLATFORM=xcb without DISPLAY: refused" '[ "$status" -eq 2 ]'

# The program keeps running until the timeout ends it (status 124).
run 3 -- -platform offscreen
expect "-platform offscreen: starts without a display" '[ "$status" -eq 124 ]'
# --fit looks at the screen first with a short-lived application: the
# platform it was given must still be there for the window after it.
run 3 -- --fit -platform offscreen
expect "--fit -platform offscreen: starts without a display" '[ "$status" -eq 124 ]'
run 3 QT_QPA_PLATFORM='wayland;offscreen' --
expect "QT_QPA_PLATFORM='wayland;offscreen': starts on the second choice" '[ "$status" -eq 124 ]'
run 3 QT_QPA_PLATFORM=xcb -- --platform offscreen
expect "--platform offscreen wins over QT_QPA_PLATFORM=xcb" '[ "$status" -eq 124 ]'

# -display names an X display: the toolkit, not the program, finds it missing.
run 10 -- -display :999
expect "-display :999: left to the toolkit" '[ "$status" -ne 2 ] && [[ $out != *"$refused"* ]]'

exit "$failed"
