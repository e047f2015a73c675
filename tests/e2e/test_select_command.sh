#!/bin/bash
# The command line opens the window's selections: `--select rectangle` with the
# window running, then two clicks, prints the path of a file with exactly the
# pixels of the command line's capture of that rectangle; Escape ends it with
# status 1 and no file. --select object, given twice, takes the window pointed
# at; --record-dialog opens the recording dialog there, and --select with no
# window running starts one for it.
# Usage: test_select_command.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 120

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 800x600x24
e2e_start_openbox
e2e_make_home
"$VISTREL" --set m_nCaptureType=3 --set m_bShowMagnifier=0 --set m_bHideSelf=0 --set m_bShowReminder=0 >/dev/null ||
    fail "--set failed"
convert -size 800x600 plasma:fractal -depth 8 "$W/screen.png" || fail "cannot make the test picture"
show_picture "$W/screen.png"
overlay_up() { window_shown '^Vistrel selection$'; }
bitmaps() { find "$VISTREL_HOME/Capture/Bitmap" -type f 2>/dev/null | wc -l; }

: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
WINDOW_PID=$E2E_LAST_PID
WIN=$(wait_for_window '^Vistrel$' 15) || fail "no main window"
xdotool windowminimize "$WIN"
e2e_wait_until 5 eval '[[ $(xwininfo -id "$WIN") != *IsViewable* ]]' || fail "the window did not minimise"

check "--select rectangle, two clicks: the printed file is the command line's capture of the rectangle"
e2e_spawn "$VISTREL" --select rectangle >"$W/select.out" 2>"$W/select.err"
SELECT=$E2E_LAST_PID
e2e_wait_until 10 overlay_up || fail "no selection after --select (log: $(tail -n 3 "$LOG"))"
sleep 0.2 # the overlay maps before it takes the pointer
xdotool mousemove 120 90 sleep 0.1 click 1 sleep 0.2 mousemove 331 257 sleep 0.2 click 1
wait_for_exit "$SELECT" 10
status=$?
[[ $status == 0 ]] || fail "--select ended with $status: $(cat "$W/select.err")"
chosen=$(cat "$W/select.out")
[[ $chosen == "$VISTREL_HOME/Capture/Bitmap/"*.png && -s $chosen ]] || fail "printed '$chosen'"
cli=$("$VISTREL" --capture rectangle 120 90 331 257 --no-cursor) || fail "the command line's capture failed"
same_picture "$chosen" "$cli" ||
    fail "$(identify -format '%wx%h' "$chosen") and $(identify -format '%wx%h' "$cli"), $(differing_pixels "$chosen" "$cli") pixels differ"
e2e_wait_until 5 eval '! overlay_up' || fail "the overlay stayed"

check "Escape: status 1, nothing printed, no file"
before=$(bitmaps)
e2e_spawn "$VISTREL" --select ellipse >"$W/select.out" 2>"$W/select.err"
SELECT=$E2E_LAST_PID
e2e_wait_until 10 overlay_up || fail "no selection after the second --select"
sleep 0.2
xdotool mousemove 200 200 sleep 0.1 key Escape
wait_for_exit "$SELECT" 10
status=$?
[[ $status == 1 ]] || fail "a cancelled --select ended with $status"
[[ ! -s $W/select.out ]] || fail "a cancelled --select printed $(cat "$W/select.out")"
[[ $(bitmaps) == "$before" ]] || fail "a cancelled --select left a file"
grep -q cancelled "$W/select.err" || fail "no word of the cancel: $(cat "$W/select.err")"

check "a shape that is no selection is refused before anything opens"
"$VISTREL" --select fullscreen 2>"$W/select.err" && fail "--select fullscreen was taken"
[[ $? == 2 ]] || fail "--select fullscreen: status $?"
overlay_up && fail "a refused --select opened the selection"

check "--select object, and again with the pointer on a window: both print that window's file"
e2e_spawn xlogo -geometry 200x150+300+250
LOGO=$(wait_for_window '^xlogo$' 10)
started=$(trace_lines "$LOG" "object capture started")
e2e_spawn "$VISTREL" --select object >"$W/first.out" 2>"$W/first.err"
FIRST=$E2E_LAST_PID
wait_for_trace "$LOG" "object capture started" $((started + 1)) 10 || fail "--select object started no object capture"
X=$(xwininfo -id "$LOGO" | awk '/Absolute upper-left X/ {print $4}')
Y=$(xwininfo -id "$LOGO" | awk '/Absolute upper-left Y/ {print $4}')
WIDTH=$(xwininfo -id "$LOGO" | awk '/Width:/ {print $2}')
HEIGHT=$(xwininfo -id "$LOGO" | awk '/Height:/ {print $2}')
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 0.8 # the frame follows the pointer on a timer
second=$("$VISTREL" --select object 2>"$W/second.err") || fail "the second --select object: $(cat "$W/second.err")"
wait_for_exit "$FIRST" 10
status=$?
[[ $status == 0 ]] || fail "the first --select object ended with $status: $(cat "$W/first.err")"
first=$(cat "$W/first.out")
[[ -s $first && $first == "$second" ]] || fail "printed '$first' and '$second'"
[[ $(identify -format '%wx%h' "$first") == "${WIDTH}x${HEIGHT}" ]] ||
    fail "object capture $(identify -format '%wx%h' "$first"), window ${WIDTH}x${HEIGHT}"
# The capture is over once the window is back; until then a recording is refused.
e2e_wait_until 5 window_shown '^Vistrel$' || fail "the main window did not come back"

check "--record-dialog opens the recording dialog in the running copy"
"$VISTREL" --record-dialog || fail "--record-dialog failed"
DIALOG=$(wait_for_window '^AVI Capture$' 15) || fail "no dialog after --record-dialog (log: $(tail -n 3 "$LOG"))"
xdotool windowactivate --sync "$DIALOG" key Escape
e2e_wait_until 10 eval '! window_shown "^AVI Capture$"' || fail "the dialog did not close"

check "with no copy running, --select starts the window first"
e2e_stop "$WINDOW_PID" 5
e2e_wait_until 10 eval '! window_shown "^Vistrel$"' || fail "the window did not end"
e2e_spawn "$VISTREL" --select rectangle >"$W/select.out" 2>"$W/select.err"
SELECT=$E2E_LAST_PID
e2e_wait_until 20 overlay_up || fail "no selection with no copy running: $(cat "$W/select.err")"
sleep 0.2
xdotool key Escape
wait_for_exit "$SELECT" 10
[[ $? == 1 ]] || fail "the cancelled --select did not end with 1"
# The window it started (minimised) is ours to end: by the process behind it.
started_pid=
for window in $(xdotool search --name '^Vistrel$'); do # the toolkit's helper windows name none
    started_pid=$(xdotool getwindowpid "$window" 2>/dev/null) && break
done
[[ -n $started_pid && $(cat "/proc/$started_pid/comm") == vistrel-gui ]] || fail "no window was started"
kill -TERM "$started_pid"
e2e_wait_until 10 eval '! kill -0 '"$started_pid"' 2>/dev/null' || fail "the started window did not end"
echo "PASS"
