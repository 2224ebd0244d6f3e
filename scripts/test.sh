#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the program with its tests and runs them
# all, headless: once as shipped, once under AddressSanitizer and
# UndefinedBehaviorSanitizer, where any report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Tests =="
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_SANITIZE=ON >/dev/null
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j"$jobs"
