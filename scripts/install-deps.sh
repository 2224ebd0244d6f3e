#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages a script needs, asking apt only for what is
# missing, and says what it installs.
#
#   scripts/install-deps.sh [PROFILE...] [PACKAGE...]
#
# Each calling script names what it does:
#   run      build and start the program (scripts/run.sh, screenshot.sh, ...)
#   bench    that, and the benchmarks (scripts/bench.sh, soak.sh)
#   package  that, and build and check the Debian package
#            (packaging/check-package.sh)
#   web      build the browser edition (scripts/web.sh, build-web.sh)
#   test     that, the package's, and the test suite (scripts/test.sh, which
#            also checks the package and runs the browser edition's tests)
# Any other argument is a Debian package to install as well. Without a
# profile it installs what run, bench and the test programs need.
set -euo pipefail

build=(cmake make g++ qt6-base-dev)
# The Qt platform plugins, Wayland's among them (without it Qt warns on every
# start on a Wayland desktop), and the two fonts the window is drawn with.
run=("${build[@]}" qt6-qpa-plugins qt6-wayland fonts-ipafont-gothic fonts-ipafont-mincho)
# The benchmarks, and the browser drag's with real input: a virtual X display
# and python3-xlib, whose XTest moves its pointer (bench/web/drag-real.js).
bench=("${run[@]}" libbenchmark-dev xvfb python3-xlib)
package=("${run[@]}" debhelper dpkg-dev lintian desktop-file-utils xvfb x11-utils)
# The browser edition: Emscripten, esbuild for the page, Node.js for its
# tools, rsvg-convert for the home-screen icons, and the fonts the page is
# shown with here.
web=(cmake make emscripten esbuild nodejs librsvg2-bin fonts-ipafont-gothic fonts-ipafont-mincho)
# The browsers the page is tested in: Chromium, Firefox ESR, and WebKitGTK's
# MiniBrowser under its WebDriver, on the Xvfb of `package`, with xdotool for
# the X server's own mouse and keys there; and the screen reader Orca, which
# listens to both shells in a D-Bus session of the test's own.
test=("${package[@]}" "${web[@]}" libgtest-dev appstream chromium firefox-esr webkit2gtk-driver
    libwebkit2gtk-4.1-0 xdotool orca at-spi2-core dbus-daemon)

wanted=()
profiles=0
for arg in "$@"; do
    case $arg in
    run) wanted+=("${run[@]}") ;;
    bench) wanted+=("${bench[@]}") ;;
    package) wanted+=("${package[@]}") ;;
    web) wanted+=("${web[@]}") ;;
    test) wanted+=("${test[@]}") ;;
    *)
        wanted+=("$arg")
        continue
        ;;
    esac
    profiles=$((profiles + 1))
done
if [ "$profiles" -eq 0 ]; then
    wanted+=("${bench[@]}" libgtest-dev)
fi

declare -A seen=()
missing=()
for p in "${wanted[@]}"; do
    [ -n "${seen[$p]:-}" ] && continue
    seen[$p]=1
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all ${#seen[@]} packages needed are installed"
    exit 0
fi

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "install-deps: installing ${missing[*]} (and the packages they need)"
"${sudo[@]}" apt-get update -qq
# apt's summary and a line per package set up; a failure of apt fails here.
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
    "${missing[@]}" | { grep --line-buffered -E '^([0-9]+ upgraded|Setting up)' || true; }
echo "install-deps: done"
