#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the README's screenshot: starts the program on a virtual X display
# and captures its window. Usage: scripts/screenshot.sh [out.png [scale]]
# A scale other than 1 enlarges the whole window as on a high-density screen
# (QT_SCALE_FACTOR), on a virtual display large enough for it.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
scale=${2:-1}
screen=1024x768x24
if [ "$scale" != 1 ]; then
    screen=2048x1536x24
fi
scripts/install-deps.sh run xvfb imagemagick x11-utils
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" >/dev/null

display=:97
Xvfb "$display" -screen 0 "$screen" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_SCALE_FACTOR=$scale build/release/src/desktop/orvanel 2>/dev/null &
app=$!
for _ in $(seq 50); do
    DISPLAY=$display xwininfo -name "Orvanel (by m.Quillon)" >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 1
DISPLAY=$display import -window "Orvanel (by m.Quillon)" "$out"
echo "wrote $out"
