#!/usr/bin/env bash
# End-to-end checks of the conduit fill panel, its conduit type dialog and the NEMA enclosure
# panel: the real program under Xvfb with openbox, conductors dragged with the mouse through
# xdotool. Every result's log must equal voltaro-cli's for the same inputs, byte for byte.
#
#   tests/e2e/raceway.sh BUILD_DIR [SCREENSHOT_DIR]
source "$(dirname "$0")/lib.sh"

start_x 1024x768x24
fresh_app
start_voltaro

# Waits for the results log of the press that closed the panel; 1 after SECONDS.
wait_log() { wait_for "$1" test -s "$app/~qxrslt.dat"; }
# The log of the press that closed panel TITLE equals voltaro-cli's for ARGS. voltaro-cli reads
# the database only once the panel has gone: closing, the panel empties its work table.
same_log() {  # TITLE ARGS
    local title=$1
    shift
    rm -f "$work/cli.log"
    wait_log 10 && wait_gone "$title" 10 &&
        "$build/voltaro-cli" --app-dir "$app" "$@" --log "$work/cli.log" >/dev/null &&
        cmp -s "$app/~qxrslt.dat" "$work/cli.log"
}
log_diff() { diff <(cat -A "$app/~qxrslt.dat" 2>&1) <(cat -A "$work/cli.log" 2>&1) | head -5; }
open_conduit() {
    open_panel "Conduit Fill" square 2 && panel_at && wait_yellow 10 $((PX + 6)) $((PY + RACK_Y)) 54 40
}
wires=()
for _ in 1 2 3 4 5 6; do wires+=(--wire "10 - THHN"); done

# ---- conduit fill, EMT -------------------------------------------------------------------------
if open_conduit && six_tens; then
    shot conduit-filled
    rm -f "$app/~qxrslt.dat"
    xdotool mousemove $((PX + 42)) $((PY + 340)) click 1
    if same_log "Conduit Fill" conduit "${wires[@]}"; then
        ok "six 10 THHN dragged into EMT: the log is voltaro-cli's, byte for byte"
    else bad "six 10 THHN dragged into EMT" "$(log_diff)"; fi
else
    bad "the conduit panel takes six dragged conductors" "$(cat "$app/stderr")"
fi

# ---- the type dialog, then RMC -----------------------------------------------------------------
dialog=""
dialog_shows() { dialog=$(xdotool search --onlyvisible --name '^Conduit Type$' 2>/dev/null | head -1); [ -n "$dialog" ]; }
if open_conduit; then
    xdotool mousemove $((PX + 131)) $((PY + 42)) click 1
    wait_for 10 dialog_shows
fi
if [ -n "$dialog" ]; then
    eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D/')"
    wait_yellow 10 $((DX + 10)) $((DY + 33)) 292 186
    sleep 1.2  # nothing shows that the panel's watch looked and rightly did nothing: two ticks
    if panel_shows "Conduit Fill" && panel_shows "Conduit Type"; then ok "the panel stays open while the type dialog is up"
    else bad "the panel stays open while the type dialog is up"; fi
    rmc=$(looks $((DX + 10)) $((DY + 33 + 7 * 14)) 292 14)
    xdotool mousemove $((DX + 60)) "$(row_y $((DY + 33)) 7)" click 1  # Rigid Metal Conduit
    wait_change 10 "$rmc" $((DX + 10)) $((DY + 33 + 7 * 14)) 292 14  # its row lights up
    shot conduit-type-dialog
    wait_for 10 has_focus "$dialog"
    xdotool key alt+k
    if wait_gone "Conduit Type" 10 && six_tens; then
        rm -f "$app/~qxrslt.dat"
        xdotool mousemove $((PX + 42)) $((PY + 340)) click 1
        if same_log "Conduit Fill" conduit --type RMC "${wires[@]}"; then
            ok "RMC chosen in the type dialog: the log is voltaro-cli's with --type RMC"
        else bad "RMC chosen in the type dialog" "$(log_diff)"; fi
    else
        bad "the type dialog closes on Alt+K and the panel takes conductors again"
    fi
else
    bad "a click on the conduit type box opens the type dialog"
fi
wait_gone "Conduit Fill" 10

# ---- NEMA enclosure ----------------------------------------------------------------------------
if open_panel "NEMA Enclosure" round 1 && panel_at && wait_yellow 10 $((PX + 112)) $((PY + 32)) 42 20; then
    step_enclosure 6  # entry 1 to entry 7
    shot enclosure
    rm -f "$app/~qxrslt.dat"
    xdotool mousemove $((PX + 42)) $((PY + 211)) click 1
    if same_log "NEMA Enclosure" enclosure --id 7; then ok "NEMA entry 7 selected: the log is voltaro-cli's for --id 7"
    else bad "NEMA entry 7 selected" "$(log_diff)"; fi
else
    bad "the enclosure key opens its panel with its controls"
fi

finish
