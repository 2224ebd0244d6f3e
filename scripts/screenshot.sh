#!/usr/bin/env bash
# Takes the README's screenshot: starts the program on a virtual X display
# and captures its window. Usage: scripts/screenshot.sh [out.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
scripts/install-deps.sh xvfb imagemagick x11-utils
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" >/dev/null

display=:97
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display build/release/src/orvanel 2>/dev/null &
app=$!
for _ in $(seq 50); do
    DISPLAY=$display xwininfo -name "Orvanel (by m.Quillon)" >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 1
DISPLAY=$display import -window "Orvanel (by m.Quillon)" "$out"
echo "wrote $out"
