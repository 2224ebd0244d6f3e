#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the pinned npm packages of the browser drag measurements (again only
# when the lock file changed since) and runs one:
#   bench/web/run.sh [WEB_DIR]              drag-cpu.js, moves sent through the
#                                           DevTools protocol
#   bench/web/run.sh --real [WEB_DIR]       drag-real.js, the X server's own
#                                           pointer on Xvfb
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! cmp -s bench/web/package-lock.json bench/web/node_modules/.orvanel-installed-lock; then
    (cd bench/web && npm ci --ignore-scripts --no-audit --no-fund)
    cp bench/web/package-lock.json bench/web/node_modules/.orvanel-installed-lock
fi
script=drag-cpu.js
if [ "${1:-}" = --real ]; then
    script=drag-real.js
    shift
fi
exec node "bench/web/$script" "$@"
