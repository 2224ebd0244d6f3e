#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the pinned npm packages of the browser drag measurement (again only
# when the lock file changed since) and runs it: bench/web/run.sh [WEB_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! cmp -s bench/web/package-lock.json bench/web/node_modules/.orvanel-installed-lock; then
    (cd bench/web && npm ci --ignore-scripts --no-audit --no-fund)
    cp bench/web/package-lock.json bench/web/node_modules/.orvanel-installed-lock
fi
exec node bench/web/drag-cpu.js "$@"
