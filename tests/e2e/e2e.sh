#!/usr/bin/env bash
# End-to-end checks of the real program under Xvfb with openbox, driven by xdotool.
#
#   tests/e2e/e2e.sh BUILD_DIR [SCREENSHOT_DIR]
#
# Every case runs Voltaro from a private copy of the application folder with a private settings
# folder, so nothing of the build or the user's own settings is touched. Prints one line per case
# and closes with "N passed, N failed".
set -u
build=$(cd "$1" && pwd)
shots=${2:-}
work=$(mktemp -d)
passed=0
failed=0
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ok() { echo "PASS: $1"; passed=$((passed + 1)); }
bad() { echo "FAIL: $1${2:+ ($2)}"; failed=$((failed + 1)); }

# Starts an X server with the given screen and openbox; sets DISPLAY.
start_x() {
    local screen=$1
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    local number=""
    read -r -t 10 number <&"$fd" || true
    exec {fd}>&-
    if [ -z "$number" ]; then echo "cannot start Xvfb"; exit 1; fi
    export DISPLAY=":$number"
    openbox >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 && break; sleep 0.1; done
}

stop_x() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    pids=()
}

# A fresh application folder and settings folder.
fresh_app() {
    app="$work/app$RANDOM"
    mkdir -p "$app"
    cp "$build/Voltaro" "$build/Zephlib.so" "$build/Voltaro.dat" "$app/"
    [ -f "$build/Tonebank.so" ] && cp "$build/Tonebank.so" "$app/"
    export XDG_CONFIG_HOME="$app/config"
    mkdir -p "$XDG_CONFIG_HOME"
    export SDL_AUDIODRIVER=dummy
}

set_option() {  # set_option "Auto Min" On
    mkdir -p "$XDG_CONFIG_HOME/Voltaro"
    printf '[QXoptions]\n%s=%s\n[Voltaro]\nDefaultsWritten=true\n' "$1" "$2" >>"$XDG_CONFIG_HOME/Voltaro/Voltaro.ini"
}

# Starts Voltaro (extra arguments passed on) and waits for its window; sets vpid and win.
start_voltaro() {
    "$app/Voltaro" "$@" >"$app/stdout" 2>"$app/stderr" &
    vpid=$!
    pids+=($vpid)
    win=""
    for _ in $(seq 100); do
        win=$(xdotool search --onlyvisible --name '^Voltaro$' 2>/dev/null | head -1)
        [ -n "$win" ] && break
        sleep 0.1
    done
    sleep 0.6  # past the first timer tick, which frees the window for dragging
}

window_x() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1/p'; }
window_y() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\2/p'; }
# The top-level window under the pointer at a screen position.
window_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool getmouse | sed -n 's/.*window:\([0-9]*\).*/\1/p'
}
# The top-level (frame) window holding a client window, in decimal as getmouse reports it.
frame_of() {
    local w=$1 root parent
    root=$(xwininfo -root | awk '/Window id:/{print $4}')
    while :; do
        parent=$(xwininfo -id "$w" -tree 2>/dev/null | awk '/Parent window id:/{print $4}')
        { [ -z "$parent" ] || [ "$parent" = "$root" ]; } && break
        w=$parent
    done
    printf '%d\n' "$w"
}
is_running() { kill -0 "$1" 2>/dev/null; }
wait_exit() {  # wait_exit PID SECONDS -> sets status
    local i
    for i in $(seq $(( $2 * 10 ))); do is_running "$1" || break; sleep 0.1; done
    if is_running "$1"; then status=timeout; kill "$1"; else wait "$1"; status=$?; fi
}
shot() { [ -n "$shots" ] && import -window root "$shots/$1.png" 2>/dev/null; }

