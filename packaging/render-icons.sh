#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Draws the PNG icons from the scalable one, at every size the package
# installs. Run after changing the SVG; needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons/hicolor"
svg=$(echo scalable/apps/*.svg)
name=$(basename "$svg" .svg)
for size in 16 22 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/apps/$name.png"
    echo "${size}x${size}/apps/$name.png"
done
