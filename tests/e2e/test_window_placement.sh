#!/bin/bash
# The main window stays where the user put it: moved and resized, it comes back
# at exactly that place and size after Print, a rectangle, an object capture
# and a trip to the tray; its placement, maximised too, is kept from one run to
# the next; and a placement that no screen shows any more lands on the screen.
# Usage: test_window_placement.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 170

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
TRAY_HOST=$(dirname "$VISTREL")/tests/e2e/tray_host
[[ -x $TRAY_HOST ]] || fail "no tray host at $TRAY_HOST"
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 1280x900x24
e2e_start_openbox
e2e_make_home
"$VISTREL" --set m_bShowReminder=0 --set m_bShowMagnifier=0 >/dev/null || fail "--set failed"

saves() { grep -c "capture saved" "$LOG"; }
wait_saves() { e2e_wait_until 10 eval '[[ $(saves) -ge '"$1"' ]]' || fail "$2 (log: $(tail -n 3 "$LOG"))"; }
mapped() { [[ $(xwininfo -id "$WIN" 2>/dev/null) == *IsViewable* ]]; }
# The client area's place and size: "X Y WIDTH HEIGHT".
place() {
    xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print x, y, w, h}'
}
maximised() { [[ $(xprop -id "$WIN" _NET_WM_STATE) == *_NET_WM_STATE_MAXIMIZED_VERT* ]]; }
start_program() {
    VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
    PROGRAM=$E2E_LAST_PID
    WIN=$(wait_for_window '^Vistrel$' 15)
    e2e_wait_until 5 mapped || fail "the window is not on the screen"
    sleep 0.3 # the window manager's last word on its place
}
# back_at PLACE WHAT: the window is on the screen again, exactly at PLACE.
back_at() {
    WANTED=$1
    e2e_wait_until 10 mapped || fail "the window did not come back after $2"
    e2e_wait_until 2 eval '[[ "$(place)" == "$WANTED" ]]' ||
        fail "after $2 the window is at $(place), not at $WANTED where the user put it"
}

: >"$LOG"
e2e_spawn "$TRAY_HOST" >"$W/tray.log"
e2e_wait_until 5 grep -q ready "$W/tray.log" || fail "the tray host did not start"
start_program
first=$(place)

check "moved and resized, the window comes back there after Print"
xdotool windowsize --sync "$WIN" 610 430
xdotool windowmove --sync "$WIN" 480 260
e2e_wait_until 5 eval '[[ "$(place)" != "$first" ]]' || fail "the window could not be moved"
sleep 0.3
moved=$(place)
note "first at $first, moved to $moved"
xdotool key Print
wait_saves 1 "Print saved nothing"
back_at "$moved" "Print"

check "after a rectangle"
xdotool key ctrl+F1
e2e_wait_until 5 window_shown '^Vistrel selection$' || fail "no overlay"
xdotool mousemove 20 20 sleep 0.2 click 1 sleep 0.2 mousemove 120 90 sleep 0.2 click 1
wait_saves 2 "the rectangle was not saved"
back_at "$moved" "a rectangle"

check "after an object capture"
n=$(grep -c "object capture saved nothing" "$LOG")
xdotool mousemove 1270 890 # the bare desktop: nothing to save
xdotool key ctrl+F5
e2e_wait_until 5 eval '! mapped' || fail "the object capture did not hide the window"
xdotool key ctrl+F5
e2e_wait_until 5 eval '[[ $(grep -c "object capture saved nothing" "$LOG") -gt '"$n"' ]]' || fail "the object capture did not end"
back_at "$moved" "an object capture"

check "after a trip to the tray"
xdotool windowminimize "$WIN"
e2e_wait_until 5 grep -q "docked 1" "$W/tray.log" || fail "no tray icon"
e2e_wait_until 5 eval '! mapped' || fail "the window stayed on the screen"
"$VISTREL" >/dev/null 2>&1 || fail "a second start failed" # shows the running copy's window
back_at "$moved" "the tray"

check "the next run starts where this one ended"
e2e_stop "$PROGRAM" 10
start_program
[[ $(place) == "$moved" ]] || fail "the next run starts at $(place), not at $moved"

check "maximised, it comes back maximised after a capture and in the next run"
# A double click on the caption maximises.
read -r x y _ <<<"$(place)"
xdotool mousemove $((x + 200)) $((y - 8)) click --repeat 2 --delay 80 1
e2e_wait_until 5 maximised || fail "the window did not maximise"
sleep 0.3
full=$(place)
xdotool key Print
wait_saves 3 "Print saved nothing while maximised"
back_at "$full" "Print while maximised"
maximised || fail "no longer maximised after Print"
e2e_stop "$PROGRAM" 10
start_program
maximised || fail "the next run does not start maximised"
xdotool mousemove $((x + 200)) 4 click --repeat 2 --delay 80 1 # back to its normal size
e2e_wait_until 5 eval '! maximised' || fail "the window did not leave its maximised state"
e2e_wait_until 3 eval '[[ "$(place)" == "$moved" ]]' || fail "unmaximised at $(place), not at $moved"

check "a placement off every screen comes back onto the screen"
xdotool windowmove --sync "$WIN" 1000 600
sleep 0.3
e2e_stop "$PROGRAM" 10
e2e_stop_xvfb
e2e_start_xvfb 800x600x24
e2e_start_openbox
start_program
read -r x y w h <<<"$(place)"
note "on 800x600: $x $y ${w}x$h"
((x >= 0 && y >= 0 && x + w <= 800 && y + h <= 600)) || fail "the window is at $x,$y ${w}x$h, not wholly on the 800x600 screen"
echo PASS
