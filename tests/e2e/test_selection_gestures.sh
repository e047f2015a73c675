#!/bin/bash
# Selecting as in other tools: press, drag and release finishes a rectangle,
# circle or ellipse, Enter finishes a polygon, and each gives exactly the
# pixels of the command line's capture of the same shape, while the overlay
# only dims the screen around the selection. The hint at the top goes away
# after three finished selections.
# Usage: test_selection_gestures.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
# The window out of the way, so the command line's captures see what the overlay froze.
"$VISTREL" --set m_nCaptureType=3 --set m_bShowMagnifier=0 --set m_bHideSelf=0 >/dev/null || fail "--set failed"
convert -size 1024x700 plasma:fractal -depth 8 "$W/screen.png" || fail "cannot make the test picture"
show_picture "$W/screen.png"

saves() { grep -c "capture saved" "$LOG"; }
newest() { grep "capture saved" "$LOG" | tail -n 1 | sed 's/.*capture saved //'; }
overlay_up() { window_shown '^Vistrel selection$'; }
hints_seen() { sed -n 's/^Finished=dword://p' "$VISTREL_HOME/registry.ini" 2>/dev/null; }
: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
WIN=$(wait_for_window '^Vistrel$' 15)
xdotool windowminimize "$WIN"
e2e_wait_until 5 eval '[[ $(xwininfo -id "$WIN") != *IsViewable* ]]' || fail "the window did not minimise"

# same_as_command_line KEY WHAT ARGS...: the newest capture equals the command line's.
same_as_command_line() {
    local key=$1 what=$2
    shift 2
    e2e_wait_until 10 eval '[[ $(saves) -ge '"$EXPECTED"' ]]' || fail "$what: nothing saved (log: $(tail -n 3 "$LOG"))"
    local chosen
    chosen=$(newest)
    local cli
    cli=$("$VISTREL" --capture "$@" --no-cursor) || fail "$what: the command line's capture failed"
    EXPECTED=$((EXPECTED + 1))
    same_picture "$chosen" "$cli" ||
        fail "$what: $(identify -format '%wx%h' "$chosen") and $(identify -format '%wx%h' "$cli"), $(differing_pixels "$chosen" "$cli") pixels differ"
    e2e_wait_until 5 eval '! overlay_up' || fail "$what: the overlay stayed"
}
# drag KEY X1 Y1 X2 Y2: opens the overlay with KEY, presses at X1,Y1, releases at X2,Y2.
drag() {
    xdotool key "$1"
    e2e_wait_until 5 overlay_up || fail "no overlay after $1"
    sleep 0.2
    xdotool mousemove "$2" "$3" sleep 0.1 mousedown 1 sleep 0.1 mousemove $((($2 + $4) / 2)) $((($3 + $5) / 2)) \
        sleep 0.1 mousemove "$4" "$5" sleep 0.2
    [[ $1 == ctrl+F1 ]] && import -window root "${E2E_SHOTS:-$W}/selection-drag.png"
    xdotool mouseup 1
}
EXPECTED=1

check "a rectangle: press, drag, release"
[[ -z $(hints_seen) ]] || fail "hints counted before any selection"
drag ctrl+F1 100 120 301 221
same_as_command_line ctrl+F1 rectangle rectangle 100 120 301 221
check "a circle"
drag ctrl+F2 500 300 540 330
same_as_command_line ctrl+F2 circle circle 500 300 540 330
check "an ellipse, dragged up and to the left"
drag ctrl+F3 700 500 610 420
same_as_command_line ctrl+F3 ellipse ellipse 700 500 610 420
[[ $(hints_seen) == 3 ]] || fail "three finished selections counted as '$(hints_seen)'"

check "a polygon of three clicks finished with Enter"
xdotool key ctrl+F4
e2e_wait_until 5 overlay_up || fail "no overlay for the polygon"
sleep 0.2
for p in "200 400" "380 430" "260 600"; do
    xdotool mousemove $p sleep 0.1 click 1 sleep 0.2
done
xdotool key Return
same_as_command_line ctrl+F4 polygon polygon 200 400 380 430 260 600

check "a small wobble is a click: the next click finishes at the size chosen"
xdotool key ctrl+F1
e2e_wait_until 5 overlay_up || fail "no overlay"
sleep 0.2
xdotool mousemove 50 60 sleep 0.1 mousedown 1 mousemove 51 61 sleep 0.1 mouseup 1 sleep 0.2
overlay_up || fail "a release one pixel away finished the selection"
xdotool mousemove 150 110 sleep 0.2 click 1
same_as_command_line ctrl+F1 wobble rectangle 50 60 150 110
echo "PASS"
