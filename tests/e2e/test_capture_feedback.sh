#!/bin/bash
# After a capture: a desktop notification that names the new file, whose
# "Copy" puts the picture on the clipboard; with the clipboard preference on,
# every still capture is there at once as a PNG of the saved pixels; the shots
# of a timer capture share one notification, each taking the place of the one
# before, and the next capture has its own; with no notification service,
# captures still succeed and the user is told nothing.
# Usage: test_capture_feedback.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 120

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
HOST=$(dirname "$VISTREL")/tests/e2e/notify_host
[[ -x $HOST ]] || fail "no notification host at $HOST"
e2e_need_tools dbus-daemon xclip
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 640x480x24
e2e_start_openbox
e2e_make_home
"$VISTREL" --set m_nCaptureType=3 >/dev/null || fail "--set failed"

# A private session bus.
: >"$W/bus"
e2e_spawn dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$W/bus" 2>"$W/dbus.log"
e2e_wait_until 5 test -s "$W/bus" || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$W/bus")

saves() { grep -c "capture saved" "$LOG"; }
wait_saves() { e2e_wait_until 10 eval '[[ $(saves) -ge '"$1"' ]]' || fail "$2 (log: $(tail -n 3 "$LOG"))"; }
newest() { grep "capture saved" "$LOG" | tail -n 1 | sed 's/.*capture saved //'; }
start_host() {
    : >"$W/host.log"
    e2e_spawn "$HOST" "$@" >>"$W/host.log"
    HOST_PID=$E2E_LAST_PID
    e2e_wait_until 5 grep -q ready "$W/host.log" || fail "the notification host did not start"
}
# clipboard_is FILE: the clipboard's PNG has the file's pixels.
clipboard_is() {
    xclip -selection clipboard -t image/png -o >"$W/clip.png" 2>/dev/null && same_picture "$W/clip.png" "$1"
}

start_host --invoke copy
: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
wait_for_window '^Vistrel$' 15 >/dev/null

check "Print: one notification that names the new file; its Copy puts the picture on the clipboard"
xdotool key Print
wait_saves 1 "Print saved nothing"
file=$(newest)
e2e_wait_until 5 grep -q '^notify ' "$W/host.log" || fail "no notification"
line=$(grep '^notify ' "$W/host.log")
[[ $line == "notify Capture saved|$(basename "$file")\\nin $(dirname "$file")|open,Open,copy,Copy,folder,Show in folder" ]] ||
    fail "the notification reads: $line"
e2e_wait_until 5 clipboard_is "$file" || fail "Copy did not put the capture on the clipboard"
[[ $(grep -c '^notify ' "$W/host.log") -eq 1 ]] || fail "more than one notification: $(cat "$W/host.log")"

check "with the clipboard preference on, every still capture is on the clipboard as it was saved"
e2e_stop "$HOST_PID"
start_host
"$VISTREL" --set copyCapturesToClipboard=1 >/dev/null || fail "--set of the preference failed"
"$VISTREL" --capture area 10 10 50 40 --no-cursor >/dev/null || fail "--capture failed"
file=$(newest)
e2e_wait_until 5 clipboard_is "$file" || fail "the capture is not on the clipboard"
xdotool key Print
wait_saves 3 "Print saved nothing"
file=$(newest)
e2e_wait_until 5 clipboard_is "$file" || fail "the second capture is not on the clipboard"

check "a timer capture's shots share one notification; the next capture has its own"
: >"$W/host.log"
"$VISTREL" --timer 0 0 120 90 --interval 1 --count 3 >"$W/timer.out" 2>"$W/timer.err" ||
    fail "--timer failed: $(cat "$W/timer.err")"
mapfile -t shots <"$W/timer.out"
[[ ${#shots[@]} -eq 3 ]] || fail "expected three shots: $(cat "$W/timer.out")"
e2e_wait_until 5 eval '[[ $(grep -c "^notify " "$W/host.log") -ge 3 ]]' || fail "notifications: $(cat "$W/host.log")"
mapfile -t notes < <(grep '^notify ' "$W/host.log")
[[ ${notes[0]} != *"|replaces "* ]] || fail "the first shot replaced a notification: ${notes[0]}"
first_id=${notes[1]##*|replaces }
[[ ${notes[1]} == *"|replaces $first_id" && ${notes[2]} == *"|replaces $first_id" ]] ||
    fail "later shots did not replace the first: ${notes[*]}"
for i in 0 1 2; do
    [[ ${notes[$i]} == *"$(basename "${shots[$i]}")"* ]] || fail "notification $i does not name ${shots[$i]}: ${notes[$i]}"
done
n=$(saves)
xdotool key Print
wait_saves $((n + 1)) "Print saved nothing after the timer"
e2e_wait_until 5 eval '[[ $(grep -c "^notify " "$W/host.log") -ge 4 ]]' || fail "no notification for Print"
last=$(grep '^notify ' "$W/host.log" | tail -n 1)
[[ $last != *"|replaces "* ]] || fail "Print's notification replaced a shot's: $last"

check "no notification service: the capture is saved and the user is told nothing"
e2e_stop "$HOST_PID"
n=$(saves)
xdotool key Print
wait_saves $((n + 1)) "Print saved nothing without a notification service"
sleep 0.5
untraced=$(grep -v '^vistrel: ' "$LOG" || true)
[[ -z $untraced ]] || fail "the program printed: $untraced"
echo "PASS"
