#!/usr/bin/env bash
# Drags D on a real X server: Xvfb, the program, and xdotool holding D while it
# sends 1,000 motion events 8 ms apart, one pixel each, five times around a
# 50-pixel square. Checks that the program took 1,000 drag steps and that D
# ended where it started, and prints the program's CPU time for the moves.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh xvfb xdotool
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" >/dev/null

display=:96
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
log=$(mktemp)
trap 'kill $xvfb 2>/dev/null || true; rm -f "$log"' EXIT
sleep 1
export DISPLAY=$display
ORVANEL_REPORT_STEPS=1 build/release/src/orvanel 2>"$log" &
app=$!
for _ in $(seq 50); do
    window=$(xdotool search --name "Orvanel" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.2
done
xdotool windowmove "$window" 0 0
sleep 0.5

cpu_ms() { # user + system time of the program, in milliseconds
    awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) * 1000 / hz }' "/proc/$app/stat"
}
# D starts at board (550, 350); the board's drawing area starts at (10, 50).
xdotool mousemove 560 400
sleep 0.2
moves=()
for side in "1 0" "0 1" "-1 0" "0 -1" "1 0" "0 1" "-1 0" "0 -1" "1 0" "0 1" "-1 0" "0 -1" \
            "1 0" "0 1" "-1 0" "0 -1" "1 0" "0 1" "-1 0" "0 -1"; do
    for _ in $(seq 50); do
        moves+=(mousemove_relative -- $side sleep 0.008)
    done
done
before=$(cpu_ms)
xdotool mousedown 1
xdotool "${moves[@]}"
xdotool mouseup 1
sleep 0.5
after=$(cpu_ms)
xdotool mousemove 864 656 click 1 # 終了
wait "$app" || true
cat "$log" | grep 'drag steps' || { echo "no report from the program"; exit 1; }
steps=$(sed -n 's/^orvanel: \([0-9]*\) drag steps.*/\1/p' "$log")
echo "CPU time for 1,000 moves, repaints included: $(awk -v a="$before" -v b="$after" 'BEGIN { printf "%.0f", b - a }') ms"
if [ "$steps" -ne 1000 ] || ! grep -q 'D at (550, 350)' "$log"; then
    echo "FAIL: expected 1000 drag steps with D back at (550, 350)"
    exit 1
fi
echo "PASS: 1000 motion events, 1000 drag steps, D back where it started"
