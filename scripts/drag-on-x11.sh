#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What a drag costs on a real X server. On one Xvfb display, xdotool sends the
# same paced pointer moves (8 ms apart, one pixel each, around a 50-pixel
# square) with the left button held to
#   (a) a minimal Qt widget that only receives them,
#   (b) the program, the button held on an empty spot of the board,
#   (c) the program dragging D,
# and the script prints each one's CPU time (user + system) per 1,000 moves,
# taken over 3,000 moves so that the 10 ms clock tick does not dominate, and
# the ratios (c)/(a) and (c)/(b). It checks that (c) took one drag step per
# move and that D ended where it started. The program measured is the
# program's window as bench/counted_window.cpp starts it, which counts the
# moves that reach its board while D is held and says where D is at its end.
# Usage: scripts/drag-on-x11.sh [moves per run, default 3000]
# ORVANEL_PROGRAM names another build of that window to measure in place of
# this tree's (an earlier commit's, say).
set -euo pipefail
cd "$(dirname "$0")/.."
moves_per_run=${1:-3000}
scripts/install-deps.sh xvfb xdotool
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF \
    -DORVANEL_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j"$(nproc)" --target orvanel_counted_window orvanel_minimal_widget >/dev/null

display=:96
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
log=$(mktemp)
# The boards the program keeps after each drag go to a folder of the run's own.
state=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$log" "$state"' EXIT
export DISPLAY=$display XDG_STATE_HOME=$state
for _ in $(seq 50); do # until the server answers
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.2
done

cpu_ticks() { # user + system time of process $1, in clock ticks
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# Starts `$@`, waits for its window named $name, moves it to the screen's
# corner and leaves its process id in $app.
start() {
    local name=$1
    shift
    "$@" 2>"$log" &
    app=$!
    local window=
    for _ in $(seq 50); do
        window=$(xdotool search --name "$name" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.2
    done
    xdotool windowmove "$window" 0 0
    sleep 0.5
}

# Holds the left button at ($1, $2) and sends the paced moves; prints the
# CPU milliseconds per 1,000 moves of process $app.
paced_moves() {
    local steps=()
    local sides=("1 0" "0 1" "-1 0" "0 -1")
    local i
    for ((i = 0; i < moves_per_run; i++)); do
        steps+=(mousemove_relative -- ${sides[$((i / 50 % 4))]} sleep 0.008)
    done
    xdotool mousemove "$1" "$2"
    sleep 0.3
    local before
    before=$(cpu_ticks "$app")
    xdotool mousedown 1
    xdotool "${steps[@]}"
    xdotool mouseup 1
    sleep 0.5
    local after
    after=$(cpu_ticks "$app")
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v n="$moves_per_run" \
        'BEGIN { printf "%.0f", t * 1000 / hz * 1000 / n }'
}

start "Minimal widget" build/bench/bench/orvanel_minimal_widget
minimal=$(paced_moves 300 300)
kill "$app"
wait "$app" 2>/dev/null || true

# The board's drawing area starts at window (10, 50); D starts at board
# (550, 350), and board (300, 100) is far from every vertex.
start "Orvanel" "${ORVANEL_PROGRAM:-build/bench/bench/orvanel_counted_window}"
hover=$(paced_moves 310 150)
drag=$(paced_moves 560 400)
xdotool mousemove 864 656 click 1 # 終了
wait "$app" || true
steps=$(sed -n 's/^orvanel: \([0-9]*\) drag steps.*/\1/p' "$log")

printf '%-55s %6s ms\n' "(a) minimal Qt widget, CPU per 1,000 moves" "$minimal" \
    "(b) the program, button held on an empty spot" "$hover" \
    "(c) the program dragging D" "$drag"
awk -v a="$minimal" -v b="$hover" -v c="$drag" 'BEGIN {
    ca = (a > 0) ? sprintf("%.1f", c / a) : "inf"
    cb = (b > 0) ? sprintf("%.1f", c / b) : "inf"
    printf("(c)/(a) = %s, (c)/(b) = %s, (c) - (b) = %d ms\n", ca, cb, c - b)
    printf("%s (c) at most 60 ms per 1,000 moves\n", (c <= 60) ? "PASS" : "FAIL")
    printf("%s (c) - (b) at most 50 ms\n", (c - b <= 50) ? "PASS" : "FAIL")
}'
if [ "$steps" != "$moves_per_run" ] || ! grep -q 'D at (550, 350)' "$log"; then
    echo "FAIL: expected $moves_per_run drag steps with D back at (550, 350); the program said:"
    cat "$log"
    exit 1
fi
echo "PASS: $moves_per_run moves, $steps drag steps, D back where it started"
