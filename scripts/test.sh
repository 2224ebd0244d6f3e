#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the program with its tests and runs them
# all, headless: once as shipped, once under AddressSanitizer and
# UndefinedBehaviorSanitizer, where any report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# configure BUILD_DIR CMAKE_OPTION...: quiet unless CMake fails.
configure() {
    local dir=$1 log
    shift
    echo "Configuring $dir"
    if ! log=$(cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" 2>&1); then
        echo "$log"
        exit 1
    fi
}

echo "== Browser edition =="
scripts/build-web.sh --tests

echo "== Tests (the package check and the browser edition's among them) =="
configure build/test -DORVANEL_WEB_DIR="$PWD/build/web"
echo "Building build/test"
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
configure build/asan -DORVANEL_SANITIZE=ON
echo "Building build/asan"
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j"$jobs"
