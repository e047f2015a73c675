#!/bin/bash
# What the window does with a capture it cannot write, and with captures the
# command line asks for while a selection is open: a message that names the
# file and the reason; a request that says it waits, is carried out once the
# selection ends, and is dropped if its client has gone meanwhile.
# Usage: test_capture_requests.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 120

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 800x600x24
e2e_start_openbox
e2e_make_home
B=$VISTREL_HOME/Capture/Bitmap
"$VISTREL" --set m_bShowMagnifier=0 >/dev/null || fail "--set failed"
count() { find "$B" -type f | wc -l; }
number() { "$VISTREL" --print-settings | sed -n 's/.*"m_nBitmapNumber": \(-\?[0-9]*\).*/\1/p'; }
overlay_up() { window_shown '^Vistrel selection$'; }
traced() { grep -c -- "$1" "$LOG"; }

: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
wait_for_window '^Vistrel$' 15 >/dev/null

check "a capture that cannot be written is reported, naming the file and the reason"
mkdir -p "$B"
mv "$B" "$W/kept" && : >"$B" # the bitmap folder is a file now
xdotool key Print
e2e_wait_until 10 window_shown '^Capture not saved$' || fail "no message (log: $(tail -n 3 "$LOG"))"
told=$(grep "told the user:" "$LOG")
[[ $told == *"$B"* && $told == *"Not a directory"* ]] || fail "the message does not say which file and why: $told"
import -window root "${E2E_SHOTS:-$W}/save-failure.png"
xdotool key Return
e2e_wait_until 5 eval '! window_shown "^Capture not saved\$"' || fail "the message did not close"
rm -f "$B" && mv "$W/kept" "$B"

check "with the selection open, a command-line capture says it waits and runs once the selection ends"
before=$(count)
xdotool key ctrl+F1
e2e_wait_until 5 overlay_up || fail "no overlay"
e2e_spawn "$VISTREL" --capture area 0 0 30 20 --no-cursor >"$W/waiting.out" 2>"$W/waiting.err"
client=$E2E_LAST_PID
e2e_wait_until 10 grep -q "waiting for the capture in progress" "$W/waiting.err" ||
    fail "the client did not say that it waits: $(cat "$W/waiting.err")"
[[ $(count) -eq $before ]] || fail "the request was carried out under the open selection"
xdotool mousemove 100 100 sleep 0.2 click 1 sleep 0.2 mousemove 200 160 sleep 0.2 click 1
wait_for_exit "$client" 10
status=$?
[[ $status -eq 0 ]] || fail "the waiting client ended with $status: $(cat "$W/waiting.err")"
path=$(cat "$W/waiting.out")
[[ -s $path && $(identify -format '%wx%h' "$path") == 30x20 ]] || fail "the waiting client printed '$path'"
[[ $(count) -eq $((before + 2)) ]] || fail "$(count) files, expected the selection's and the request's"

check "a request whose client has gone while it waited is never carried out"
before=$(count)
n=$(number)
withdrawn=$(traced "capture request withdrawn")
xdotool key ctrl+F1
e2e_wait_until 5 overlay_up || fail "no overlay"
e2e_spawn "$VISTREL" --capture area 0 0 30 20 --no-cursor >/dev/null 2>"$W/gone.err"
client=$E2E_LAST_PID
e2e_wait_until 10 grep -q "waiting for the capture in progress" "$W/gone.err" || fail "the client did not wait"
kill -KILL "$client"
wait_for_exit "$client" 5
xdotool key Escape
e2e_wait_until 10 eval '[[ $(traced "capture request withdrawn") -gt '"$withdrawn"' ]]' ||
    fail "the request of the killed client was not withdrawn (log: $(tail -n 3 "$LOG"))"
[[ $(count) -eq $before ]] || fail "a file was written for a client that had gone"
[[ $(number) -eq $n ]] || fail "a number was used for a client that had gone: $n became $(number)"
echo "PASS"
