#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the benchmarks (Release) and runs them;
# where Chromium is installed, then the browser edition's (bench/web).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF \
    -DORVANEL_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j"$(nproc)" >/dev/null
build/bench/bench/orvanel_bench "$@"
build/bench/bench/orvanel_history_bench

if command -v chromium >/dev/null 2>&1; then
    echo
    echo "== The browser edition =="
    # The page with the browser tests' packages, and the native player that
    # times the drag step the way the page does.
    scripts/build-web.sh --tests >/dev/null
    scripts/install-deps.sh libgtest-dev >/dev/null
    cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_WEB_DIR="$PWD/build/web" >/dev/null
    cmake --build build/test -j"$(nproc)" --target orvanel_web_reference >/dev/null
    node bench/web/page-speed.js build/web build/test/tests/web/orvanel_web_reference
    # A lesson's board saved, kept after an action and opened in the page.
    node bench/web/keep-board.js build/web
    # The drag's CPU in Chromium beside a floor page and a geometry library's:
    # the moves sent through the DevTools protocol, then, where Xvfb is
    # installed, by the X server's own pointer to a browser with a window.
    bench/web/run.sh build/web
    if command -v Xvfb >/dev/null 2>&1; then
        bench/web/run.sh --real build/web
    fi
    # The start as Lighthouse's mobile profile judges it.
    node bench/web/lighthouse.js build/web
fi
