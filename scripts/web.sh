#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the browser edition into build/web/ and
# serves that folder on http://127.0.0.1:8000/ until stopped (Ctrl+C).
#   scripts/web.sh               build and serve
#   scripts/web.sh --build-only  only build
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-web.sh
if [ "${1:-}" = --build-only ]; then
    echo "Built build/web/index.html and build/web/orvanel.html"
    exit 0
fi
command -v python3 >/dev/null 2>&1 || scripts/install-deps.sh python3
echo "Serving build/web/ on http://127.0.0.1:8000/ (Ctrl+C stops it)"
exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build/web
