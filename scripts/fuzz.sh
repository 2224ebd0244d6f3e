#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fuzzes the readers of what the program opens (a saved board's file, a
# link's figure) with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, from seeds the suite's boards give:
#   scripts/fuzz.sh [SECONDS]      (default 60)
# The suite's own mutation test (test_board_file) runs 100,000 inputs at
# every test run; this goes further, guided by coverage.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang libclang-rt-14-dev >/dev/null
seconds=${1:-60}
out=build/fuzz
mkdir -p "$out/corpus"
# The core built with clang, instrumented for the fuzzer and the sanitizers.
CXX=clang++ cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_BUILD_DESKTOP=OFF \
    -DORVANEL_BUILD_TESTS=OFF -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
cmake --build "$out" -j"$(nproc)" --target orvanel_core >/dev/null
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -Isrc \
    tests/fuzz/board_file_fuzz.cpp "$out/src/liborvanel_core.a" -o "$out/board_file_fuzz"
ORVANEL_FUZZ_SEEDS="$out/corpus" "$out/board_file_fuzz" -runs=0 "$out/corpus" >/dev/null 2>&1
"$out/board_file_fuzz" -max_total_time="$seconds" -max_len=262144 -rss_limit_mb=1024 \
    -print_final_stats=1 "$out/corpus"
