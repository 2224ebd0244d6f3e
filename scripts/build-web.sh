#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing and builds the browser edition into build/web/:
# index.html with its style, scripts, WebAssembly, manifest, worker and icons,
# and the self-contained orvanel.html. With --tests it also installs the
# browser tests' npm packages (npm ci in tests/web), for a native build
# configured with -DORVANEL_WEB_DIR="$PWD/build/web".
set -euo pipefail
cd "$(dirname "$0")/.."

# What the browser edition is built with; for its tests Chromium too.
packages=(web)
if [ "${1:-}" = --tests ]; then
    packages+=(chromium)
fi
# Node.js may come with its own npm; Debian's npm is needed only where it does not.
command -v npm >/dev/null 2>&1 || packages+=(npm)
scripts/install-deps.sh "${packages[@]}"

# Debian's Emscripten finds its own JavaScript modules there.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build/web-build -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF \
    -DORVANEL_WEB_DIR="$PWD/build/web" >/dev/null
cmake --build build/web-build -j"$(nproc)"

if [ "${1:-}" = --tests ]; then
    # The pinned packages, again only when the lock file changed since.
    if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.orvanel-installed-lock; then
        (cd tests/web && npm ci --ignore-scripts --no-audit --no-fund)
        cp tests/web/package-lock.json tests/web/node_modules/.orvanel-installed-lock
    fi
fi
