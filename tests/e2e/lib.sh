# Shared by the end-to-end scripts: sourced first, with the build folder and an optional
# screenshot folder as the script's arguments. It isolates the run, sets up the counters, the X
# server helpers, a private application folder per case, the pointer and window helpers, typing
# and dragging in the panels, and reading a printed page.
# Every script ends with `finish`.
set -u
# Voltaro runs once per user: its instance socket lives in the abstract namespace of the network
# namespace. A private network namespace (when we may make one, as root in CI) keeps these checks
# from handing over to, or being handed over by, a Voltaro running elsewhere on the machine.
if [ -z "${VOLTARO_E2E_ISOLATED:-}" ] && unshare -n true 2>/dev/null; then
    VOLTARO_E2E_ISOLATED=1 exec unshare -n bash "$0" "$@"
fi
build=$(cd "$1" && pwd)
shots=${2:-}
work=$(mktemp -d)
passed=0
failed=0
pids=()

# Ends what this script started and has not waited for yet. Only its own running jobs: a process
# already waited for may have handed its number to another program on the machine by now.
end_ours() {
    local running pid
    running=$(jobs -p)
    for pid in "${pids[@]}"; do grep -qx "$pid" <<<"$running" && kill "$pid" 2>/dev/null; done
}
cleanup() {
    end_ours
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ok() { echo "PASS: $1"; passed=$((passed + 1)); }
bad() { echo "FAIL: $1${2:+ ($2)}"; failed=$((failed + 1)); }

# Starts an X server with the given screen and openbox, and waits until openbox manages the screen;
# sets DISPLAY. -noreset: the server would otherwise reset whenever its last client leaves (a probe
# before openbox has connected), and a program connecting just then is turned away.
start_x() {
    local screen=$1
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 "$screen" -nolisten tcp -noreset >/dev/null 2>&1 &
    pids+=($!)
    local number=""
    read -r -t 10 number <&"$fd" || true
    exec {fd}>&-
    if [ -z "$number" ]; then echo "cannot start Xvfb"; exit 1; fi
    export DISPLAY=":$number"
    openbox >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
        sleep 0.1
    done
    echo "openbox did not take the screen"; exit 1
}

stop_x() {
    end_ours
    wait 2>/dev/null
    pids=()
}

# A fresh application folder and settings folder.
fresh_app() {
    app="$work/app$RANDOM"
    mkdir -p "$app"
    cp "$build/Voltaro" "$build/Zephlib.so" "$build/Voltaro.dat" "$app/"
    [ -f "$build/Tonebank.so" ] && cp "$build/Tonebank.so" "$app/"
    export XDG_CONFIG_HOME="$app/config" XDG_DATA_HOME="$app/data"
    mkdir -p "$XDG_CONFIG_HOME"
    export SDL_AUDIODRIVER=dummy
}

set_option() {  # set_option "Auto Min" On
    mkdir -p "$XDG_CONFIG_HOME/Voltaro"
    printf '[QXoptions]\n%s=%s\n[Voltaro]\nDefaultsWritten=true\n' "$1" "$2" >>"$XDG_CONFIG_HOME/Voltaro/Voltaro.ini"
}

# Waits up to SECONDS for Voltaro's main window to show (sets win; empty after the deadline), then
# past its first timer tick, which frees the keys and the window for dragging.
wait_main_window() {
    win=""
    for _ in $(seq $(( $1 * 10 ))); do
        win=$(xdotool search --onlyvisible --name '^Voltaro$' 2>/dev/null | head -1)
        [ -n "$win" ] && break
        sleep 0.1
    done
    sleep 0.6
}

# Starts Voltaro (extra arguments passed on) and waits for its window; sets vpid and win.
start_voltaro() {
    "$app/Voltaro" "$@" >"$app/stdout" 2>"$app/stderr" &
    vpid=$!
    pids+=($vpid)
    wait_main_window 10
}

window_x() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1/p'; }
window_y() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\2/p'; }
# The top-level window under the pointer at a screen position.
window_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'
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
# How many Voltaro main windows are showing. xdotool's search can trip over a window that goes
# away while it looks (an X error, no answer): such a look is tried again.
count_windows() {
    local out
    for _ in $(seq 10); do
        if out=$(xdotool search --onlyvisible --name '^Voltaro$' 2>/dev/null); then
            echo "$out" | grep -c .
            return
        fi
        sleep 0.2
    done
    echo 0
}
is_running() { kill -0 "$1" 2>/dev/null; }
wait_exit() {  # wait_exit PID SECONDS -> sets status
    local i
    for i in $(seq $(( $2 * 10 ))); do is_running "$1" || break; sleep 0.1; done
    if is_running "$1"; then status=timeout; kill "$1"; else wait "$1"; status=$?; fi
}
shot() { [ -n "$shots" ] && import -window root "$shots/$1.png" 2>/dev/null; }

# Geometry of the face, from the skin's layout: the exit button's centre, a plain spot of the face
# plate to drag by, and a corner outside the silhouette.
OFF_X=$((147 + 42)); OFF_Y=$((462 + 15))
PLATE_X=134; PLATE_Y=215
CORNER_X=2; CORNER_Y=2
SQUARE0_X=$((67 + 17)); SQUARE0_Y=$((236 + 17))

# A panel's window by its title, once it shows (sets pwin; empty after the deadline).
find_panel() {
    pwin=""
    for _ in $(seq 100); do
        pwin=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$pwin" ] && return
        sleep 0.1
    done
}
panel_shows() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# Waits until the panel has gone; returns 1 if it is still there after SECONDS.
wait_gone() {
    for _ in $(seq $(( $2 * 10 ))); do panel_shows "$1" || return 0; sleep 0.1; done
    return 1
}
# Clicks a point of a panel (relative to it) until the panel has gone: its controls show only
# from its first timer tick on, and a click before that lands on the picture.
click_until_gone() {  # TITLE X Y
    local i px py
    for i in $(seq 20); do
        panel_shows "$1" || return 0
        eval "$(xdotool getwindowgeometry --shell "$pwin" 2>/dev/null | sed 's/^/P/')"
        [ -n "${PX:-}" ] && xdotool mousemove $((PX + $2)) $((PY + $3)) click 1
        wait_gone "$1" 1 && return 0
    done
    return 1
}
press_key() {  # square|round INDEX
    local kx ky
    if [ "$1" = square ]; then kx=$((SQUARE_X[$2] + 17)); ky=$((SQUARE_Y[$2] + 17))
    else kx=$((ROUND_X[$2] + 18)); ky=$((ROUND_Y[$2] + 18)); fi
    x=$(window_x); y=$(window_y)
    xdotool mousemove $((x + kx)) $((y + ky)) click 1
}
# Another program comes to the front (sets other, its process).
switch_away() {
    local other_win=""
    xmessage -name other "another program" &
    other=$!
    pids+=($other)
    for _ in $(seq 50); do
        other_win=$(xdotool search --onlyvisible --classname xmessage 2>/dev/null | head -1)
        [ -n "$other_win" ] && break
        sleep 0.1
    done
    xdotool windowactivate "$other_win" 2>/dev/null
}
# The lines of a results log that a printed page (a PDF) lacks, each in brackets; nothing when it
# holds them all. Runs of blanks are squeezed: the text read back from a PDF has no exact spacing.
lines_missing_from_pdf() {  # LOG PDF
    local page line missing=""
    page=$(pdftotext -layout "$2" - 2>/dev/null | tr -s ' ')
    while IFS= read -r line; do
        line=$(tr -s ' ' <<<"${line%$'\r'}")
        [ -n "$line" ] && ! grep -qF -- "$line" <<<"$page" && missing+="[$line] "
    done <"$1"
    echo "$missing"
}

# ---- inside the panels: PX, PY are the open panel's screen position ---------------------------
# The red of a pixel of the screen.
red_at() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*(\([0-9]*\),.*/\1/p'; }
panel_at() { eval "$(xdotool getwindowgeometry --shell "$pwin" | sed 's/^/P/')"; }
# Waits until the panel's controls show (its first timer tick): the calculate button's amber is
# drawn over the drawer's dark slot. Sets PX, PY.
wait_controls() {  # DNE_X DNE_Y
    panel_at
    for _ in $(seq 100); do
        [ "$(red_at $((PX + $1)) $((PY + $2)))" -gt 150 ] 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}
click() { xdotool mousemove $((PX + $1)) $((PY + $2)) click 1; sleep 0.1; }
# Replaces the text of the box at X Y (relative to the panel).
type_into() {  # X Y TEXT
    click "$1" "$2"
    xdotool key ctrl+a
    xdotool type --delay 30 "$3"
}
# Whether the lists' yellow text shows anywhere in a rectangle of the screen.
shows_yellow() {  # X Y W H
    import -window root -crop "$3x$4+$1+$2" -depth 8 txt:- 2>/dev/null | grep -qi '#FFFF00'
}
# Waits until it does (the panel's controls are up, an entry has arrived); 1 after SECONDS.
wait_yellow() {  # SECONDS X Y W H
    local i
    for i in $(seq $(($1 * 10))); do shows_yellow "$2" "$3" "$4" "$5" && return 0; sleep 0.1; done
    return 1
}
# The conduit fill panel (assets/layout.h); list rows are 14 pixels.
RACK_X=26; RACK_Y=191            # the wire rack's first row
CONDUIT_X=109; CONDUIT_Y=191     # the conduit list's first row
row_y() { echo $(($1 + 14 * $2 + 7)); }  # the middle of row N of a list whose top is $1
# Drags with the left button from one point of the panel to another, in small steps (a shot named
# by the fifth argument midway).
drag() {  # X1 Y1 X2 Y2 [SHOT]
    xdotool mousemove $((PX + $1)) $((PY + $2)) mousedown 1
    for s in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((PX + $1 + ($3 - $1) * s / 8)) $((PY + $2 + ($4 - $2) * s / 8))
        sleep 0.03
        [ "$s" = 5 ] && [ -n "${5:-}" ] && shot "$5"
    done
    xdotool mouseup 1
}
# Six 10 AWG conductors from the rack (THHN, the type a fresh panel selects) into the conduit;
# returns 1 when the sixth entry has not arrived after 10 seconds.
six_tens() {
    local i
    for i in 1 2 3 4 5 6; do
        drag $RACK_X "$(row_y $RACK_Y 2)" $CONDUIT_X $((CONDUIT_Y + 60)) "$([ $i = 4 ] && echo conduit-drag)"
        sleep 0.1
    done
    wait_yellow 10 $((PX + 64)) $((PY + CONDUIT_Y + 5 * 14)) 90 14
}

SQUARE_X=(67 167 67 167); SQUARE_Y=(236 236 300 300)
ROUND_X=(48 116 184); ROUND_Y=(384 384 384)
# The main window, centred by the first key press on a 1024 x 768 screen.
MAIN_X=378; MAIN_Y=111

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# The closing line of a script, and its status.
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" = 0 ]
}
