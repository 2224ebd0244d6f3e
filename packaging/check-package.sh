#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from scratch and checks what it holds: the program,
# the menu entry and its icons, and the control fields that make it installable
# (every library the program links, the Qt platform plugins, the two fonts).
#
#   packaging/check-package.sh [SOURCE_DIR [BUILD_DIR]]
#
# SOURCE_DIR defaults to the checkout this script is in; BUILD_DIR to a
# temporary directory that is removed afterwards. BUILD_DIR gets its own
# Release configuration (tests and benchmarks off), so it must not be the
# build directory of the test suite. Prints one line per check and a closing
# "N passed, N failed"; exits non-zero when any check fails.
set -euo pipefail

src=$(cd "${1:-$(dirname "$0")/..}" && pwd)
build=${2:-}
scratch=$(mktemp -d)
cleanup=("$scratch")
if [ -z "$build" ]; then
    build=$(mktemp -d)
    cleanup+=("$build")
fi
trap 'rm -rf "${cleanup[@]}"' EXIT

passed=0
failed=0
pass() {
    echo "ok:   $*"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL: $*"
    failed=$((failed + 1))
}
# check DESCRIPTION COMMAND...: one line saying whether COMMAND succeeded.
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

if ! command -v desktop-file-validate >/dev/null; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: desktop-file-utils"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        desktop-file-utils >/dev/null
fi

echo "Building the package from $src in $build"
mkdir -p "$build"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_BENCHMARKS=OFF >"$build/configure.log" ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" >"$build/build.log" 2>&1 ||
    { tail -n 50 "$build/build.log"; exit 1; }
rm -rf "$build/deb"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/deb" >"$build/cpack.log" 2>&1 ||
    { cat "$build/cpack.log"; exit 1; }

debs=("$build"/deb/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "FAIL: cpack should leave exactly one .deb in $build/deb"
    echo "0 passed, 1 failed"
    exit 1
fi
deb=${debs[0]}
pass "package built: $(basename "$deb")"

root=$scratch/root
dpkg -x "$deb" "$root"

# --- contents --------------------------------------------------------------
exe=$root/usr/bin/orvanel
entry=$root/usr/share/applications/orvanel.desktop
icons=$root/usr/share/icons/hicolor
is_program() { [[ -f $exe && -x $exe ]]; }
check "usr/bin/orvanel is an executable" is_program
check "usr/share/applications/orvanel.desktop is there" test -f "$entry"
check "scalable icon usr/share/icons/hicolor/scalable/apps/orvanel.svg is there" \
    grep -q '<svg' "$icons/scalable/apps/orvanel.svg"

# png_size FILE: "WIDTHxHEIGHT" from the PNG header, or nothing for a non-PNG.
png_size() {
    local -a b
    read -r -a b <<<"$(od -An -tu1 -N24 "$1" 2>/dev/null | tr '\n' ' ')"
    [ ${#b[@]} -eq 24 ] && [ "${b[1]}${b[2]}${b[3]}" = 807871 ] || return 0
    echo "$(((b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19]))x$(((b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23]))"
}
for size in 48x48 256x256; do
    png=$icons/$size/apps/orvanel.png
    got=$(png_size "$png")
    if [ "$got" = "$size" ]; then
        pass "icon usr/share/icons/hicolor/$size/apps/orvanel.png is a $size PNG"
    else
        fail "icon usr/share/icons/hicolor/$size/apps/orvanel.png should be a $size PNG (got '${got:-no PNG}')"
    fi
done

# --- the menu entry ----------------------------------------------------------
if out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ]; then
    pass "desktop-file-validate: no errors, no warnings"
else
    fail "desktop-file-validate: ${out:-exit status non-zero}"
fi
exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry" 2>/dev/null | head -n 1)
starts_packaged_program() { [[ -n $exec_cmd && $root/usr/bin/$exec_cmd -ef $exe ]]; }
check "the entry starts usr/bin/${exec_cmd:-?}, the packaged program" starts_packaged_program
icon_name=$(sed -n 's/^Icon=//p' "$entry" 2>/dev/null | head -n 1)
icon_installed() {
    [[ -n $icon_name && -f $icons/scalable/apps/$icon_name.svg &&
        -f $icons/48x48/apps/$icon_name.png && -f $icons/256x256/apps/$icon_name.png ]]
}
check "the entry's icon '${icon_name:-?}' is installed in every size" icon_installed

# --- control fields ----------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[^=]*=//p' "$build/CMakeCache.txt")
check "Package: $(field Package), expected orvanel" test "$(field Package)" = orvanel
check "Version: $(field Version), expected the project's $version" test "$(field Version)" = "$version"
check "Section: $(field Section), expected education" test "$(field Section)" = education

depends=$(field Depends)
echo "      Depends: $depends"
# The package names in Depends, one a line, versions and alternatives split off.
depends_names=$(sed 's/(.*//; s/[[:space:]]//g' <<<"${depends//[,|]/$'\n'}")
# depends_on PACKAGE: PACKAGE is named in Depends (with or without a version).
depends_on() { grep -Fqx -- "$1" <<<"$depends_names"; }
for p in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-ipafont-gothic fonts-ipafont-mincho; do
    check "Depends names $p" depends_on "$p"
done

# Each library the program links directly must come from a package in Depends,
# or the program may not start where the package is installed.
resolved=$(ldd "$exe" 2>/dev/null || true)
while read -r lib; do
    path=$(awk -v l="$lib" '$1 == l && $2 == "=>" {print $3; exit}' <<<"$resolved")
    owner=
    for candidate in "$path" "$(readlink -f "$path" 2>/dev/null)" "/usr$path"; do
        [ -n "$candidate" ] || continue
        owner=$(dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1) && [ -n "$owner" ] && break
    done
    if [ -z "$owner" ]; then
        fail "linked library $lib: no installed Debian package holds it"
    else
        check "linked library $lib comes from $owner, named in Depends" depends_on "$owner"
    fi
done < <(readelf -d "$exe" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
