#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The core's folders depend on each other one way: the shells on the window
# model, the window on the figure and the tools, those on the board, and all
# of them on the raster (and the window on the formats). A file may include
# only its own folder and the folders below it.
#
#   check-dependencies.sh SRC_DIR
set -euo pipefail
src=$1
declare -A below=(
    [raster]="raster"
    [format]="format raster"
    [board]="board raster"
    [figure]="figure board raster"
    [tools]="tools board raster"
    [window]="window figure tools board format raster"
)
status=0
for folder in "${!below[@]}"; do
    while IFS= read -r line; do
        file=${line%%:*}
        included=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$line")
        if [[ " ${below[$folder]} " != *" $included "* ]]; then
            echo "FAIL: $file includes $included/, above $folder/"
            status=1
        fi
    done < <(grep -rHE '#include "[a-z_]+/' "$src/$folder" || true)
done
[ "$status" -eq 0 ] && echo "PASS: every core folder includes only itself and the folders below it"
exit "$status"
