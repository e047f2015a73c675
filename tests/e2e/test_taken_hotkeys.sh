#!/bin/bash
# A hotkey another program holds (here Ctrl+F1, grabbed first by another
# client): at start the program names it once in its trace, its status bar and
# a notice whose button opens the Options sheet on the Hotkeys page, where the
# key is marked; the other hotkeys still work. OK on the sheet reports it again
# while it is held, and nothing once the other program has let it go, when the
# key works. Usage: test_taken_hotkeys.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
X11_PROBE=$(dirname "$VISTREL")/tests/e2e/x11_probe
[[ -x $X11_PROBE ]] || fail "no x11_probe at $X11_PROBE"
W=$E2E_TMP
LOG=$W/vistrel.log
SHOTS=${E2E_SHOTS:-$W}

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
"$VISTREL" --set m_nCaptureType=3 >/dev/null || fail "--set failed"
B=$VISTREL_HOME/Capture/Bitmap

reports() { trace_lines "$LOG" "hotkeys taken by another program"; }
saved() { trace_lines "$LOG" "capture saved"; }
notice_open() { window_shown '^Hotkeys$'; }
sheet_open() { window_shown '^Options?$'; }

e2e_spawn "$X11_PROBE" hold-key 2 0x70 >"$W/holder.out" 2>&1 # Ctrl+F1
HOLDER=$E2E_LAST_PID
e2e_wait_until 5 grep -q "^held" "$W/holder.out" || fail "the key was not held: $(cat "$W/holder.out")"

: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
WIN=$(wait_for_window '^Vistrel$' 15)

check "at start the held key is reported once: trace, status bar and a notice"
wait_for_trace "$LOG" "hotkeys taken by another program: Ctrl+F1$" 1 10 ||
    fail "not reported: $(tail -n 5 "$LOG")"
NOTICE=$(wait_for_window '^Hotkeys$' 10)
sleep 0.5
import -window root "$SHOTS/taken-hotkeys-notice.png"
[[ $(reports) -eq 1 ]] || fail "reported $(reports) times"

check "the other hotkeys still work: Print saves a file"
xdotool key Print
e2e_wait_until 10 eval '[[ $(saved) -ge 1 ]]' || fail "Print saved nothing: $(tail -n 3 "$LOG")"
e2e_wait_until 5 eval '[[ -n $(find "$B" -name "*.png") ]]' || fail "no PNG in $B"
[[ $(reports) -eq 1 ]] || fail "a capture reported the key again"

check "the notice's button opens the Options sheet on the Hotkeys page"
xdotool windowactivate --sync "$NOTICE" 2>/dev/null
xdotool key alt+h # Change &Hotkeys...
e2e_wait_until 5 eval '! notice_open' || fail "the notice stayed"
SHEET=$(wait_for_window '^Options?$' 10)
sleep 0.5
import -window root "$SHOTS/taken-hotkeys-page.png"

check "OK while the key is still held reports it again"
xdotool windowactivate --sync "$SHEET" 2>/dev/null
xdotool key Return # the tree has the focus: OK
e2e_wait_until 5 eval '! sheet_open' || fail "OK did not close the sheet"
wait_for_trace "$LOG" "hotkeys taken by another program: Ctrl+F1$" 2 10 || fail "not reported after OK"
NOTICE=$(wait_for_window '^Hotkeys$' 10)
xdotool windowactivate --sync "$NOTICE" 2>/dev/null
xdotool key Escape
e2e_wait_until 5 eval '! notice_open' || fail "Escape did not close the notice"

check "once the other program lets go, OK reports nothing and Ctrl+F1 works"
e2e_stop "$HOLDER"
xdotool windowactivate --sync "$WIN" 2>/dev/null
xdotool key alt+t
sleep 0.4
xdotool key o
SHEET=$(wait_for_window '^Options?$' 10)
xdotool windowactivate --sync "$SHEET" 2>/dev/null
sleep 0.3
xdotool key Return
e2e_wait_until 5 eval '! sheet_open' || fail "OK did not close the sheet"
hotkeys_caught_up "$LOG" ctrl+F1 0x608
wait_for_window '^Vistrel selection$' 10 >/dev/null
xdotool key Escape # the rectangle capture it started
[[ $(reports) -eq 2 ]] || fail "reported with no key held: $(grep "taken by another" "$LOG")"
notice_open && fail "a notice with no key held"
echo "PASS"
