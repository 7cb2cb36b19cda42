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

# Runs COMMAND every 50 ms until it succeeds; returns 1 once SECONDS have passed without. Every
# wait of these scripts is one of these, bounded by the clock rather than by a count of tries: on
# a busy machine a wait takes longer, it does not end sooner.
wait_for() {  # SECONDS COMMAND...
    local end=$((${EPOCHREALTIME/[.,]/} + $1 * 1000000))
    shift
    until "$@"; do
        ((${EPOCHREALTIME/[.,]/} < end)) || return 1
        sleep 0.05
    done
}

ok() { echo "PASS: $1"; passed=$((passed + 1)); }
bad() { echo "FAIL: $1${2:+ ($2)}"; failed=$((failed + 1)); }

wm_runs() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
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
    wait_for 10 wm_runs || { echo "openbox did not take the screen"; exit 1; }
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

# Waits up to SECONDS for Voltaro's main window to show (sets win; empty after the deadline). Its
# keys take presses only from its first timer tick on: open_panel presses until one is taken.
main_window_shows() {
    win=$(xdotool search --onlyvisible --name '^Voltaro$' 2>/dev/null | head -1)
    [ -n "$win" ]
}
wait_main_window() { wait_for "$1" main_window_shows; }

# Starts Voltaro (extra arguments passed on) and waits for its window; sets vpid and win.
start_voltaro() {
    "$app/Voltaro" "$@" >"$app/stdout" 2>"$app/stderr" &
    vpid=$!
    pids+=($vpid)
    wait_main_window 30
}

at_place() { [ "$(window_x),$(window_y)" = "$1" ]; }  # X,Y: where the main window is
window_x() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1/p'; }
window_y() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\2/p'; }
# The top-level window under the pointer at a screen position.
window_at() {
    xdotool mousemove --sync "$1" "$2"
    xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'
}
# The top-level (frame) window holding a client window, in decimal as getmouse reports it.
frame_of() {
    local w=$1 root parent
    [ -n "$w" ] || return 1
    root=$(xwininfo -root | awk '/Window id:/{print $4}')
    while :; do
        parent=$(xwininfo -id "$w" -tree 2>/dev/null | awk '/Parent window id:/{print $4}')
        { [ -z "$parent" ] || [ "$parent" = "$root" ]; } && break
        w=$parent
    done
    printf '%d\n' "$w"
}
# How many Voltaro main windows are showing. xdotool's search can trip over a window that goes
# away while it looks (an X error, no answer): such a look is tried again. None found is also no
# answer, so it takes the two seconds.
look_windows() { windows=$(xdotool search --onlyvisible --name '^Voltaro$' 2>/dev/null); }
count_windows() {
    if wait_for 2 look_windows; then grep -c . <<<"$windows"; else echo 0; fi
}
is_running() { kill -0 "$1" 2>/dev/null; }
has_ended() { ! is_running "$1"; }
wait_exit() {  # wait_exit PID SECONDS -> sets status
    if wait_for "$2" has_ended "$1"; then wait "$1"; status=$?; else status=timeout; kill "$1"; fi
}
shot() { [ -n "$shots" ] && import -window root "$shots/$1.png" 2>/dev/null; }

# Where things are, from the program's layout and panel table (build/layout.sh, written by the
# build): the keys (SQUARE_X/Y, ROUND_X/Y and their sizes), the exit button's centre (OFF_X/Y), a
# plain spot of the face plate to drag by (PLATE_X/Y), the main window once centred (MAIN_X/Y),
# the conduit panel's lists (RACK_X/Y, CONDUIT_X/Y) and the keyed panels (PANELS).
. "$build/layout.sh"
CORNER_X=2; CORNER_Y=2  # outside the silhouette
SQUARE0_X=$((SQUARE_X[0] + SQUARE_SIZE / 2)); SQUARE0_Y=$((SQUARE_Y[0] + SQUARE_SIZE / 2))

# A panel's window by its title, once it shows (sets pwin; empty after SECONDS, 20 by default).
panel_window() {
    pwin=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$pwin" ]
}
find_panel() { wait_for "${2:-20}" panel_window "$1"; }
panel_shows() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
panel_gone() { ! panel_shows "$1"; }
# Waits until the panel has gone; returns 1 if it is still there after SECONDS.
wait_gone() { wait_for "$2" panel_gone "$1"; }
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
    if [ "$1" = square ]; then kx=$((SQUARE_X[$2] + SQUARE_SIZE / 2)); ky=$((SQUARE_Y[$2] + SQUARE_SIZE / 2))
    else kx=$((ROUND_X[$2] + ROUND_SIZE / 2)); ky=$((ROUND_Y[$2] + ROUND_SIZE / 2)); fi
    x=$(window_x); y=$(window_y)
    xdotool mousemove $((x + kx)) $((y + ky)) click 1
}
# Makes a key press (COMMAND...) until panel TITLE shows (sets pwin); 1 after 30 seconds. The
# keys take no press before the main window's first timer tick nor while a panel is busy (from the
# press that opens it on), so a press that was not taken is simply made again.
press_until_shown() {  # TITLE COMMAND...
    local title=$1 end=$((${EPOCHREALTIME/[.,]/} + 30000000))
    shift
    until "$@"; find_panel "$title" 2; do
        ((${EPOCHREALTIME/[.,]/} < end)) || return 1
    done
}
open_panel() { press_until_shown "$1" press_key "$2" "$3"; }  # TITLE square|round INDEX
# Another program comes to the front (sets other, its process, and other_win, its window); 1 if
# it is not the active window after 10 seconds.
other_shows() {
    other_win=$(xdotool search --onlyvisible --classname xmessage 2>/dev/null | head -1)
    [ -n "$other_win" ]
}
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
switch_away() {
    xmessage -name other "another program" &
    other=$!
    pids+=($other)
    wait_for 10 other_shows || return 1
    xdotool windowactivate "$other_win" 2>/dev/null
    wait_for 10 is_active "$other_win"
}
# The options panel's Auto Start switch (assets/layout.h) and its slider's ivory grip, 3 pixels
# into the switch when off, 10 when on.
grip_at() { [ "$(red_at $((PX + 173 + $1)) $((PY + 88 + 3)))" = 200 ]; }
switch_shows() { grip_at 3 || grip_at 10; }
# Flips Auto Start on the open options panel: once its switches show (its first tick), clicks the
# switch and waits until the grip has moved to the other end; 1 if either does not happen.
flip_auto_start() {
    panel_at
    wait_for 10 switch_shows || return 1
    local to=10
    grip_at 10 && to=3
    xdotool mousemove $((PX + 173 + 7)) $((PY + 88 + 3)) click 1
    wait_for 10 grip_at $to
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
amber_at() { [ "$(red_at $((PX + $1)) $((PY + $2)))" -gt 150 ] 2>/dev/null; }
wait_controls() {  # DNE_X DNE_Y
    panel_at
    wait_for 10 amber_at "$1" "$2"
}
# The program takes the clicks and keys in the order they were made: none needs a pause after it.
click() { xdotool mousemove $((PX + $1)) $((PY + $2)) click 1; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# Replaces the text of the box at X Y (relative to the panel), once the panel has the keyboard.
type_into() {  # X Y TEXT
    click "$1" "$2"
    wait_for 10 has_focus "$pwin"
    xdotool key ctrl+a
    xdotool type --delay 30 "$3"
}
# Whether the lists' yellow text shows anywhere in a rectangle of the screen.
shows_yellow() {  # X Y W H
    import -window root -crop "$3x$4+$1+$2" -depth 8 txt:- 2>/dev/null | grep -qi '#FFFF00'
}
# Waits until it does (the panel's controls are up, an entry has arrived); 1 after SECONDS.
wait_yellow() {  # SECONDS X Y W H
    wait_for "$1" shows_yellow "$2" "$3" "$4" "$5"
}
# A checksum of what a rectangle of the screen shows; waits until it differs from one taken before.
looks() { import -window root -crop "$3x$4+$1+$2" -depth 8 rgb:- 2>/dev/null | md5sum; }  # X Y W H
looks_other() { [ "$(looks "$2" "$3" "$4" "$5")" != "$1" ]; }
wait_change() { wait_for "$1" looks_other "$2" "$3" "$4" "$5" "$6"; }  # SECONDS SUM X Y W H
# Steps the open NEMA enclosure panel N types on with its right arrow, each click once the one
# before has shown (the type's label has changed); 1 if one does not.
step_enclosure() {  # N
    local before
    for _ in $(seq "$1"); do
        before=$(looks $((PX + 112)) $((PY + 32)) 42 20)
        click 145 66
        wait_change 10 "$before" $((PX + 112)) $((PY + 32)) 42 20 || return 1
    done
}
# The conduit fill panel's lists (RACK_X/Y, CONDUIT_X/Y: their first rows); rows are 14 pixels.
row_y() { echo $(($1 + 14 * $2 + 7)); }  # the middle of row N of a list whose top is $1
# Drags with the left button from one point of the panel to another, in small steps (a shot named
# by the fifth argument midway). The program follows the steps in order, at its own pace.
drag() {  # X1 Y1 X2 Y2 [SHOT]
    xdotool mousemove $((PX + $1)) $((PY + $2)) mousedown 1
    for s in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((PX + $1 + ($3 - $1) * s / 8)) $((PY + $2 + ($4 - $2) * s / 8))
        [ "$s" = 5 ] && [ -n "${5:-}" ] && [ -n "$shots" ] && sleep 0.3 && shot "$5"  # the outline caught up, for the picture
    done
    xdotool mouseup 1
}
# Six 10 AWG conductors from the rack (THHN, the type a fresh panel selects) into the conduit, each
# dragged once the one before has arrived; returns 1 when one has not arrived after 10 seconds.
six_tens() {
    local i
    for i in 0 1 2 3 4 5; do
        drag $RACK_X "$(row_y $RACK_Y 2)" $CONDUIT_X $((CONDUIT_Y + 60)) "$([ $i = 3 ] && echo conduit-drag)"
        wait_yellow 10 $((PX + 64)) $((PY + CONDUIT_Y + i * 14)) 90 14 || return 1
    done
}

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# The closing line of a script, and its status.
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" = 0 ]
}
