#!/usr/bin/env bash
# Runs one end-to-end test script against the real program on a private X
# server: Xvfb with the Spanish keyboard layout, openbox for window frames and
# focus, a private D-Bus session with the accessibility bus, and scratch folders
# for everything the program or the tests write. Whatever it started is ended
# and the scratch folder is removed when it returns, also after a failure or a
# timeout.
#
# Usage: run_e2e.sh BINARY SOURCE_DIR TEST_SCRIPT [unittest arguments...]
#   BINARY       the quirtel executable
#   SOURCE_DIR   the source tree; its datos/ folder is what the program reads
#   TEST_SCRIPT  a Python unittest file next to quirtel_e2e.py
# Environment: QUIRTEL_E2E_TIMEOUT  seconds the test script may run (default 540)
#              QUIRTEL_E2E_KEEP=1   keep the scratch folder (logs) for inspection
set -euo pipefail

if [ $# -lt 3 ]; then
    sed -n '9,14p' "$0" >&2
    exit 2
fi

# The servers, the program instances and their helpers run in a process group
# of their own, so that the cleanup can end all of them by that group's id,
# including processes they start themselves (the accessibility bus, forked
# xclip owners). This first copy of the script only waits for that group's
# leader and passes an interruption on to it.
if [ "$(ps -o pgid= $$ | tr -d ' ')" != "$$" ]; then
    setsid bash "$0" "$@" &
    leader=$!
    trap 'kill -TERM "$leader" 2>/dev/null' INT TERM HUP
    status=0
    wait "$leader" || status=$?
    while kill -0 "$leader" 2>/dev/null; do
        status=0
        wait "$leader" || status=$?
    done
    exit "$status"
fi

binary=$(realpath "$1")
source_dir=$(realpath "$2")
script=$(realpath "$3")
shift 3
limit=${QUIRTEL_E2E_TIMEOUT:-540}
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher

fail() {
    echo "run_e2e.sh: $*" >&2
    exit 1
}

[ -x "$binary" ] || fail "no program at $binary"
[ -d "$source_dir/datos" ] || fail "no datos/ folder in $source_dir"
[ -f "$script" ] || fail "no test script $script"
for tool in Xvfb openbox setxkbmap xdotool xclip xwininfo xprop dbus-daemon timeout setsid; do
    command -v "$tool" >/dev/null || fail "missing $tool: run tools/deps.sh test"
done
[ -x "$launcher" ] || fail "missing $launcher: run tools/deps.sh test"
[ -x "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null ||
    fail "missing pyatspi for $python: run tools/deps.sh test"

work=$(mktemp -d "${TMPDIR:-/tmp}/quirtel-e2e.XXXXXX")
cleaning=0
cleanup() {
    local status=$?
    [ "$cleaning" = 1 ] && return
    cleaning=1
    trap '' TERM INT HUP
    # Every process of this group but this shell: the servers, the program
    # instances a failed test left behind, forked xclip owners.
    local others
    others=$(pgrep -g $$ | grep -vx $$ || true)
    kill -TERM -- "-$$" 2>/dev/null || true
    local deadline=$((SECONDS + 5)) pid
    for pid in $others; do
        while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
            sleep 0.05
        done
        # Only if that id still belongs to this group (ids are reused).
        if [ "$(ps -o pgid= -p "$pid" 2>/dev/null | tr -d ' ')" = "$$" ]; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    done
    if [ "${QUIRTEL_E2E_KEEP:-0}" = 1 ]; then
        echo "run_e2e.sh: scratch folder kept: $work" >&2
    else
        rm -rf "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
trap 'exit 129' HUP

# Waits until the command succeeds, up to $1 seconds.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

mkdir -p "$work/home" "$work/runtime" "$work/logs"
chmod 700 "$work/runtime"

# X server on the first free display; it writes the number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$work/display" >"$work/logs/xvfb.log" 2>&1 &
wait_for 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/logs/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

setxkbmap -layout es || fail "setxkbmap es failed"
setxkbmap -query | grep -qE '^layout: +es$' || fail "the es layout is not active"

# Session bus, then the accessibility bus launcher on it.
dbus-daemon --session --nofork --nopidfile --print-address=4 \
    4>"$work/bus" >"$work/logs/dbus.log" 2>&1 &
wait_for 20 test -s "$work/bus" || fail "dbus-daemon did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
export XDG_CONFIG_HOME="$work/home/.config"
export XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share"

"$launcher" --launch-immediately >"$work/logs/at-spi.log" 2>&1 &

openbox --sm-disable >"$work/logs/openbox.log" 2>&1 &
wait_for 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "openbox did not start: $(cat "$work/logs/openbox.log")"

# What the program and the test script see. The locale is a UTF-8 one that
# exists everywhere; the input method is the toolkit's default (compose).
export LANG=C.UTF-8
unset LC_ALL LANGUAGE QT_IM_MODULE XMODIFIERS QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
export QT_QPA_PLATFORM=xcb
export QT_ACCESSIBILITY=1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export PYTHONDONTWRITEBYTECODE=1
# pyatspi warns about its own use of deprecated calls.
export PYTHONWARNINGS=ignore::DeprecationWarning
export QUIRTEL_E2E_BINARY="$binary"
export QUIRTEL_E2E_DATOS="$source_dir/datos"
export QUIRTEL_E2E_WORK="$work"

cd "$work"
echo "run_e2e.sh: DISPLAY=$DISPLAY, script $(basename "$script"), limit ${limit}s"
# In the background, so that a signal to this shell runs the cleanup at once.
timeout --foreground -k 10 "$limit" "$python" -u "$script" -v "$@" &
status=0
wait $! || status=$?
if [ $status -eq 124 ] || [ $status -eq 137 ]; then
    echo "run_e2e.sh: $(basename "$script") was stopped after ${limit}s" >&2
fi
exit $status
