#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Long use: a million drag steps and 100,000 memo segments; prints resident
# memory before and after and the drag step's time at the start and the end.
# Usage: scripts/soak.sh [drag steps] [memo segments]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF \
    -DORVANEL_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j"$(nproc)" --target orvanel_soak >/dev/null
exec build/bench/bench/orvanel_soak "$@"
