#!/bin/bash
# Start-up, single copy and hand-over, hotkeys, --set through the running copy,
# and the settings written at exit. Usage: test_startup.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
LOG=$E2E_TMP/first.log

e2e_start_xvfb 1024x768x24
e2e_start_openbox
e2e_make_home
CFG=$VISTREL_HOME/capture.cfg

# hotkey_lines: how many hotkey trace lines with this id the first copy printed.
hotkey_lines() { grep -c "hotkey $1\$" "$LOG"; }
wait_for_hotkey_lines() { e2e_wait_until 3 eval '[[ $(hotkey_lines '"$1"') -ge '"$2"' ]]'; }
window_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
# The rectangle hotkey opens the selection overlay, which takes the keyboard
# until Escape ends it.
overlay_up() { xdotool search --onlyvisible --name '^Vistrel selection$' >/dev/null 2>&1; }
close_overlay() {
    e2e_wait_until 5 overlay_up || fail "no selection overlay after the rectangle hotkey"
    xdotool key Escape
    e2e_wait_until 5 eval '! overlay_up' || fail "Escape did not close the overlay"
}
is_hidden() { grep -q _NET_WM_STATE_HIDDEN <<<"$(window_state "$1")" || ! grep -q IsViewable <<<"$(xwininfo -id "$1")"; }

check "the first copy starts and shows its window \"Vistrel\""
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>"$LOG"
FIRST=$E2E_LAST_PID
WIN=$(wait_for_window '^Vistrel$' 15)
[[ ! -e $CFG ]] || fail "the settings file was written at start"

check "hotkeys reach the program: Ctrl+F1 (0x608), Print (0x607), Ctrl+Shift+T (0x615)"
xdotool key ctrl+F1
wait_for_hotkey_lines 0x608 1 || fail "Ctrl+F1 did not arrive; log: $(cat "$LOG")"
close_overlay
xdotool key Print ctrl+shift+t
wait_for_hotkey_lines 0x607 1 || fail "Print did not arrive"
wait_for_hotkey_lines 0x615 1 || fail "Ctrl+Shift+T did not arrive"
# Print saved a full-screen capture, hiding the window meanwhile; it is back after.
e2e_wait_until 5 grep -q "capture saved" "$LOG" || fail "Print Screen saved nothing"
e2e_wait_until 5 eval 'xdotool search --onlyvisible --name "^Vistrel\$" >/dev/null' || fail "the window did not come back"
check "a hotkey works while the program's own window has the focus"
xdotool windowactivate --sync "$WIN" 2>/dev/null || xdotool windowfocus --sync "$WIN"
xdotool key ctrl+F1
wait_for_hotkey_lines 0x608 2 || fail "Ctrl+F1 did not arrive with our window focused"
close_overlay
check "a hotkey works with Num Lock on"
xdotool key Num_Lock ctrl+F1
wait_for_hotkey_lines 0x608 3 || fail "Ctrl+F1 with Num Lock did not arrive"
close_overlay
xdotool key Num_Lock

check "a second copy ends with status 0 and writes no settings"
xdotool windowminimize --sync "$WIN" 2>/dev/null || xdotool windowminimize "$WIN"
e2e_wait_until 5 is_hidden "$WIN" || fail "the window did not minimise"
# The Print Screen above saved a capture and with it the settings.
settings_before=$(md5sum "$CFG" 2>/dev/null; stat -c %Y.%s "$CFG" 2>/dev/null)
e2e_spawn "$VISTREL"
wait_for_exit "$E2E_LAST_PID" 10
status=$?
[[ $status -eq 0 ]] || fail "second copy ended with status $status"
[[ $(md5sum "$CFG" 2>/dev/null; stat -c %Y.%s "$CFG" 2>/dev/null) == "$settings_before" ]] ||
    fail "the second copy wrote the settings file"
check "the first copy's window was restored from minimised"
e2e_wait_until 5 eval '! is_hidden '"$WIN" || fail "the window stayed minimised: $(window_state "$WIN")"
[[ $(xdotool search --onlyvisible --name '^Vistrel$' | wc -l) -eq 1 ]] || fail "more than one Vistrel window"

check "--set with a value that does not fit is refused (status 2) and changes nothing"
"$VISTREL" --set m_hkRectangle=2,0x41 --set m_nCaptureType=9 2>"$E2E_TMP/err"
[[ $? -eq 2 ]] || fail "expected status 2"
grep -q m_nCaptureType "$E2E_TMP/err" || fail "no clear message: $(cat "$E2E_TMP/err")"
"$VISTREL" --set no_such_field=1 2>/dev/null
[[ $? -eq 2 ]] || fail "an unknown field was not refused"
xdotool key ctrl+a
hotkeys_caught_up "$LOG" ctrl+F1 0x608 # the rectangle's key as it still is
close_overlay
[[ $(hotkey_lines 0x608) -eq 4 ]] || fail "a refused --set still changed the hotkey"

check "--set through the running copy moves the rectangle hotkey to Ctrl+A"
"$VISTREL" --set m_hkRectangle=2,0x41 || fail "--set failed"
[[ -s $CFG ]] || fail "--set did not save the settings"
xdotool key ctrl+a
wait_for_hotkey_lines 0x608 5 || fail "the new key Ctrl+A does not work"
close_overlay
xdotool key ctrl+F1
hotkeys_caught_up "$LOG" ctrl+a 0x608 # the new key
close_overlay
[[ $(hotkey_lines 0x608) -eq 6 ]] || fail "the old key Ctrl+F1 still works"

check "the settings file is written at exit (SIGTERM ends the program in order)"
before=$(stat -c %Y.%s "$CFG")
sleep 1.1
e2e_stop "$FIRST" 10
wait "$FIRST" 2>/dev/null
after=$(stat -c %Y.%s "$CFG")
[[ $before != "$after" ]] || fail "the settings file was not written at exit"
grep -q '"m_hkRectangle": {"modifiers": 2, "virtualKey": 65}' <<<"$("$VISTREL" --print-settings)" ||
    fail "the saved hotkey is not in the settings: $("$VISTREL" --print-settings)"

check "after the last copy ends a new start is the first copy again; zh_CN picks the Chinese file"
# No language chosen yet (the first start of an English system chose English).
"$VISTREL" --set g_strLanguageFile= >/dev/null
LANG=zh_CN.UTF-8 LC_ALL= LC_MESSAGES= e2e_spawn "$VISTREL" 0
SECOND=$E2E_LAST_PID
e2e_wait_until 15 eval 'xdotool search --name "^Vistrel\$" >/dev/null' || fail "the program did not start again"
WIN=$(xdotool search --name '^Vistrel$' | head -n 1)
check "a last argument 0 starts it minimised"
e2e_wait_until 5 is_hidden "$WIN" || fail "not minimised with a last argument 0"
e2e_stop "$SECOND" 10
grep -q "\"g_strLanguageFile\": \"[^\"]*/Language/vstlchs.ini\"" <<<"$("$VISTREL" --print-settings)" ||
    fail "the Chinese default language file was not chosen"
echo "PASS"
