#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What a real screen reader says while the board is worked from the keyboard:
# Debian's Orca, on a virtual X display with a D-Bus session and the
# accessibility bus, listens to the desktop program or to the page in
# Chromium (its accessibility forced on); the keys are real X key events.
# Orca writes every line it speaks to its debug log ("SPEECH OUTPUT: '...'")
# before it asks a speech server, so no speech server or audio is needed.
#
#   tests/check-screen-reader.sh desktop PROGRAM
#   tests/check-screen-reader.sh page WEB_DIR   (the browser edition's folder)
#
# One scenario: "angle" ticked from the keyboard, Tab to the board, then D,
# Space, Shift+Right six times, Space. Orca must say the board's name and
# kind, "頂点 D", "頂点 D をつかみました", and after the release, once, the
# letting go with the new angles. ORVANEL_XVFB_DISPLAY (":44") picks the
# display; by default Xvfb takes a free one. Orca refuses to start while
# another Orca runs for the same user, so the two never run side by side.
set -euo pipefail

if [ "${1:-}" = --in-session ]; then
    in_session=1
    shift
fi
mode=$1
target=$2

fail() {
    echo "FAIL: $*"
    exit 1
}

if [ -z "${in_session:-}" ]; then
    for tool in orca Xvfb dbus-run-session xdotool; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh test installs it)"
    done
    [ "$mode" != page ] || command -v chromium >/dev/null || fail "chromium is missing"
    work=$(mktemp -d)
    trap 'kill "$xvfb" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
    # A home of its own: Orca's settings, the browser's profile, no desktop's
    # settings store; English role words, whatever the machine's language; no
    # speech server started (Orca's log has every line it would send one).
    mkdir -p "$work/home" "$work/run"
    chmod 700 "$work/run"
    export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/home/.config \
        XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache \
        GSETTINGS_BACKEND=memory LC_ALL=C.UTF-8 SPEECHD_CMD=/bin/false WORK=$work
    unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY LANGUAGE
    if [ -n "${ORVANEL_XVFB_DISPLAY:-}" ]; then
        Xvfb "$ORVANEL_XVFB_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        export DISPLAY=$ORVANEL_XVFB_DISPLAY
    else
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 100); do
            [ -s "$work/display" ] && break
            sleep 0.1
        done
        DISPLAY=:$(cat "$work/display")
        export DISPLAY
    fi
    for _ in $(seq 100); do
        xdotool getmouselocation >/dev/null 2>&1 && break
        sleep 0.1
    done
    # A D-Bus session of its own; the accessibility bus starts on demand.
    dbus-run-session -- "$0" --in-session "$mode" "$target" 2> >(grep -v '^dbus-daemon' >&2)
    exit
fi

log=$WORK/orca.log
started=$SECONDS
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true' EXIT

# Orca, its debug log written line by line, so that the test can wait for a
# line rather than sleep.
/usr/bin/python3 - "$log" >"$WORK/orca.out" 2>&1 <<'EOF' &
import builtins, sys
log = sys.argv[1]
plain_open = builtins.open
def line_buffered(file, mode='r', *args, **kwargs):
    if file == log and 'w' in mode:
        return plain_open(file, mode, buffering=1, encoding='utf-8')
    return plain_open(file, mode, *args, **kwargs)
builtins.open = line_buffered
sys.argv = ['orca', '--debug-file', log]
exec(compile(plain_open('/usr/bin/orca').read(), '/usr/bin/orca', 'exec'))
EOF
pids+=($!)

spoken() {
    grep -a "SPEECH OUTPUT: '" "$log" 2>/dev/null | sed "s/^.*SPEECH OUTPUT: '//; s/' *{.*$//; s/' *$//"
}
report() {
    echo "Orca said:"
    spoken | sed 's/^/  | /' || true
    echo "FAIL: $*"
    tail -5 "$WORK/orca.out" 2>/dev/null | sed 's/^/  orca: /' || true
    exit 1
}
# heard TEXT: waits (20 s at most) until Orca speaks a line holding TEXT after
# the line the last wait found.
last=0
heard() {
    local deadline=$((SECONDS + 20)) found
    while [ "$SECONDS" -lt "$deadline" ]; do
        found=$(grep -a -n "SPEECH OUTPUT: '" "$log" 2>/dev/null | awk -F: -v l="$last" '$1 > l' |
            grep -a -F -- "$1" | head -1 | cut -d: -f1 || true)
        if [ -n "$found" ]; then
            last=$found
            return
        fi
        sleep 0.1
    done
    report "Orca did not say '$1'"
}
press() {
    xdotool key --delay 80 "$@"
}

for _ in $(seq 600); do
    grep -q "ORCA: Startup complete" "$log" 2>/dev/null && break
    sleep 0.1
done
grep -q "ORCA: Startup complete" "$log" || report "Orca did not start"

if [ "$mode" = desktop ]; then
    QT_QPA_PLATFORM=xcb "$target" >"$WORK/program.out" 2>&1 &
    pids+=($!)
    kind=panel
else
    # The single-file page, as from a USB stick; no first-run questions, no
    # offer to translate, no warning bar about the sandbox (off as root).
    mkdir -p "$WORK/profile/Default"
    echo '{"translate":{"enabled":false}}' >"$WORK/profile/Default/Preferences"
    chromium --no-sandbox --test-type --no-first-run --disable-gpu --password-store=basic \
        --disable-background-networking --disable-component-update --disable-sync \
        --force-renderer-accessibility --user-data-dir="$WORK/profile" \
        --window-position=0,0 --window-size=1000,800 \
        --app="file://$target/orvanel.html" >"$WORK/program.out" 2>&1 &
    pids+=($!)
    kind=作図ボード
fi
# The window's title once the program (or the page's script) has started.
window=$(timeout 30 xdotool search --sync --onlyvisible --name 'm\.Quillon' | head -1) ||
    report "no window titled Orvanel (by m.Quillon) appeared"
# No window manager gives the window the keyboard: the test does.
xdotool windowfocus --sync "$window"
if [ "$mode" = desktop ]; then
    heard "黒板 panel" # the board has the focus from the start
else
    heard "Orvanel" # the window, or the page loaded in it
fi

press shift+Tab shift+Tab
heard "angle check box not checked"
press space
heard "∠Ａ = 41°、∠Ｂ = 35°、∠Ｃ = 56°、∠Ｄ = 132°"
press Tab Tab
heard "黒板 $kind"
heard "くさび形 ABCD" # the instructions, as the board's description
press d
heard "頂点 D"
press space
heard "頂点 D をつかみました"
grabbed=$last
press shift+Right shift+Right shift+Right shift+Right shift+Right shift+Right space
released="離しました。∠Ａ = 58°、∠Ｂ = 35°、∠Ｃ = 75°、∠Ｄ = 168°"
heard "$released"
sleep 1 # time for a second telling, which must not come

spoken_after_grab=$(grep -a -n "SPEECH OUTPUT: '" "$log" | awk -F: -v l="$grabbed" '$1 > l')
[ "$(grep -a -c -F "∠" <<<"$spoken_after_grab")" -eq 1 ] ||
    report "the angles were told more than once after the release, or during the drag"
! grep -a -q "bad content sent to speak" "$log" || report "Orca was sent what it cannot speak"
echo "Orca said, in $((SECONDS - started)) s:"
spoken | sed 's/^/  | /'
echo "PASS: $mode"
