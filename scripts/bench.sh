#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the benchmarks (Release) and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF \
    -DORVANEL_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j"$(nproc)" >/dev/null
[ ! -x /usr/bin/chromium ] || bench/web/run.sh
exec build/bench/bench/orvanel_bench "$@"
