#!/usr/bin/env bash
# End-to-end checks of the real program under Xvfb with openbox, driven by xdotool.
#
#   tests/e2e/e2e.sh BUILD_DIR [SCREENSHOT_DIR]
#
# Every case runs Voltaro from a private copy of the application folder with a private settings
# folder, so nothing of the build or the user's own settings is touched. Prints one line per case
# and closes with "N passed, N failed".
source "$(dirname "$0")/lib.sh"

# ---- on an ordinary screen -------------------------------------------------------------------
start_x 1024x768x24

fresh_app
start_voltaro
if [ -n "$win" ]; then ok "the window is shown"; else bad "the window is shown" "$(cat "$app/stderr")"; fi
shot normal
wait_for 10 at_place 67,67  # the window manager places the window after it shows
x=$(window_x); y=$(window_y)
if [ "$x" = 67 ] && [ "$y" = 67 ]; then ok "it starts at 1000, 1000 twips"; else bad "it starts at 1000, 1000 twips" "at $x,$y"; fi

frame=$(frame_of "$win")
x=$(window_x); y=$(window_y)
on_face=$(window_at $((x + PLATE_X)) $((y + PLATE_Y)))
off_face=$(window_at $((x + CORNER_X)) $((y + CORNER_Y)))
if [ "$on_face" = "$frame" ] && [ -n "$off_face" ] && [ "$off_face" != "$frame" ]; then
    ok "the window is shaped: a key-colour corner belongs to what lies behind"
else
    bad "the window is shaped" "face $on_face, corner $off_face, window $frame"
fi

# The key opens its panel on the press, and centres the window; once the panel is closed the face
# drags.
press_until_shown "Wire Size" xdotool mouseup 1 mousemove $((x + SQUARE0_X)) $((y + SQUARE0_Y)) mousedown 1
shot key-held-down
xdotool mouseup 1
click_until_gone "Wire Size" 162 342
# On a loaded machine the main timer may take the panel's close for a moment away from the
# program and re-centre the window, during a drag too: a drag that was undone is made again.
drag_face() {
    x=$(window_x); y=$(window_y)
    xdotool mousemove $((x + PLATE_X)) $((y + PLATE_Y)) mousedown 1
    xdotool mousemove_relative --sync 60 40
    xdotool mousemove_relative --sync 30 20
    xdotool mouseup 1
    wait_for 5 at_place $((x + 90)),$((y + 60))
}
drag_face || drag_face || drag_face
nx=$(window_x); ny=$(window_y)
if [ "$nx" = $((x + 90)) ] && [ "$ny" = $((y + 60)) ]; then ok "dragging the face moves the window"
else bad "dragging the face moves the window" "from $x,$y to $nx,$ny"; fi

# A second start hands over to the running one, which comes to the front, and shows nothing.
switch_away
"$app/Voltaro" >"$app/stdout2" 2>"$app/stderr2" &
second=$!
wait_exit $second 10
wait_for 10 is_active "$win"
count=$(count_windows)
active=$(xdotool getactivewindow 2>/dev/null)
if [ "$status" = 0 ] && [ "$count" = 1 ] && [ "$active" = "$win" ] && is_running "$vpid"; then
    ok "a second start hands over, raises the first and exits"
else
    bad "a second start hands over" "status $status, $count windows, active $active, first $win"
fi
kill $other 2>/dev/null

# Two starts at the same moment (besides the running one) still leave one window.
"$app/Voltaro" 2>/dev/null & a=$!
"$app/Voltaro" 2>/dev/null & b=$!
wait_exit $a 10; sa=$status
wait_exit $b 10; sb=$status
count=$(count_windows)  # both have ended, and their windows, if any, with them
if [ "$sa" = 0 ] && [ "$sb" = 0 ] && [ "$count" = 1 ]; then ok "starts at the same moment give one window"
else bad "starts at the same moment give one window" "$sa $sb $count"; fi

# The exit button: the results log goes, the database is compacted and still opens.
printf 'a result\r\n' >"$app/~qxrslt.dat"
x=$(window_x); y=$(window_y)
xdotool mousemove $((x + OFF_X)) $((y + OFF_Y)) click 1
wait_exit "$vpid" 15
if [ "$status" = 0 ] && [ ! -e "$app/~qxrslt.dat" ] && [ ! -e "$app/TmpCmpct.mdb" ] &&
    "$build/voltaro-cli" --app-dir "$app" dump FuseSize | grep -qx 6000; then
    ok "the exit button removes the results log and leaves a valid compacted database"
else
    bad "the exit button" "status $status; $(ls "$app")"
fi

# Auto Min: switching to another program minimises the window within a few ticks.
fresh_app
set_option "Auto Min" On
start_voltaro
is_hidden() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_HIDDEN; }
switch_away
since=${EPOCHREALTIME/[.,]/}
if wait_for 10 is_hidden "$win"; then
    ok "Auto Min minimises the window after a switch (after $(((${EPOCHREALTIME/[.,]/} - since) / 1000)) ms)"
else bad "Auto Min minimises the window after a switch"; fi
# A second start brings it back, and it stays (it is in front, not another program).
"$app/Voltaro" 2>/dev/null &
wait_exit $! 10
sleep 1.5
if [ "$status" = 0 ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$win" ]; then
    ok "with Auto Min a second start brings the window back to stay"
else bad "with Auto Min a second start brings the window back to stay" "status $status"; fi
# Closed by the window manager (Alt+F4), the program ends; the results log stays.
printf 'a result\r\n' >"$app/~qxrslt.dat"
xdotool windowactivate --sync "$win" key alt+F4 2>/dev/null
wait_exit "$vpid" 5
if [ "$status" = 0 ] && [ -e "$app/~qxrslt.dat" ]; then ok "closing the window (Alt+F4) ends the program"
else bad "closing the window (Alt+F4) ends the program" "status $status"; fi
kill $other 2>/dev/null

# Without Auto Min the window stays.
fresh_app
set_option "Auto Min" Off
start_voltaro
switch_away
sleep 1  # nothing shows that the main timer looked and rightly did nothing: three of its ticks
if is_hidden "$win"; then bad "without Auto Min the window stays"
else ok "without Auto Min the window stays"; fi
kill $other "$vpid" 2>/dev/null
wait_exit "$vpid" 5
[ "$status" = 0 ] && ok "SIGTERM ends the program" || bad "SIGTERM ends the program" "status $status"

# The command line "min" minimises at the first tick; "MIN" does not: a key that opens its panel
# shows that the first tick has passed.
# Minimised at once, the window may never be seen showing: any window of that name will do.
minimised() { for win in $(xdotool search --name '^Voltaro$' 2>/dev/null); do is_hidden "$win" && return; done; return 1; }
for arg in min MIN; do
    fresh_app
    "$app/Voltaro" "$arg" >"$app/stdout" 2>"$app/stderr" &
    vpid=$!
    pids+=($vpid)
    hidden=no
    if [ "$arg" = min ]; then wait_for 10 minimised && hidden=yes
    elif ! wait_main_window 30 || ! open_panel "Motor Starter" round 0; then hidden="unknown: no key took a press"
    elif is_hidden "$win"; then hidden=yes; fi
    want=no; [ "$arg" = min ] && want=yes
    if [ "$hidden" = "$want" ]; then ok "started with \"$arg\": minimised $want"
    else bad "started with \"$arg\"" "minimised $hidden"; fi
    kill "$vpid" 2>/dev/null
    wait "$vpid" 2>/dev/null
done

# A failed start says why in one message box; Enter closes it (sets box, status).
failed_start() {
    "$app/Voltaro" >"$app/stdout" 2>"$app/stderr" & local p=$!
    for _ in $(seq 100); do
        box=$(xdotool search --onlyvisible --name '^Voltaro cannot start$' 2>/dev/null | head -1)
        [ -n "$box" ] && xdotool windowactivate --sync "$box" key Return 2>/dev/null && break
        sleep 0.1
    done
    wait_exit $p 10
}

# A missing or empty reference database ends start-up with no window but the box, status 1 and the
# reason on stderr; the empty file stays empty (the program writes nothing into a file it refuses).
for data in missing empty; do
    fresh_app
    if [ $data = missing ]; then rm "$app/Voltaro.dat"; else : >"$app/Voltaro.dat"; fi
    failed_start
    count=$(xdotool search --name '^Voltaro$' 2>/dev/null | wc -l)
    if [ $data = missing ]; then left=$([ -e "$app/Voltaro.dat" ] && echo there || echo gone)
    else left=$(stat -c %s "$app/Voltaro.dat"); fi
    want=gone; reason=Voltaro.dat
    if [ $data = empty ]; then want=0; reason="Voltaro.dat: not the reference database"; fi
    if [ -n "$box" ] && [ "$status" = 1 ] && [ "$count" = 0 ] && grep -q "$reason" "$app/stderr" && [ "$left" = $want ]; then
        ok "Voltaro.dat $data: start-up ends with a message box"
    else
        bad "Voltaro.dat $data" "status $status, $count windows, file $left: $(cat "$app/stderr")"
    fi
done

# So does a missing Zephlib.so.
fresh_app
rm "$app/Zephlib.so"
failed_start
count=$(xdotool search --name '^Voltaro$' 2>/dev/null | wc -l)
if [ -n "$box" ] && [ "$status" = 1 ] && [ "$count" = 0 ] && grep -q Zephlib "$app/stderr"; then
    ok "a missing Zephlib.so ends start-up with a message box"
else
    bad "a missing Zephlib.so" "status $status, $count windows: $(cat "$app/stderr")"
fi
# Two starts at the same moment with none running: one window, and the other start ends.
fresh_app
"$app/Voltaro" >"$app/stdout" 2>"$app/stderr" & a=$!
"$app/Voltaro" >"$app/stdout2" 2>"$app/stderr2" & b=$!
pids+=($a $b)
one_of_two() {
    running=0
    is_running $a && running=$((running + 1))
    is_running $b && running=$((running + 1))
    count=$(count_windows)
    [ "$count" = 1 ] && [ "$running" = 1 ]
}
wait_for 20 one_of_two
if [ "$count" = 1 ] && [ "$running" = 1 ]; then ok "two starts at once with none running give one window"
else bad "two starts at once with none running" "$count windows, $running running"; fi
kill $a $b 2>/dev/null
wait $a $b 2>/dev/null

# ---- panels -----------------------------------------------------------------------------------
DESKTOP=5b6e7d
xsetroot -solid "#$DESKTOP"
probe="$build/tests/voltaro-screen-probe"


fresh_app
start_voltaro
# title | key | index | offset and size relative to the main window | exit button's centre
while IFS='|' read -r title kind index dx dy w h ex ey; do
    if ! open_panel "$title" "$kind" "$index"; then bad "the $title key opens its panel"; continue; fi
    [ -n "$shots" ] && sleep 1  # only for the picture: the panel out and its controls shown
    eval "$(xdotool getwindowgeometry --shell "$pwin" | sed 's/^/P/')"
    mx=$(window_x); my=$(window_y)
    want="$((MAIN_X + dx)),$((MAIN_Y + dy)) ${w}x$h"
    got="$PX,$PY ${PWIDTH}x$PHEIGHT"
    shot "panel-$title"
    if [ "$got" = "$want" ] && [ "$mx,$my" = "$MAIN_X,$MAIN_Y" ] && click_until_gone "$title" "$ex" "$ey"; then
        ok "the $title key opens a ${w}x$h panel beside the centred window, its exit button closes it"
    else
        bad "the $title key opens its panel where it belongs" "want $want, got $got, main at $mx,$my"
    fi
done <<'TABLE'
Wire Size|square|0|241|90|184|366|162|342
Ground and OCP|square|1|241|34|184|172|162|148
Conduit Fill|square|2|-155|138|182|364|138|340
Transformer|square|3|-155|44|182|259|138|235
Motor Starter|round|0|241|199|184|148|162|124
NEMA Enclosure|round|1|-155|89|182|235|138|211
Options|round|2|-195|319|418|177|393|26
TABLE

# Frames taken during a slide: the panel grows out of the main window's edge with the desktop
# beside it. The probe reads a strip of 150 columns beside the main window that the panel covers
# once open; in each frame a column is '#' where anything but the desktop shows.
# title | key | strip's left | panel's top below the main window's | a frame mid-slide | exit
while IFS='|' read -r title index sx dy midway ex ey; do
    frames="$work/frames-$index"
    mkdir -p "$frames"
    "$probe" frames "$sx" $((MAIN_Y + dy)) 150 100 30000 "$frames" "$DESKTOP" >"$frames/profile" &
    probe_pid=$!
    wait_for 10 test -s "$frames/profile"  # its first frame: the desktop beside the window
    open_panel "$title" square "$index"
    wait_for 20 grep -qE '^[0-9.]+ #+$' "$frames/profile"  # a frame with the strip all covered
    kill $probe_pid
    wait $probe_pid 2>/dev/null
    click_until_gone "$title" "$ex" "$ey"
    # The frame of this shape nearest to half way out. The probe may see only a few frames of a
    # slide on a busy machine, so any frame part of the way out will do.
    mid=$(awk -v re="$midway" '$2 ~ re { n = gsub(/#/, "#", $2); d = n - 75; if (d < 0) d = -d
          if (n > 0 && n < 150 && (best == "" || d < bestd)) { best = NR; bestd = d } }
          END { print best }' "$frames/profile")
    open=$(awk '$2 ~ /^#+$/' "$frames/profile" | wc -l)
    if [ -n "$mid" ] && [ "$open" -gt 0 ]; then
        ok "frames of the $title slide show it growing from the main window's edge, the desktop beside it"
        [ -n "$shots" ] && cp "$frames/frame-$(printf %04d $((mid - 1))).png" "$shots/mid-slide-$title.png"
    else
        bad "frames of the $title slide" "$(awk '{print $1, gsub(/#/, "")}' "$frames/profile" | tr '\n' ' ')"
    fi
done <<'TABLE'
Wire Size|0|646|90|^#+\.+$|162|342
Conduit Fill|2|228|138|^\.+#+$|138|340
TABLE

# A click on the main window while a panel is open is not a switch to another program.
open_panel "Wire Size" square 0
xdotool mousemove $((MAIN_X + PLATE_X)) $((MAIN_Y + PLATE_Y)) click 1
sleep 1.5  # nothing shows that the panel's watch looked and rightly did nothing: three ticks
if panel_shows "Wire Size"; then ok "a click on the disabled main window leaves the panel open"
else bad "a click on the disabled main window leaves the panel open"; fi

# Switching to another program closes the open panel at its next tick, without a slide; the
# main window takes keys again afterwards.
switch_away
if wait_gone "Wire Size" 5; then
    kill $other 2>/dev/null
    xdotool windowactivate "$win" 2>/dev/null
    # Back in the program, the main timer takes a fresh copy of the face, which leaves the window
    # 22 twips left of and below the centre.
    wait_for 5 at_place 377,112
    if open_panel "Motor Starter" round 0 && click_until_gone "Motor Starter" 162 124; then
        ok "switching to another program closes the open panel; the keys work again"
    else
        bad "switching to another program closes the open panel" "no starter panel afterwards"
    fi
else
    kill $other 2>/dev/null
    bad "switching to another program closes the open panel" "still open"
fi

# Auto Start on and the exit button: the log-on entry starts this program minimised; off again
# and the exit button: the entry is gone.
autostart="$XDG_CONFIG_HOME/autostart/Voltaro.desktop"
for want in on off; do
    open_panel Options round 2 && flip_auto_start && click_until_gone Options 393 26
    entry_is() { if [ "$1" = on ]; then [ -f "$autostart" ]; else [ ! -e "$autostart" ]; fi; }
    wait_for 5 entry_is "$want"
    present=off
    [ -f "$autostart" ] && present=on
    if [ "$present" = "$want" ] && { [ "$want" = off ] || grep -qx "Exec=\"$app/Voltaro\" min" "$autostart"; }; then
        ok "Auto Start $want and the exit button: the log-on entry is $([ "$want" = on ] && echo written || echo removed)"
    else
        bad "Auto Start $want and the exit button" "entry $present: $(cat "$autostart" 2>/dev/null)"
    fi
done

# Leaving the options panel by switching away keeps what was switched for this run but saves
# nothing and writes no log-on entry.
ini="$XDG_CONFIG_HOME/Voltaro/Voltaro.ini"
before=$(md5sum <"$ini")
open_panel Options round 2 && flip_auto_start
switch_away
if wait_gone Options 5 && [ "$(md5sum <"$ini")" = "$before" ] && [ ! -e "$autostart" ]; then
    ok "leaving the options panel by switching away saves nothing"
else
    bad "leaving the options panel by switching away saves nothing" "$(cat "$ini"; ls "$XDG_CONFIG_HOME/autostart")"
fi
kill $other "$vpid" 2>/dev/null
wait "$vpid" 2>/dev/null
stop_x

# ---- screens the program refuses ---------------------------------------------------------------
for screen in 640x480x24 1024x768x8; do
    start_x "$screen"
    fresh_app
    "$app/Voltaro" >"$app/stdout" 2>"$app/stderr" &
    p=$!
    box_shows() { box=$(xdotool search --name '^Voltaro: Minimum 600 x 800' 2>/dev/null | head -1); [ -n "$box" ]; }
    wait_for 10 box_shows
    shot "refused-$screen"
    [ -n "$box" ] && xdotool key --window "$box" Return 2>/dev/null
    wait_exit $p 10
    if [ -n "$box" ] && [ "$status" = 1 ] && grep -q "Minimum 600 x 800 Display With 16 Bit High Color Required!" "$app/stderr"; then
        ok "a $screen screen shows the message and ends"
    else
        bad "a $screen screen shows the message and ends" "box '$box', status $status: $(head -3 "$app/stderr")"
    fi
    stop_x
done

finish
