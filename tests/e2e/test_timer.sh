#!/bin/bash
# Timer captures: from the command line alone and through the running copy
# (--timer ... --count 3, and an interval of 0 refused before any shot; with
# no window open, ended by SIGINT or by the timer hotkey, and running still
# when another program holds that hotkey), and
# from the dialog: a 200 x 150 region every second until the timer hotkey
# stops it, with the animated tray icon while it runs and gone afterwards; a
# region chosen on the screen, stopped from the tray menu.
# Usage: test_timer.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 200

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
TRAY_HOST=$(dirname "$VISTREL")/tests/e2e/tray_host
[[ -x $TRAY_HOST ]] || fail "no tray host at $TRAY_HOST"
X11_PROBE=$(dirname "$VISTREL")/tests/e2e/x11_probe
[[ -x $X11_PROBE ]] || fail "no x11_probe at $X11_PROBE"
W=$E2E_TMP
LOG=$W/vistrel.log
SHOTS=${E2E_SHOTS:-$W}

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
B=$VISTREL_HOME/Capture/Bitmap

count() { find "$B" -type f 2>/dev/null | wc -l; }
shots() { grep -c "^vistrel: timer shot " "$LOG"; }
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
# Every path given is a file of 200 x 150 pixels.
all_200x150() {
    local f
    for f in "$@"; do
        [[ -s $f && $(identify -format '%wx%h' "$f") == 200x150 ]] || fail "not a 200 x 150 picture: '$f' $(identify "$f" 2>&1)"
    done
}
# timer_cli OUT_VAR ARGS...: runs --timer with ARGS, its paths in OUT_VAR, its status in STATUS.
timer_cli() {
    local -n out=$1
    shift
    out=$("$VISTREL" --timer "$@" 2>"$W/cli.err")
    STATUS=$?
}

# The timer hotkey over the main window opens the dialog (DLG), which gets the keyboard.
open_dialog() {
    xdotool windowactivate --sync "$WIN" 2>/dev/null
    xdotool key ctrl+shift+t
    DLG=$(wait_for_window '^Timer Capture$' 10)
    [[ -n $DLG ]] || fail "no timer dialog"
    xdotool windowactivate --sync "$DLG" 2>/dev/null
}
# set_field MNEMONIC TEXT: the field the label's key leads to, typed over.
set_field() { xdotool key "$1"; xdotool key ctrl+a; xdotool type --delay 20 "$2"; }

check "an interval of 0, and a size of 0, exit 2 before any shot"
timer_cli paths 100 50 200 150 --interval 0 --count 1
[[ $STATUS -eq 2 && -z $paths && $(count) -eq 0 ]] || fail "interval 0: status $STATUS, '$paths', $(count) files"
timer_cli paths 100 50 0 150 --interval 1 --count 1
[[ $STATUS -eq 2 && -z $paths && $(count) -eq 0 ]] || fail "width 0: status $STATUS, '$paths', $(count) files"

check "--count 3 with no running copy prints three paths of 200 x 150 files"
start=$EPOCHREALTIME
timer_cli paths 100 50 200 150 --interval 1 --count 3
[[ $STATUS -eq 0 ]] || fail "status $STATUS: $(cat "$W/cli.err")"
mapfile -t files <<<"$paths"
[[ ${#files[@]} -eq 3 && $(count) -eq 3 ]] || fail "expected three paths and files: '$paths', $(count) files"
all_200x150 "${files[@]}"
took=$(bc <<<"$EPOCHREALTIME - $start")
(($(bc <<<"$took >= 2.9"))) || fail "three shots a second apart took only $took s"

check "SIGINT ends a timer capture with no count, after the shots it took"
e2e_spawn "$VISTREL" --timer 100 50 200 150 --interval 1 >"$W/sigint.out" 2>"$W/sigint.err"
cli=$E2E_LAST_PID
e2e_wait_until 10 eval '[[ $(wc -l <"$W/sigint.out") -ge 1 ]]' || fail "no shot before SIGINT"
kill -INT "$cli"
e2e_wait_until 5 eval '! _e2e_is_our_child '"$cli" || fail "SIGINT did not end it"
wait "$cli"
[[ $? -eq 0 ]] || fail "SIGINT: status not 0: $(cat "$W/sigint.err")"
mapfile -t files <"$W/sigint.out"
all_200x150 "${files[@]}"

check "the timer hotkey ends a timer capture with no window open, after the shots it took"
e2e_spawn "$VISTREL" --timer 0 0 200 150 --interval 1 >"$W/hotkey.out" 2>"$W/hotkey.err"
cli=$E2E_LAST_PID
e2e_wait_until 10 eval '[[ $(wc -l <"$W/hotkey.out") -ge 1 ]]' || fail "no shot before the hotkey: $(cat "$W/hotkey.err")"
_e2e_is_our_child "$cli" || fail "it ended by itself: $(cat "$W/hotkey.err")"
xdotool key ctrl+shift+t
status=0
wait_for_exit "$cli" 5 || status=$?
[[ $status -ne 124 ]] || fail "the hotkey did not end it"
[[ $status -eq 0 ]] || fail "hotkey: status $status: $(cat "$W/hotkey.err")"
[[ ! -s $W/hotkey.err ]] || fail "hotkey: complained: $(cat "$W/hotkey.err")"
mapfile -t files <"$W/hotkey.out"
[[ ${#files[@]} -ge 1 ]] || fail "no path printed"
all_200x150 "${files[@]}"

check "a timer hotkey another program holds is reported, and the timer capture still runs"
e2e_spawn "$X11_PROBE" hold-key 6 0x54 >"$W/holder.out" 2>&1 # Ctrl+Shift+T
holder=$E2E_LAST_PID
e2e_wait_until 5 grep -q "^held" "$W/holder.out" || fail "the key was not held: $(cat "$W/holder.out")"
timer_cli paths 0 0 200 150 --interval 1 --count 1
[[ $STATUS -eq 0 ]] || fail "held hotkey: status $STATUS: $(cat "$W/cli.err")"
grep -q "hotkey is taken by another program" "$W/cli.err" || fail "not reported: '$(cat "$W/cli.err")'"
mapfile -t files <<<"$paths"
[[ ${#files[@]} -eq 1 ]] || fail "expected one path: '$paths'"
all_200x150 "${files[@]}"
e2e_stop "$holder"

e2e_spawn "$TRAY_HOST" >"$W/tray.log"
e2e_wait_until 5 grep -q ready "$W/tray.log" || fail "the tray host did not start"
: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
PROGRAM=$E2E_LAST_PID
WIN=$(wait_for_window '^Vistrel$' 15)

check "through the running copy: --count 3 prints three paths; an interval of 0 exits 2"
n=$(count)
timer_cli paths 100 50 200 150 --interval 1 --count 3
[[ $STATUS -eq 0 ]] || fail "status $STATUS: $(cat "$W/cli.err")"
mapfile -t files <<<"$paths"
[[ ${#files[@]} -eq 3 && $(count) -eq $((n + 3)) ]] || fail "expected three paths and files: '$paths', $(count) files"
all_200x150 "${files[@]}"
grep -q "^vistrel: timer started 200x150 every 1000 ms" "$LOG" || fail "the running copy did not run it"
grep -q "^docked 1" "$W/tray.log" || fail "the running copy showed no timer tray icon"
e2e_wait_until 5 grep -q "^undocked 0" "$W/tray.log" || fail "the timer's tray icon stayed"
timer_cli paths 100 50 200 150 --interval 0
[[ $STATUS -eq 2 && -z $paths && $(count) -eq $((n + 3)) ]] || fail "interval 0: status $STATUS, '$paths'"

check "through the running copy each path is printed as it is saved, and SIGINT ends it"
n=$(count)
e2e_spawn "$VISTREL" --timer 100 50 200 150 --interval 1 >"$W/handed.out" 2>"$W/handed.err"
cli=$E2E_LAST_PID
e2e_wait_until 10 eval '[[ $(wc -l <"$W/handed.out") -ge 1 ]]' || fail "no path while it runs: $(cat "$W/handed.err")"
_e2e_is_our_child "$cli" || fail "it ended by itself"
kill -INT "$cli"
e2e_wait_until 5 eval '! _e2e_is_our_child '"$cli" || fail "SIGINT did not end it"
wait "$cli"
[[ $? -eq 0 ]] || fail "SIGINT: status not 0: $(cat "$W/handed.err")"
mapfile -t files <"$W/handed.out"
[[ $(count) -eq $((n + ${#files[@]})) ]] || fail "$(count) files for ${#files[@]} paths"
all_200x150 "${files[@]}"
e2e_wait_until 5 eval '[[ $(grep -c "^undocked 0" "$W/tray.log") -ge 2 ]]' || fail "the tray icon stayed: $(cat "$W/tray.log")"

check "the timer hotkey opens the dialog; a region every second until the hotkey stops it"
: >"$LOG"
n=$(count)
open_dialog
xdotool key alt+r
set_field alt+i 1
set_field alt+x 100
set_field alt+y 50
set_field alt+w 200
set_field alt+g 150
sleep 0.3
import -window root "$SHOTS/timer-dialog.png"
xdotool key Return
e2e_wait_until 5 grep -q "^vistrel: timer started 200x150 every 1000 ms" "$LOG" || fail "the dialog did not start it: $(tail -3 "$LOG")"
e2e_wait_until 5 eval '[[ $(grep -c "^docked 1" "$W/tray.log") -ge 3 ]]' || fail "no timer tray icon: $(cat "$W/tray.log")"
e2e_wait_until 5 eval '! mapped '"$WIN" || fail "the main window was not hidden"
e2e_wait_until 10 eval '[[ $(shots) -ge 2 ]]' || fail "fewer than two shots: $(tail -3 "$LOG")"

check "the tray menu offers Show Main Window and Stop Capture"
xdotool mousemove $((1024 - 96 + 12)) 12 click 3
sleep 0.6
import -window root "$SHOTS/timer-tray-menu.png"
xdotool key Escape
sleep 0.2

xdotool key ctrl+shift+t
e2e_wait_until 5 grep -q "^vistrel: timer stopped" "$LOG" || fail "the hotkey did not stop it"
taken=$(shots)
e2e_wait_until 5 eval '[[ $(grep -c "^undocked 0" "$W/tray.log") -ge 3 ]]' || fail "the tray icon stayed: $(cat "$W/tray.log")"
e2e_wait_until 5 mapped "$WIN" || fail "the main window did not come back"
mapfile -t files < <(grep "^vistrel: timer shot " "$LOG" | sed 's/^vistrel: timer shot //')
[[ ${#files[@]} -eq $taken && $(count) -eq $((n + taken)) ]] || fail "$(count) files for $taken shots"
all_200x150 "${files[@]}"
sleep 1.5
[[ $(shots) -eq $taken && $(count) -eq $((n + taken)) ]] || fail "shots went on after the stop"

check "the dialog refuses an interval of 0 and stays open"
open_dialog
set_field alt+i 0
xdotool key Return
e2e_wait_until 5 eval '[[ $(xdotool search --onlyvisible --name "^Timer Capture$" | wc -l) -ge 2 ]]' || fail "no message about the interval"
sleep 0.3
import -window root "$SHOTS/timer-refused.png"
xdotool key Return # the message
e2e_wait_until 5 eval '[[ $(xdotool search --onlyvisible --name "^Timer Capture$" | wc -l) -eq 1 ]]' || fail "the message stayed"
xdotool key Escape # the dialog, still open
e2e_wait_until 5 eval '! window_shown "^Timer Capture$"' || fail "the dialog did not close"
[[ $(grep -c "^vistrel: timer started" "$LOG") -eq 1 ]] || fail "a timer started with interval 0"
[[ $(count) -eq $((n + taken)) ]] || fail "a file was saved with interval 0"
check "a region chosen with Select Region, the window kept, and Stop Capture from the tray menu"
: >"$LOG"
n=$(count)
open_dialog
xdotool key alt+r
set_field alt+i 1
xdotool key alt+h # the program stays in sight
xdotool key alt+s
e2e_wait_until 5 eval '[[ -n $(xdotool search --onlyvisible --name "^Title$") ]]' || fail "no region selection"
sleep 0.3
xdotool mousemove 10 20 mousedown 1
xdotool mousemove 60 40
xdotool mousemove 110 70 mouseup 1
e2e_wait_until 5 eval '[[ -z $(xdotool search --onlyvisible --name "^Title$") ]]' || fail "the selection stayed"
xdotool windowactivate --sync "$DLG" 2>/dev/null
xdotool key Return
e2e_wait_until 5 grep -q "^vistrel: timer started 100x50 every 1000 ms" "$LOG" || fail "not the region chosen: $(grep started "$LOG")"
e2e_wait_until 10 eval '[[ $(shots) -ge 1 ]]' || fail "no shot"
mapped "$WIN" || fail "the main window was hidden"
xdotool mousemove $((1024 - 96 + 12)) 12 click 3
sleep 0.6
xdotool mousemove 850 44 click 1 # the second item
e2e_wait_until 5 grep -q "^vistrel: timer stopped" "$LOG" || fail "Stop Capture did not stop it"
mapfile -t files < <(grep "^vistrel: timer shot " "$LOG" | sed 's/^vistrel: timer shot //')
for f in "${files[@]}"; do
    [[ $(identify -format '%wx%h' "$f") == 100x50 ]] || fail "not a 100 x 50 picture: $(identify "$f")"
done
[[ $(count) -eq $((n + ${#files[@]})) ]] || fail "$(count) files for ${#files[@]} shots"
check "a program ended while it takes a timer capture for the command line still answers"
e2e_spawn "$VISTREL" --timer 100 50 200 150 --interval 1 >"$W/ended.out" 2>"$W/ended.err"
cli=$E2E_LAST_PID
e2e_wait_until 10 eval '[[ $(wc -l <"$W/ended.out") -ge 1 ]]' || fail "no path while it runs: $(cat "$W/ended.err")"
e2e_stop "$PROGRAM" 10
e2e_wait_until 10 eval '! _e2e_is_our_child '"$cli" || fail "the command line still waits for a program that has ended"
wait "$cli"
[[ $? -eq 0 ]] || fail "status not 0: $(cat "$W/ended.err")"
mapfile -t files <"$W/ended.out"
all_200x150 "${files[@]}"
echo "PASS"
