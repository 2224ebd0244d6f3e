#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the program (Release, in build/release)
# and starts it. Arguments go to the program, which takes only the toolkit's
# options (-platform, -display, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
echo "Configuring build/release"
if ! log=$(cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANEL_BUILD_TESTS=OFF 2>&1); then
    echo "$log"
    exit 1
fi
echo "Building build/release (the first build takes a minute or two)"
cmake --build build/release -j"$(nproc)"
echo "Starting build/release/src/desktop/orvanel"
exec build/release/src/desktop/orvanel "$@"
