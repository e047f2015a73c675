#!/bin/bash
# A new user's first recording in the windowed program: the area to record is
# dragged with the same gesture as a still capture and comes out the same size
# (the still's picture and the recording's frames), while the recording dialog
# steps aside during the choice; while it records, the status bar and the tray
# tip tell the time and a growing file size once a second; and when the
# player cannot be started the message names the file and its folder.
# Screenshots go to $E2E_SHOTS when set.
# Usage: test_record_selection.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
e2e_need_tools xdotool ffprobe identify import
W=$E2E_TMP
SHOTS=${E2E_SHOTS:-$W}
LOG=$W/vistrel.log

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
# The player found first cannot be run: its file is no program.
mkdir -p "$W/bin"
printf 'not a program\n' >"$W/bin/mpv"
chmod +x "$W/bin/mpv"
export PATH="$W/bin:$PATH"
"$VISTREL" --set m_bShowMagnifier=0 >/dev/null || fail "--set failed"
convert -size 1024x700 plasma:fractal -depth 8 "$W/screen.png" || fail "cannot make the test picture"
show_picture "$W/screen.png"

# drag X1 Y1 X2 Y2 [SHOT]: press, move in two steps, release; the screen is
# taken just before the release when SHOT names a file.
drag() {
    xdotool mousemove "$1" "$2" sleep 0.1 mousedown 1 sleep 0.1 mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2)) \
        sleep 0.1 mousemove "$3" "$4" sleep 0.3
    [[ -n ${5:-} ]] && import -window root "$5"
    xdotool mouseup 1
}
# In bytes, from "12 KB" or "3.2 MB".
size_bytes() {
    awk '{ n = $1; u = $2; print int(n * (u == "GB" ? 1073741824 : u == "MB" ? 1048576 : 1024)) }' <<<"$1"
}

: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
MAIN=$(wait_for_window '^Vistrel$' 15) || exit 1

check "a still rectangle dragged from (100, 120) to (600, 420)"
xdotool key ctrl+F1
e2e_wait_until 5 window_shown '^Vistrel selection$' || fail "no overlay after Ctrl+F1"
sleep 0.3
drag 100 120 600 420
e2e_wait_until 10 grep -q "capture saved" "$LOG" || fail "nothing saved (log: $(tail -n 3 "$LOG"))"
STILL=$(grep "capture saved" "$LOG" | tail -n 1 | sed 's/.*capture saved //')
still_size=$(identify -format '%w,%h' "$STILL") || fail "cannot read $STILL"
note "still: $still_size"
[[ $still_size == 500,300 ]] || fail "the still capture is $still_size, not 500,300"

check "the same drag chooses the area to record; the dialog is off the screen meanwhile"
e2e_wait_until 5 window_shown '^Vistrel$' || fail "the main window did not come back"
xdotool key ctrl+F6
DIALOG=$(wait_for_window '^AVI Capture$' 15) || fail "no dialog after the hotkey (log: $(tail -n 3 "$LOG"))"
xdotool windowactivate --sync "$DIALOG" 2>/dev/null
sleep 0.3
# Custom region; "Play AVI file" stays ticked.
xdotool key --delay 80 alt+u Return
wait_for_trace "$LOG" "region selector shown" 1 10 || fail "no region selector (log: $(tail -n 3 "$LOG"))"
[[ $(xwininfo -id "$DIALOG") == *IsUnMapped* ]] || fail "the dialog stays on the screen while the area is chosen"
sleep 0.2
drag 100 120 600 420 "$SHOTS/record-selection-drag.png"
wait_for_trace "$LOG" "recording status" 1 10 || fail "the recording did not start (log: $(tail -n 3 "$LOG"))"
e2e_wait_until 5 eval '[[ $(xwininfo -id "$DIALOG") == *IsViewable* ]]' || fail "the dialog did not come back"

check "while it records, the status bar and the tray tip tell the time and a growing size every second"
wait_for_trace "$LOG" "status bar: Recording 0:03" 1 15 || fail "no status for 3 seconds (log: $(tail -n 5 "$LOG"))"
import -window root "$SHOTS/record-status-bar.png"
trace=$(cat "$LOG")
mapfile -t bar < <(sed -n 's/.*status bar: Recording //p' <<<"$trace")
mapfile -t tips < <(sed -n 's/.*recording status Recording //p' <<<"$trace")
note "first ${bar[0]}, last ${bar[-1]}"
((${#bar[@]} >= 4)) || fail "only ${#bar[@]} status texts in 3 seconds"
# The tip is set just after the status bar: the newest bar text may have no tip yet.
[[ ${bar[*]:0:${#tips[@]}} == "${tips[*]}" ]] || fail "the status bar (${bar[*]}) and the tip (${tips[*]}) differ"
[[ ${bar[0]} == "0:00 — "* ]] || fail "the first status is '${bar[0]}'"
first=$(size_bytes "${bar[0]#* — }") last=$(size_bytes "${bar[-1]#* — }")
((last > first)) || fail "the size did not grow: '${bar[0]}' to '${bar[-1]}'"

check "stopped, the file's frames have the still's size; the player's failure names the file and folder"
xdotool key ctrl+F6
e2e_wait_until 10 grep -q "list kind 2 shows 1 files" "$LOG" || fail "no file listed (log: $(tail -n 5 "$LOG"))"
wait_for_trace "$LOG" "status bar: $" 1 5 || fail "the status bar kept the recording's text"
FILE=$(find "$VISTREL_HOME/Capture/AVI" -name '*.avi' | head -n 1)
[[ -s $FILE ]] || fail "no recording"
record_size=$(video_probe "$FILE" width,height | paste -sd,)
note "recording: $record_size"
[[ $record_size == "$still_size" ]] || fail "the recording is $record_size, the still $still_size"
wait_for_trace "$LOG" "player not started" 1 10 || fail "no word of the player (log: $(tail -n 3 "$LOG"))"
message=$(grep "player not started" "$LOG" | tail -n 1)
[[ $message == *"$(basename "$FILE") in the folder $(dirname "$FILE")."* ]] || fail "the message does not name $FILE: $message"
e2e_wait_until 5 window_shown '^Note$' || fail "no message box"
xdotool key Return
e2e_wait_until 5 eval '! window_shown "^Note$"' || fail "the message stayed"
echo "PASS"
