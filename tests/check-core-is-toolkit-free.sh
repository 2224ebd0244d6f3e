#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a source of the core (everything under src/ but the shells)
# includes a header of a user-interface toolkit.
set -euo pipefail
src=${1:-$(dirname "$0")/../src}
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|qt|gtk|gdk|glib|wx/|SDL|GL/|emscripten|windows\.h|X11/)'
found=$(grep -rEn "$pattern" "$src/raster" "$src/format" "$src/board" "$src/figure" "$src/tools" "$src/window" || true)
if [ -n "$found" ]; then
    echo "toolkit headers in the core:"
    echo "$found"
    exit 1
fi
echo "the core includes no toolkit header"
