#!/bin/bash
# "Always show the tray icon": the icon is there from the start, beside the
# window, a left click opens its menu, and showing the window keeps it.
# Usage: test_tray_preference.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 90

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
TRAY_HOST=$(dirname "$VISTREL")/tests/e2e/tray_host
[[ -x $TRAY_HOST ]] || fail "no tray host at $TRAY_HOST"
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
"$VISTREL" --set alwaysShowTrayIcon=1 >/dev/null || fail "--set of the preference failed"
e2e_spawn "$TRAY_HOST" >"$W/tray.log"
e2e_wait_until 5 grep -q ready "$W/tray.log" || fail "the tray host did not start"
: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
WIN=$(wait_for_window '^Vistrel$' 15)
mapped() { [[ $(xwininfo -id "$WIN" 2>/dev/null) == *IsViewable* ]]; }

check "the icon is there from the start, with the window on the screen"
e2e_wait_until 5 grep -q "docked 1" "$W/tray.log" || fail "no tray icon at the start"
mapped || fail "the window is not on the screen"

check "a left click opens the menu; its Full Screen captures"
xdotool mousemove $((1024 - 96 + 12)) 12 click 1 # the host's first slot
sleep 0.6
import -window root "${E2E_SHOTS:-$W}/tray-click-menu.png"
xdotool mousemove $((1024 - 96 + 40)) 45 click 1 # the second item: Full Screen
e2e_wait_until 10 grep -q "capture saved" "$LOG" || fail "the menu of a left click did not capture"

check "minimised and shown again, the one icon stays"
e2e_wait_until 10 mapped || fail "the window did not come back after the capture"
xdotool windowminimize "$WIN"
e2e_wait_until 5 eval '! mapped' || fail "the window stayed on the screen"
"$VISTREL" >/dev/null 2>&1 || fail "a second start failed"
e2e_wait_until 5 mapped || fail "the window did not come back"
sleep 0.5
[[ $(grep -c '^docked' "$W/tray.log") -eq 1 && $(grep -c '^undocked' "$W/tray.log") -eq 0 ]] ||
    fail "the icon came and went: $(cat "$W/tray.log")"
echo "PASS"
