#!/usr/bin/env bash
# End-to-end checks of the wire size, ground and OCP, transformer, motor starter and voltage-drop
# panels in the real program under Xvfb with openbox, typed into with xdotool.
#
#   tests/e2e/calculators.sh BUILD_DIR [SCREENSHOT_DIR]
#
# For each panel: open it by its key (the voltage drop from the face's menu), type the inputs with one of them wrong and press calculate:
# the error window comes up and Enter closes it, leaving the panel open; correct the input, switch
# to another program (the panel goes), come back and reopen it, press calculate: the results log
# the program wrote must equal, byte for byte, what voltaro-cli writes for the inputs, which only
# holds when the reopened panel brought every input back. Then each of the six calculators by the
# keyboard alone, compared with voltaro-cli the same way. Then what a screen reader reads of the
# keys, a panel, the error window and an answer (AT-SPI). Last, with Auto Print on, a result is
# printed (to a PDF, there being no printer) when the main window is active again.
source "$(dirname "$0")/lib.sh"

start_x 1024x768x24
xsetroot -solid "#5b6e7d"
fresh_app
start_voltaro

# Waits until the error window is up (a second window titled "Voltaro"), then until it has gone.
windows_are() { [ "$(count_windows)" = "$1" ]; }
error_shows() { wait_for 10 windows_are 2; }
error_gone() { wait_for 10 windows_are 1; }
# The error window has the keyboard: the window with the focus is a "Voltaro" but not the main one.
error_has_keys() {
    local w
    w=$(xdotool getwindowfocus 2>/dev/null) && [ "$w" != "$win" ] && [ "$(xdotool getwindowname "$w" 2>/dev/null)" = Voltaro ]
}
# Another program comes to the front until the panel has gone (the window manager may take a
# moment to hand it the focus on a loaded machine); returns 1 if it is still there after 10 s.
leave() {  # TITLE
    switch_away
    for _ in $(seq 10); do
        wait_gone "$1" 1 && return 0
        xdotool search --onlyvisible --classname xmessage windowactivate 2>/dev/null
    done
    return 1
}
# Back from another program: the main window takes keys again once its timer has seen the return.
come_back() {
    kill "$other" 2>/dev/null
    xdotool windowactivate "$win" 2>/dev/null
    wait_for 5 at_place 377,112
}

# Opens entry INDEX of the face's menu (a right-click on the plate opens it; it shows as one more
# window of the program; Down reaches the first entry).
menu_entry() {  # INDEX
    local before
    before=$(xdotool search --onlyvisible --pid "$vpid" 2>/dev/null | wc -l)
    xdotool mousemove $(($(window_x) + PLATE_X)) $(($(window_y) + PLATE_Y)) click 3
    for _ in $(seq 50); do
        [ "$(xdotool search --onlyvisible --pid "$vpid" 2>/dev/null | wc -l)" -gt "$before" ] && break
        sleep 0.1
    done
    xdotool key --repeat $(($1 + 1)) Down
    xdotool key Return
}
# Opens panel TITLE by its key or its menu entry (sets pwin).
open_any() {  # TITLE square|round|menu INDEX
    if [ "$2" = menu ]; then press_until_shown "$1" menu_entry "$3"; else open_panel "$@"; fi
}

# One panel, from a table row: its title, key, calculate button, the inputs to type (X Y TEXT
# triples, with clicks as X Y -), the one to correct, and voltaro-cli's arguments.
check_panel() {
    local title=$1 kind=$2 index=$3 dne=$4 inputs=$5 fix=$6 cli=$7 name=$8
    rm -f "$app/~qxrslt.dat"
    if ! open_any "$title" "$kind" "$index" || ! wait_controls $dne; then bad "$name: the panel opens with its controls"; return; fi
    shot "$name-fresh"
    local x y text
    while read -r x y text; do
        if [ "$text" = - ]; then click "$x" "$y"; else type_into "$x" "$y" "$text"; fi
    done <<<"$inputs"
    click $dne
    if error_shows; then
        shot "$name-error"
        wait_for 10 error_has_keys
        xdotool key Return  # OK has the focus
        if error_gone && panel_shows "$title"; then ok "$name: a wrong input shows the error window; OK leaves the panel open"
        else bad "$name: OK closes the error window and leaves the panel open"; fi
    else
        bad "$name: a wrong input shows the error window"
    fi
    read -r x y text <<<"$fix"
    type_into "$x" "$y" "$text"
    if ! leave "$title"; then bad "$name: switching away closes the panel"; come_back; return; fi
    come_back
    open_any "$title" "$kind" "$index"
    wait_controls $dne
    click $dne
    wait_gone "$title" 10
    # shellcheck disable=SC2086
    "$build/voltaro-cli" --app-dir "$app" $cli --log "$work/$name.log" >/dev/null
    if cmp -s "$app/~qxrslt.dat" "$work/$name.log"; then
        ok "$name: reopened after switching away, its result log equals voltaro-cli's"
    else
        bad "$name: the result log equals voltaro-cli's" "$(diff <(cat -A "$app/~qxrslt.dat") <(cat -A "$work/$name.log") | head -5)"
    fi
    [ -n "$shots" ] && sleep 0.5 && shot "$name-answer"  # only for the picture: the print button lit
}

# Positions from assets/layout.h: a box's centre, a list row, a knob.
check_panel "Wire Size" square 0 "33 342" "153 42 40
153 260 0
153 302 104F" "153 260 6" \
    "wire --amps 40 --material Copper --insulation THHN --conductors 6 --ambient 104F" wire
check_panel "Ground and OCP" square 1 "33 148" "153 42 6001
90 97 -" "153 42 801" "ground --amps 801 --material Aluminum" ground
check_panel "Transformer" square 3 "11 235" "26 50 -
26 98 -
130 142 112.5
130 172 0" "130 172 480" \
    "transformer --mode amps --phase three --input 112.5 --volts 480" transformer
check_panel "Motor Starter" round 0 "33 124" "153 44 20
153 76 576" "153 76 480" "starter --amps 20 --volts 480" starter
check_panel "Voltage Drop" menu 0 "33 356" "100 66 -
142 118 -
153 204 480
153 232 100
153 260 0" "153 260 200" \
    "vdrop --system three --volts 480 --amps 100 --length 200 --material Copper --size 12 --conduit PVC" vdrop

# ---- The keyboard alone: each calculator opened by its letter, filled, calculated and left with
# keys sent to the focused window; its log must equal voltaro-cli's. A row: title, letter,
# calculate button, keys (xdotool names; type:TEXT types, shot:NAME keeps a screenshot), cli, name.
check_keys() {
    local title=$1 dne=$3 name=$6 k
    rm -f "$app/~qxrslt.dat"
    xdotool windowactivate --sync "$win" key "$2" 2>/dev/null
    find_panel "$title"
    if [ -z "$pwin" ] || ! wait_controls $dne; then bad "$name by keys: its letter opens the panel"; return; fi
    for k in $4; do
        case $k in type:*) xdotool type --delay 30 "${k#type:}" ;; shot:*) sleep 0.2; shot "${k#shot:}" ;;
            *) xdotool key "$k" ;; esac
    done
    wait_gone "$title" 10 || xdotool key Escape
    eval "\"\$build/voltaro-cli\" --app-dir \"\$app\" $5 --log \"\$work/\$name-keys.log\"" >/dev/null
    if cmp -s "$app/~qxrslt.dat" "$work/$name-keys.log"; then ok "$name by the keyboard alone: the log is voltaro-cli's"
    else bad "$name by the keyboard alone: the log is voltaro-cli's" "$(diff <(cat -A "$app/~qxrslt.dat" 2>&1) <(cat -A "$work/$name-keys.log") | head -5)"; fi
}
xdotool windowactivate --sync "$win" key Tab Tab Tab && shot focus-key  # the ring on a key
check_keys "Wire Size" w "33 342" "type:40 Tab shot:focus-list Tab Tab type:6 Tab type:104F ctrl+Return" \
    "wire --amps 40 --material Copper --insulation THHN --conductors 6 --ambient 104F" wire
check_keys "Ground and OCP" g "33 148" "type:801 Tab Down Tab shot:focus-calculate space" \
    "ground --amps 801 --material Aluminum" ground
check_keys "Transformer" t "11 235" "shift+Tab shift+Tab space Tab Down Tab type:112.5 Tab type:480 ctrl+Return" \
    "transformer --mode amps --phase three --input 112.5 --volts 480" transformer
check_keys "Motor Starter" s "33 124" "type:27.5 Return type:208 Tab space" "starter --amps 27.5 --volts 208" starter
check_keys "Conduit Fill" c "11 340" "type:10 Return Return Return Return Return Return ctrl+Return" \
    "conduit $(printf -- '--wire "10 - THHN" %.0s' 1 2 3 4 5 6)" conduit
check_keys "NEMA Enclosure" n "11 211" "Right Right Right Right Right Right Tab Tab space" "enclosure --id 7" enclosure
xdotool windowactivate --sync "$win" key ctrl+q  # OFF
wait_exit "$vpid" 10
if [ "$status" = 0 ]; then ok "Ctrl+Q ends the program"; else bad "Ctrl+Q ends the program"; fi

# ---- What a screen reader reads: the program's accessibility tree over AT-SPI, on a session bus
# and an accessibility bus of our own, read by tests/e2e/atspi_tree.py. A row: what to do first
# (main:KEY presses a key on the main window, ground waits for the ground panel's controls,
# type:TEXT types, other xdotool key names go to the window with the focus), where to look (the
# tree, or the events the program sent) and a text that one of its lines holds
# (ROLE|NAME|DESCRIPTION|ACTIONS, a name's line breaks as " / ").
atspi() { /usr/bin/python3 "$(dirname "$0")/atspi_tree.py" "$@"; }
bus_address() { read -r -t 1 DBUS_SESSION_BUS_ADDRESS <&"$busfd"; [ -n "$DBUS_SESSION_BUS_ADDRESS" ]; }
in_tree() { atspi tree 2>/dev/null | grep -qF -- "$1"; }
in_events() { grep -qF -- "$1" "$work/atspi-events"; }
atspi_ready() { atspi check 2>/dev/null; }
check_screen_reader() {
    if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
        echo "SKIP: what a screen reader reads: pyatspi cannot run here (Debian's python3-pyatspi, at-spi2-core)"
        return
    fi
    local launcher actions where text a
    exec {busfd}<> <(:)
    dbus-daemon --session --nofork --print-address="$busfd" >/dev/null 2>&1 &
    pids+=($!)
    wait_for 10 bus_address && export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    launcher=$!
    pids+=($launcher)
    wait_for 10 atspi_ready || { bad "what a screen reader reads: the AT-SPI registry answers"; return; }
    fresh_app
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_voltaro
    atspi events 120 >"$work/atspi-events" 2>&1 &
    pids+=($!)
    wait_for 10 in_events listening
    while IFS=';' read -r actions where text; do
        for a in $actions; do
            case $a in main:*) xdotool windowactivate --sync "$win" key "${a#main:}" 2>/dev/null ;;
                ground) find_panel "Ground and OCP" && wait_controls 33 148 ;;
                type:*) xdotool type --delay 30 "${a#type:}" ;; *) xdotool key "$a" ;; esac
        done
        if wait_for 10 "in_$where" "$text"; then ok "a screen reader reads: $text"
        else bad "a screen reader reads: $text" "not in the $where"; fi
    done <<'ROWS'
;tree;frame|Voltaro|
;tree;push button|Wire size|Wire size (W)|Press
;tree;push button|Ground and OCP|Ground and OCP (G)|Press
;tree;push button|Conduit fill|Conduit fill (C)|Press
;tree;push button|Transformer|Transformer (T)|Press
;tree;push button|Motor starter|Motor starter (S)|Press
;tree;push button|NEMA enclosure|NEMA enclosure (N)|Press
;tree;push button|Options|Options (O)|Press
;tree;push button|Print|Print (P)|Press
;tree;push button|Exit|Exit (Ctrl+Q)|Press
;tree;label|Display|Display|
main:g ground;events;window:activate|frame|Ground and OCP
;tree;text|Circuit Max Amps|Enter Max Amps of Conductor After De-Rating
;tree;list|Conductor Type|Copper or  Aluminum/Copper Clad Conductor
;tree;list item|Aluminum|
;tree;push button|Calculate OCP & GND Size|Calculate OCP & GND Size|Press
;tree;push button|Exit Without Calculation|Exit Without Calculation|Press
type:9999 ctrl+Return;events;window:activate|alert|Error
;tree;alert|Error|Amp Rating Is / Too High, / 6000 Amps Max.|
Return ctrl+a type:801 ctrl+Return;tree;label|Size GND & OCP: / 2/0 Ground / 1000 Fuse / See Notes|Display|
;events;object:property-change:accessible-name|label|Size GND & OCP: / 2/0 Ground / 1000 Fuse / See Notes
ROWS
    kill "$vpid" 2>/dev/null
    wait_exit "$vpid" 10
    kill $(pgrep -P "$launcher") "$launcher" 2>/dev/null  # the accessibility bus goes with its launcher
    unset DBUS_SESSION_BUS_ADDRESS
}
check_screen_reader

# Auto Print: a result is printed as soon as the main window is active again. With no printer
# (no print server to ask) the page goes to a PDF in the documents folder, holding the log's lines.
fresh_app
set_option "Auto Print" On
export HOME="$app/home" CUPS_SERVER="$work/no-print-server"
mkdir -p "$HOME/Documents"
start_voltaro
if open_panel "Motor Starter" round 0 && wait_controls 33 124; then
    click 33 124  # calculate: 20 A at 480 V, as the panel opens
    wait_gone "Motor Starter" 10
fi
pdf_saved() { pdf=$(find "$HOME/Documents" -name 'Voltaro *.pdf' 2>/dev/null | head -1); [ -n "$pdf" ]; }
wait_for 10 pdf_saved
missing=""
[ -n "$pdf" ] && [ -f "$app/~qxrslt.dat" ] && missing=$(lines_missing_from_pdf "$app/~qxrslt.dat" "$pdf")
if [ -n "$pdf" ] && [ -z "$missing" ] && grep -q "Use Starter Size:  " "$app/~qxrslt.dat"; then
    ok "Auto Print: the result goes to a PDF in the documents folder with every line of its log"
else
    bad "Auto Print puts the result in a PDF in the documents folder" "pdf '$pdf', missing $missing"
fi
# The answer is in the user's history: voltaro-cli lists it, and Ctrl+H opens the History window.
sleep 0.5
listed=$("$build/voltaro-cli" --app-dir "$build" history --limit 1)
xdotool windowactivate --sync "$win" key ctrl+h 2>/dev/null
hwin=""
for _ in $(seq 50); do
    hwin=$(xdotool search --onlyvisible --name '^Voltaro History$' 2>/dev/null | head -1)
    [ -n "$hwin" ] && break
    sleep 0.1
done
if grep -q "^1  .*  Motor Starter  Use Size 2 Starter$" <<<"$listed" && [ -n "$hwin" ]; then
    ok "the answer is kept in the history, listed by voltaro-cli and shown by Ctrl+H"
else
    bad "the answer is kept in the history and Ctrl+H shows it" "listed '$listed', window '$hwin'"
fi
kill "$vpid" 2>/dev/null
stop_x
finish
