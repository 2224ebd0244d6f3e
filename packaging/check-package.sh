#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a copy of the tree as a packager would
# (dpkg-source -b, then dpkg-buildpackage -us -uc -b) and checks it:
#  - lintian -I --pedantic on the source and the binary package: no error,
#    no warning (its whole output is printed);
#  - the package holds the program, the menu entry, the icons at every size,
#    the metainfo and the manual page, and the same files as `cmake --install`
#    (besides Debian's copyright and changelog);
#  - the menu entry, the metainfo and the icons share the application id;
#  - the control fields make it installable: the version is the project's,
#    every library the program links comes from a package in Depends, and
#    Depends names the Qt platform plugins and the two fonts;
#  - the packaged program, started on a virtual X display, shows its own icon
#    under the window class the menu entry names (StartupWMClass), once from
#    the icons installed next to it and once from the icon theme.
#
#   packaging/check-package.sh [SOURCE_DIR [WORK_DIR]]
#
# SOURCE_DIR defaults to the checkout this script is in; its files as Git sees
# them (tracked and new, not ignored) are copied into WORK_DIR/pkg and built
# there. WORK_DIR defaults to a temporary directory that is removed
# afterwards. Prints one line per check and a closing "N passed, N failed";
# exits non-zero when any check fails.
set -euo pipefail

src=$(cd "${1:-$(dirname "$0")/..}" && pwd)
if [ -n "${2:-}" ]; then
    mkdir -p "$2"
    work=$(cd "$2" && pwd)/pkg
    rm -rf "$work"
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"

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

"$src/scripts/install-deps.sh" package

# --- build -------------------------------------------------------------------
tree=$work/orvanel
mkdir -p "$tree"
if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Files deleted in the work tree but still tracked are skipped.
    (cd "$src" && git ls-files -co --exclude-standard -z |
        tar --null --ignore-failed-read -T - -cf - 2>/dev/null) | tar -xf - -C "$tree"
else
    tar -C "$src" --exclude='./build*' --exclude='./obj-*' --exclude=./.git -cf - . |
        tar -xf - -C "$tree"
fi
echo "Building the package from $src in $work"
(cd "$work" && dpkg-source -b orvanel) >"$work/source.log" 2>&1 ||
    { cat "$work/source.log"; exit 1; }
(cd "$tree" && dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1 ||
    { tail -n 50 "$work/build.log"; exit 1; }

arch=$(dpkg --print-architecture)
debs=("$work"/orvanel_*_"$arch".deb)
changes=("$work"/orvanel_*_"$arch".changes)
dscs=("$work"/orvanel_*.dsc)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ] || [ ! -f "${changes[0]}" ] || [ ! -f "${dscs[0]}" ]; then
    echo "FAIL: expected one .dsc, one orvanel .deb and one .changes in $work"
    echo "0 passed, 1 failed"
    exit 1
fi
deb=${debs[0]}
pass "package built: $(basename "$deb")"
if grep -Eq "warning:|CMake Warning \(dev\)" "$work/build.log"; then
    grep -E "warning:|CMake Warning \(dev\)" "$work/build.log" | head -n 10
    fail "the build prints no compiler warning"
else
    pass "the build prints no compiler warning"
fi

# --- lintian -------------------------------------------------------------------
lintian_out=$(lintian -I --pedantic "${dscs[0]}" "${changes[0]}" 2>&1 |
    grep -v '^running with root privileges' || true)
echo "      lintian -I --pedantic: ${lintian_out:-(nothing)}" | sed '2,$s/^/      /'
if grep -Eq '^[EW]: ' <<<"$lintian_out"; then
    fail "lintian reports errors or warnings"
else
    pass "lintian: no error, no warning"
fi

# --- contents ----------------------------------------------------------------
root=$work/root
dpkg -x "$deb" "$root"
app_id=$(sed -n 's/^set(ORVANEL_APP_ID \([^)]*\))/\1/p' "$src/CMakeLists.txt")
exe=$root/usr/bin/orvanel
entry=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
icons=$root/usr/share/icons/hicolor
is_program() { [[ -f $exe && -x $exe ]]; }
check "usr/bin/orvanel is an executable" is_program
check "menu entry usr/share/applications/$app_id.desktop is there" test -f "$entry"
check "metainfo usr/share/metainfo/$app_id.metainfo.xml is there" test -f "$metainfo"
check "manual page usr/share/man/man1/orvanel.1.gz is there" \
    test -f "$root/usr/share/man/man1/orvanel.1.gz"

# The same files as `cmake --install` of the package's own build, but for
# Debian's copyright and changelog and the compressed manual page.
prefix=$work/prefix
cmake --install "$tree/obj-$(dpkg-architecture -qDEB_HOST_GNU_TYPE)" --prefix "$prefix" \
    >/dev/null
from_cmake=$(cd "$prefix" && find . -type f | sort)
from_deb=$(cd "$root/usr" && find . -type f ! -path './share/doc/orvanel/*' | sed 's/\.gz$//' | sort)
if [ "$from_cmake" = "$from_deb" ]; then
    pass "the package installs the same $(wc -l <<<"$from_deb") files as cmake --install"
else
    fail "the package and cmake --install differ:"
    diff <(echo "$from_cmake") <(echo "$from_deb") | sed -n 's/^\([<>]\)/      \1/p'
fi

# png_size FILE: "WIDTHxHEIGHT" from the PNG header, or nothing for a non-PNG.
png_size() {
    local -a b
    read -r -a b <<<"$(od -An -tu1 -N24 "$1" 2>/dev/null | tr '\n' ' ')"
    [ ${#b[@]} -eq 24 ] && [ "${b[1]}${b[2]}${b[3]}" = 807871 ] || return 0
    echo "$(((b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19]))x$(((b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23]))"
}
icon_name=$(sed -n 's/^Icon=//p' "$entry" 2>/dev/null | head -n 1)
check "the entry's icon is named by the application id ('${icon_name:-?}')" \
    test "$icon_name" = "$app_id"
for size in 16x16 22x22 32x32 48x48 64x64 128x128 256x256; do
    png=$icons/$size/apps/$icon_name.png
    got=$(png_size "$png")
    if [ "$got" = "$size" ]; then
        pass "icon hicolor/$size/apps/$icon_name.png is a $size PNG"
    else
        fail "icon hicolor/$size/apps/$icon_name.png should be a $size PNG (got '${got:-no PNG}')"
    fi
done
check "icon hicolor/scalable/apps/$icon_name.svg is an SVG" \
    grep -q '<svg' "$icons/scalable/apps/$icon_name.svg"

# --- the menu entry and the metainfo ------------------------------------------
if out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ]; then
    pass "desktop-file-validate: no errors, no warnings"
else
    fail "desktop-file-validate: ${out:-exit status non-zero}"
fi
# The action that opens the last board is named as the program names it
# (src/window/captions.h, kOpenLastBoard: the Japanese, then the English).
caption=$(sed -n 's/.*kOpenLastBoard{"\([^"]*\)", *"\([^"]*\)"}.*/\2|\1/p' "$src/src/window/captions.h")
action=$(sed -n '/^\[Desktop Action last\]/,/^\[/{s/^Name=//p}' "$entry" 2>/dev/null)\|$(
    sed -n '/^\[Desktop Action last\]/,/^\[/{s/^Name\[ja\]=//p}' "$entry" 2>/dev/null)
check "the action 'last' is named '$action', as the program names it" \
    test -n "$caption" -a "$action" = "$caption"
exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry" 2>/dev/null | head -n 1)
starts_packaged_program() { [[ -n $exec_cmd && $root/usr/bin/$exec_cmd -ef $exe ]]; }
check "the entry starts usr/bin/${exec_cmd:-?}, the packaged program" starts_packaged_program
metainfo_id=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo" 2>/dev/null)
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo" 2>/dev/null)
check "the metainfo's id ($metainfo_id) is the application id" test "$metainfo_id" = "$app_id"
check "the metainfo launches the menu entry ($launchable)" test "$launchable" = "$app_id.desktop"

# --- control fields ------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
version=$(sed -n 's/^project(orvanel VERSION \([^ ]*\).*/\1/p' "$src/CMakeLists.txt")
check "Package: $(field Package), expected orvanel" test "$(field Package)" = orvanel
check "Version: $(field Version), expected the project's $version" test "$(field Version)" = "$version"
check "Section: $(field Section), expected education" test "$(field Section)" = education
check "Recommends: $(field Recommends), expected qt6-wayland" test "$(field Recommends)" = qt6-wayland

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

# --- the window on a virtual X display -------------------------------------------
title="Orvanel (by m.Quillon)"
mkdir -m 700 "$work/runtime"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
    display_number=$(cat "$work/display")
    [ -n "$display_number" ] && break
    sleep 0.2
done
# show_window PROGRAM DATA_DIRS: starts PROGRAM on the display with the icon
# theme looked up in DATA_DIRS; sets $wm_class and $icon_sizes from its window
# (empty when there is none) and prints what the program printed.
show_window() {
    local program=$1 app
    DISPLAY=:$display_number XDG_DATA_DIRS=$2 XDG_DATA_HOME=$work/no-data \
        XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb "$program" >"$work/window.log" 2>&1 &
    app=$!
    for _ in $(seq 50); do
        DISPLAY=:$display_number xwininfo -name "$title" >/dev/null 2>&1 && break
        sleep 0.2
    done
    wm_class=$(DISPLAY=:$display_number xprop -name "$title" -notype WM_CLASS 2>/dev/null |
        sed -n 's/.*= "[^"]*", "\([^"]*\)"/\1/p') || true
    icon_sizes=$(DISPLAY=:$display_number xprop -len 10000000 -name "$title" _NET_WM_ICON 2>/dev/null |
        sed -n 's/.*Icon (\([0-9]*\) x \([0-9]*\)).*/\1x\2/p' | sort -n | tr '\n' ' ') || true
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    sed 's/^/      program: /' "$work/window.log"
}
startup_class=$(sed -n 's/^StartupWMClass=//p' "$entry" | head -n 1)
if [ -z "${display_number:-}" ]; then
    fail "Xvfb did not start: the window could not be checked"
else
    # The theme cannot know the icon (it is not in XDG_DATA_DIRS): the program
    # takes the icons installed next to it.
    show_window "$exe" "$work/no-data"
    check "the window's class is '${wm_class:-?}', the entry's StartupWMClass '$startup_class'" \
        test -n "$startup_class" -a "$wm_class" = "$startup_class"
    check "the window shows the installed icon (_NET_WM_ICON sizes: ${icon_sizes:-none})" \
        test -n "$icon_sizes"
    # A lone copy of the program has no icons next to it: the theme has to
    # supply them. The theme's index, which hicolor-icon-theme provides on a
    # desktop, is written here for the package's icon directories.
    mkdir -p "$work/lone"
    cp "$exe" "$work/lone/"
    {
        echo "[Icon Theme]"
        echo "Name=Hicolor"
        echo "Directories=$(cd "$icons" && echo */apps | tr ' ' ',')"
        for dir in "$icons"/*/apps; do
            size=${dir%/apps}
            size=${size##*/}
            echo
            echo "[$size/apps]"
            if [ "$size" = scalable ]; then
                printf 'Size=64\nMinSize=16\nMaxSize=512\nType=Scalable\n'
            else
                printf 'Size=%s\nType=Fixed\n' "${size%x*}"
            fi
        done
    } >"$icons/index.theme"
    show_window "$work/lone/orvanel" "$root/usr/share"
    check "the window shows the theme's icon (_NET_WM_ICON sizes: ${icon_sizes:-none})" \
        test -n "$icon_sizes"
fi
kill "$xvfb" 2>/dev/null || true
wait "$xvfb" 2>/dev/null || true

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
