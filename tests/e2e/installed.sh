#!/usr/bin/env bash
# The installed program, as a user of an installed copy meets it:
#
#   tests/e2e/installed.sh BUILD_DIR [SCREENSHOT_DIR]
#
# Installs into a temporary prefix and makes it read-only, then runs everything as an ordinary
# user (nobody, when the script runs as root: root ignores permissions) with a home folder of its
# own: no screen at all, then the launcher under Xvfb + openbox: a calculation in each panel, the
# print button (to a PDF: there is no printer), the options panel, the OFF button; the working copy, the log-on entry and the prefix afterwards; the
# Wayland rule; a screen scaled 2x; voltaro-cli from the same prefix. Prints one line per case and
# closes with "N passed, N failed".
source "$(dirname "$0")/lib.sh"

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
chmod -R a-w "$prefix"
launcher="$prefix/bin/voltaro"
cli="$prefix/bin/voltaro-cli"
# What the prefix holds, to the byte, to compare after the runs.
snapshot() { (cd "$prefix" && find . -printf '%M %s %T@ %p %l\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot)

# The user: nobody when we are root, else ourselves. Its home and runtime folders are its own.
home="$work/home"
mkdir -p "$home/Documents" "$work/run-user"
chmod 755 "$work"
as_user=()
if [ "$(id -u)" = 0 ]; then
    chown -R nobody:nogroup "$home" "$work/run-user"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
chmod 700 "$home" "$work/run-user"
# Runs a command as the user, in a clean environment like a desktop session's (extra NAME=value
# arguments before the command are added to it). In the background it takes the place of the
# subshell, so that $! is the program's own process.
user_run() {
    local vars=(HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR="$work/run-user"
                SDL_AUDIODRIVER=dummy CUPS_SERVER="$work/no-print-server")
    while [[ "${1:-}" == *=* ]]; do vars+=("$1"); shift; done
    if [ "$BASHPID" != "$$" ]; then exec "${as_user[@]}" env -i "${vars[@]}" "$@"; fi
    "${as_user[@]}" env -i "${vars[@]}" "$@"
}
data="$home/.local/share/Voltaro"

# ---- no screen at all ---------------------------------------------------------------------------
user_run "$launcher" >"$work/stdout" 2>"$work/stderr"
status=$?
if [ "$status" = 1 ] && grep -q "there is no graphical session (DISPLAY is not set)" "$work/stderr" &&
    grep -qF "xvfb-run -a $launcher" "$work/stderr" && grep -qF "use voltaro-cli: $cli --help" "$work/stderr"; then
    ok "without a screen: status 1, what is missing, xvfb-run and voltaro-cli named"
else
    bad "without a screen" "status $status: $(cat "$work/stderr")"
fi

# ---- the installed launcher under Xvfb + openbox -----------------------------------------------
start_x 1024x768x24
# Starts the launcher as the user (extra NAME=value arguments go into its environment) and waits
# for its window; sets vpid and win.
start_installed() {
    user_run DISPLAY="$DISPLAY" "$@" "$launcher" >"$work/stdout" 2>"$work/stderr" &
    vpid=$!
    pids+=($vpid)
    wait_main_window 30
}
# Clicks the OFF button and waits for the program to end (sets status).
press_off() {
    local x y
    x=$(window_x); y=$(window_y)
    xdotool mousemove $((x + OFF_X)) $((y + OFF_Y)) click 1
    wait_exit "$vpid" 30
}

start_installed
# The task bar's icon: the installed theme's, at every size it has (a 16 x 16 one among them).
icon=$(xprop -id "$win" _NET_WM_ICON 2>/dev/null | grep -c 'Icon (16 x 16)')
if [ -n "$win" ] && [ -f "$data/Voltaro.dat" ] && [ "$(stat -c %a "$data")" = 700 ] && [ "$icon" = 1 ]; then
    ok "the launcher starts Voltaro with its icon; the working copy is made in ~/.local/share/Voltaro (private)"
else
    bad "the launcher starts Voltaro with a working copy" "window '$win', icon $icon: $(cat "$work/stderr"; ls -la "$data" 2>&1)"
fi
shot installed

# One calculation in each panel: the results log, in the data folder, equals what voltaro-cli
# from the same prefix writes for the same inputs.
log="$data/~qxrslt.dat"
same_as_cli() {  # TITLE VOLTARO-CLI ARGUMENTS...
    local title=$1
    shift
    wait_for 10 test -s "$log"
    wait_gone "$title" 10 && "$cli" "$@" --log "$work/cli.log" >/dev/null && cmp -s "$log" "$work/cli.log"
}
# Opens a panel, types into its boxes and clicks (X Y TEXT lines, "-" for a click), calculates.
calculate() {  # TITLE KEY INDEX "CALCULATE_X CALCULATE_Y" INPUTS VOLTARO-CLI ARGUMENTS...
    local title=$1 kind=$2 index=$3 dne=$4 inputs=$5 x y text
    shift 5
    rm -f "$log"
    open_panel "$title" "$kind" "$index" && wait_controls $dne || return 1
    while read -r x y text; do
        if [ "$text" = - ]; then click "$x" "$y"; else type_into "$x" "$y" "$text"; fi
    done <<<"$inputs"
    click $dne
    same_as_cli "$title" "$@"
}
failed_panels=""
calculate "Wire Size" square 0 "33 342" "153 42 40
153 260 6
153 302 104F" wire --amps 40 --material Copper --insulation THHN --conductors 6 --ambient 104F ||
    failed_panels+=" wire"
calculate "Ground and OCP" square 1 "33 148" "153 42 801
90 97 -" ground --amps 801 --material Aluminum || failed_panels+=" ground"
calculate "Transformer" square 3 "11 235" "26 50 -
26 98 -
130 142 112.5
130 172 480" transformer --mode amps --phase three --input 112.5 --volts 480 ||
    failed_panels+=" transformer"
calculate "Motor Starter" round 0 "33 124" "153 44 20
153 76 480" starter --amps 20 --volts 480 || failed_panels+=" starter"
rm -f "$log"
open_panel "Conduit Fill" square 2
wires=()
for _ in 1 2 3 4 5 6; do wires+=(--wire "10 - THHN"); done
{ [ -n "$pwin" ] && panel_at && wait_yellow 10 $((PX + 6)) $((PY + RACK_Y)) 54 40 && six_tens &&
    click 42 340 && same_as_cli "Conduit Fill" conduit "${wires[@]}"; } || failed_panels+=" conduit"
rm -f "$log"
if open_panel "NEMA Enclosure" round 1 && panel_at && wait_yellow 10 $((PX + 112)) $((PY + 32)) 42 20 &&
    step_enclosure 6; then  # entry 1 to entry 7
    click 42 211
    same_as_cli "NEMA Enclosure" enclosure --id 7 || failed_panels+=" enclosure"
else
    failed_panels+=" enclosure"
fi
if [ -z "$failed_panels" ]; then ok "a calculation in each of the six panels, logged in the data folder as voltaro-cli logs it"
else bad "a calculation in each panel" "failed:$failed_panels"; fi

# The print button: there being no printer, the page goes to a PDF in the documents folder.
x=$(window_x); y=$(window_y)
xdotool mousemove $((x + 36 + 42)) $((y + 462 + 15)) click 1
pdf_saved() { pdf=$(find "$home/Documents" -name 'Voltaro *.pdf' 2>/dev/null | head -1); [ -n "$pdf" ]; }
wait_for 15 pdf_saved
shot printed
missing="no log"
[ -n "$pdf" ] && [ -f "$log" ] && missing=$(lines_missing_from_pdf "$log" "$pdf")
if [ -n "$pdf" ] && [ -z "$missing" ]; then ok "the print button puts the last result in a PDF in ~/Documents"
else bad "the print button puts the last result in a PDF" "pdf '$pdf', missing $missing"; fi

# Auto Start on, saved with the options panel's exit button: the log-on entry starts the launcher.
open_panel Options round 2 && flip_auto_start && click_until_gone Options 393 26
autostart="$home/.config/autostart/Voltaro.desktop"
wait_for 5 test -f "$autostart"
if grep -qxF "Exec=\"$launcher\" min" "$autostart" 2>/dev/null && out=$(desktop-file-validate "$autostart" 2>&1) && [ -z "$out" ]; then
    ok "the log-on entry starts the installed launcher and passes desktop-file-validate"
else
    bad "the log-on entry" "$(cat "$autostart" 2>&1) ${out:-}"
fi

shipped_sum=$(md5sum <"$prefix/lib/voltaro/Voltaro.dat")
press_off
shot after-off
left=$(LC_ALL=C ls -A "$data" | tr '\n' ' ')
check="$work/check"
mkdir -p "$check"
cp "$prefix/lib/voltaro/Zephlib.so" "$data/Voltaro.dat" "$check/" 2>/dev/null
# Standard error holds only the report's note on where the page went.
if [ "$status" = 0 ] && ! grep -v "the report was saved as" "$work/stderr" && [ "$left" = "Voltaro.dat history.sqlite " ] &&
    [ "$(md5sum <"$data/Voltaro.dat")" != "$shipped_sum" ] &&
    "$cli" --app-dir "$check" dump FuseSize | grep -qx 6000; then
    ok "OFF: no error box, status 0; the working copy is compacted, beside the history only"
else
    bad "OFF" "status $status, left: $left; $(cat "$work/stderr")"
fi

# A second start uses the working copy as it is; on a Wayland session the program runs through
# XWayland: Qt's xcb platform is what it loaded.
start_installed WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland
program=$(xdotool getwindowpid "$win" 2>/dev/null)
if [ -n "$win" ] && [ -n "$program" ] && grep -q '/libqxcb\.so' "/proc/$program/maps"; then
    ok "on a Wayland session it runs through XWayland (xcb)"
else
    bad "on a Wayland session it runs through XWayland" "window '$win', pid '$program': $(cat "$work/stderr")"
fi
press_off
[ "$status" = 0 ] || bad "OFF after the second start" "status $status"
stop_x

# ---- a screen scaled 2x: the window, its panels and their docking line up -----------------------
start_x 2048x1536x24
start_installed QT_SCALE_FACTOR=2
[ -n "$win" ] || bad "at QT_SCALE_FACTOR=2 the window shows" "$(cat "$work/stderr")"
# The screen's pixels are twice the layout's: every point is doubled.
x=$(window_x); y=$(window_y)
press_until_shown "Wire Size" xdotool mousemove $((x + 2 * SQUARE0_X)) $((y + 2 * SQUARE0_Y)) click 1
wait_controls $((2 * 33)) $((2 * 342))  # the slide's end, for the picture
MX=0 MY=0 MWIDTH=0 MHEIGHT=0 PX=0 PY=0 PWIDTH=0 PHEIGHT=0
eval "$(xdotool getwindowgeometry --shell "$win" 2>/dev/null | sed 's/^/M/')"
eval "$(xdotool getwindowgeometry --shell "$pwin" 2>/dev/null | sed 's/^/P/')"
shot scaled-2x
got="$((PX - MX)),$((PY - MY)) ${PWIDTH}x$PHEIGHT main ${MWIDTH}x$MHEIGHT"
want="482,180 368x732 main 536x1092"
if [ "$got" = "$want" ]; then ok "at QT_SCALE_FACTOR=2 the panel docks where it does at 1x, twice the size"
else bad "at QT_SCALE_FACTOR=2 the panel docks" "want $want, got $got"; fi
click_until_gone "Wire Size" $((2 * 162)) $((2 * 342))
x=$(window_x); y=$(window_y)
xdotool mousemove $((x + 2 * OFF_X)) $((y + 2 * OFF_Y)) click 1
wait_exit "$vpid" 30
[ "$status" = 0 ] || bad "OFF on the scaled screen" "status $status: $(cat "$work/stderr")"
stop_x

# ---- after the runs ------------------------------------------------------------------------------
if [ "$(snapshot)" = "$before" ]; then ok "nothing was written under the prefix"
else bad "nothing was written under the prefix" "$(diff <(echo "$before") <(snapshot) | head -5 | tr '\n' ' ')"; fi

# voltaro-cli from the same prefix, as the user, answers every calculator.
answers=""
while IFS='|' read -r want args; do
    eval "set -- $args"
    got=$(user_run "$cli" "$@" 2>&1 | head -1)
    [ "$got" = "$want" ] || answers+=" [$args: $got]"
done <<'TABLE'
8  (THHN)|wire --amps 40 --material Copper --insulation THHN --conductors 6 --ambient 40
10 Ground|ground --amps 45 --material Copper
3/4 in.  EMT|conduit --wire "10 - THHN" --wire "10 - THHN" --wire "10 - THHN" --wire "10 - THHN" --wire "10 - THHN" --wire "10 - THHN"
NEMA 4X Enclosure|enclosure --id 7
90.21 Full Load Amps|transformer --mode amps --phase three --input 75 --volts 480
Use Size 2 Starter|starter --amps 20 --volts 480
TABLE
if [ -z "$answers" ]; then ok "voltaro-cli from the prefix answers every calculator"
else bad "voltaro-cli from the prefix" "$answers"; fi

finish
