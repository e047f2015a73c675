#!/bin/bash
# The "AVI Capture" dialog on a real display, driven as a user would: a
# full-screen recording started with Start (Enter) and ended by Stop after about
# two seconds, checked with ffprobe and found on the AVI list; Escape refused
# while recording; Select Region; a fixed region of the numbers typed in,
# chosen by a click, minimised while it records and ended by the AVI hotkey,
# with the frame around it that never shows in the frames; Video Options and
# its checks; both dialogs in Chinese; a region dragged with the toolkit
# scaled. Screenshots go to $E2E_SHOTS when set.
# The dialog runs in avi_dialog_host, as the main window's command opens it.
# Usage: test_avi_dialog.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
HOST=$(dirname "$VISTREL")/tests/e2e/avi_dialog_host
[[ -x $HOST ]] || fail "no avi_dialog_host in $(dirname "$VISTREL")/tests/e2e"
e2e_need_tools xdotool ffprobe import
W=$E2E_TMP
SHOTS=${E2E_SHOTS:-$W}

e2e_start_xvfb 800x600x24
e2e_start_openbox
e2e_make_home
OUT=$W/host.out
listed() { grep -c '^list ' "$OUT"; }
last_path() { grep '^list ' "$OUT" | tail -n 1 | cut -d' ' -f3-; }
keys() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}
focus_dialog() {
    xdotool windowactivate --sync "$DIALOG" 2>/dev/null
    sleep 0.3
}

: >"$OUT"
VISTREL_TRACE=1 e2e_spawn "$HOST" >"$OUT" 2>"$W/host.trace"
HOST_PID=$E2E_LAST_PID
DIALOG=$(wait_for_window '^AVI Capture$' 15) || exit 1
focus_dialog
import -window root "$SHOTS/avi-capture-dialog.png"

check "Video Options lists the compressors and refuses a rate out of range"
keys alt+v
OPTIONS=$(wait_for_window '^Video Options$' 10) || exit 1
import -window root "$SHOTS/video-options-dialog.png"
keys Tab Tab Tab Tab Tab ctrl+a
xdotool type --delay 20 500
keys Return
e2e_wait_until 5 window_shown '^Note$' || fail "no message for a rate of 500"
import -window root "$SHOTS/video-options-refused.png"
keys Return
window_shown '^Video Options$' || fail "the refused values closed the dialog"
keys Escape
e2e_wait_until 5 eval '! window_shown "^Video Options$"' || fail "Escape did not close Video Options"
focus_dialog

check "full screen: Enter starts, Escape is refused meanwhile, Stop (Enter) ends it and lists the file"
keys alt+f # Full screen capture
keys alt+p # no player on this machine: untick "Play AVI file"
focus_dialog
started=$(_e2e_now_ms)
keys Return # Start, the default button
sleep 1
import -window root "$SHOTS/avi-capture-recording.png"
keys Escape
window_shown '^AVI Capture$' || fail "Escape closed the dialog while it records"
sleep 1
focus_dialog
keys Return # Stop, the default button now
stopped=$(_e2e_now_ms)
e2e_wait_until 10 eval '[[ $(listed) == 1 ]]' || fail "no file listed after Stop: $(cat "$OUT")"
FILE=$(last_path)
[[ -s $FILE ]] || fail "the listed file $FILE is not there"
note "$FILE"
[[ $(video_probe "$FILE" width),$(video_probe "$FILE" height) == 800,600 ]] ||
    fail "not 800 x 600: $(video_probe "$FILE" width,height)"
duration=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$FILE")
# About two seconds: no longer than the time from Start to Stop, which a busy
# machine draws out.
awk -v d="$duration" -v most=$((stopped - started)) 'BEGIN { exit !(d >= 1.5 && d <= most / 1000 + 1) }' ||
    fail "length $duration s, expected about 2 (Start to Stop took $((stopped - started)) ms)"
ffmpeg -v error -nostdin -i "$FILE" -f null - || fail "$FILE does not decode"

check "Select Region: a rectangle dragged from lower right to upper left gives the fixed size"
focus_dialog
keys alt+x # Fixed region capture
keys alt+s # Select Region
wait_for_trace "$W/host.trace" "region selector shown" 1 5 || fail "no region selector: $(tail -n 3 "$W/host.trace")"
[[ $(xwininfo -id "$DIALOG") == *IsUnMapped* ]] || fail "the dialog stays on the screen while the region is chosen"
xdotool mousemove 600 500 mousedown 1
sleep 0.2
xdotool mousemove 400 400
sleep 0.2
xdotool mousemove 200 300
sleep 0.3
import -window root "$SHOTS/avi-capture-select-region.png"
xdotool mouseup 1
wait_for_trace "$W/host.trace" "region selected" 1 5 || fail "the selection did not end: $(cat "$W/host.trace")"
focus_dialog
import -window root "$SHOTS/avi-capture-selected.png"
[[ $(listed) == 1 ]] || fail "Select Region started a recording"

check "fixed region of the typed size, chosen by a click, minimised while recording, ended by the AVI hotkey"
focus_dialog
keys alt+w ctrl+a
xdotool type --delay 20 200
keys alt+h ctrl+a
xdotool type --delay 20 120
xdotool mousemove 400 300
keys alt+m # Minimize program on start recording
focus_dialog
keys Return
sleep 0.7
import -window root "$SHOTS/avi-capture-fixed-selection.png"
xdotool mousemove 400 300 click 1
sleep 1
window_shown '^AVI Capture$' && fail "the dialog is still shown while recording minimised"
window_shown '^avi host main$' && fail "the main window is still shown while recording minimised"
# The area is 200 x 120 centred on the pointer: (301, 241) to (500, 360); the
# frame's corner brackets lie just outside it, green between grabs and pale
# yellow while one is taken.
frame_colour() { [[ $1 == 00FF50* || $1 == FFFFB4* ]]; }
import -window root "$W/during.png"
cp "$W/during.png" "$SHOTS/avi-capture-flashing-frame.png"
for at in 297,237 504,364 297,364 504,237; do
    colour=$(convert "$W/during.png" -format "%[hex:p{$at}]" info:)
    frame_colour "$colour" || fail "no frame at $at: $colour"
done
for at in 301,241 400,300 280,300; do
    colour=$(convert "$W/during.png" -format "%[hex:p{$at}]" info:)
    frame_colour "$colour" && fail "the frame covers $at"
done
sleep 1
kill -USR1 "$HOST_PID"
e2e_wait_until 10 eval '[[ $(listed) == 2 ]]' || fail "no second file listed after the hotkey: $(cat "$OUT")"
grep -q '^hotkey taken$' "$OUT" || fail "the hotkey was not taken by the dialog"
e2e_wait_until 5 window_shown '^AVI Capture$' || fail "the dialog did not come back"
window_shown '^avi host main$' || fail "the main window did not come back"
FILE2=$(last_path)
[[ $FILE2 != "$FILE" ]] || fail "the second recording replaced the first"
[[ $(video_probe "$FILE2" width),$(video_probe "$FILE2" height) == 200,120 ]] ||
    fail "not 200 x 120: $(video_probe "$FILE2" width,height)"
ffmpeg -v error -nostdin -i "$FILE2" -vf fps=4 "$W/frame-%03d.png" || fail "no frames in $FILE2"
[[ -e $W/frame-002.png ]] || fail "fewer frames than expected in $FILE2"
for frame in "$W"/frame-*.png; do
    for look in '#00FF50' '#FFFFB4'; do
        share=$(convert "$frame" -fuzz 10% -fill black +opaque "$look" -fill white -opaque "$look" -format '%[fx:mean]' info:)
        [[ $share == 0 ]] || fail "the frame ($look) shows in $(basename "$frame") of the recording ($share of the pixels)"
    done
done

check "Close ends the dialog and gives the hotkey back"
focus_dialog
keys Escape
wait_for_exit "$HOST_PID" 10 || fail "the host did not end after Escape"
grep -q '^closed$' "$OUT" || fail "the dialog did not close"

check "the dialogs in Chinese: every text fits"
: >"$OUT"
e2e_spawn "$HOST" "$E2E_DIR/../../Language/vstlchs.ini" >"$OUT"
HOST_PID=$E2E_LAST_PID
DIALOG=$(wait_for_window '^AVI 录制$' 15) || exit 1
focus_dialog
import -window root "$SHOTS/avi-capture-dialog-chinese.png"
keys alt+v
wait_for_window '^视频选项$' 10 >/dev/null || exit 1
import -window root "$SHOTS/video-options-dialog-chinese.png"
keys Escape
focus_dialog
keys Escape
wait_for_exit "$HOST_PID" 10 || fail "the host did not end after Escape"

check "with the toolkit scaled by 2 a dragged region keeps its odd screen pixels"
: >"$OUT"
QT_SCALE_FACTOR=2 VISTREL_TRACE=1 e2e_spawn "$HOST" >"$OUT" 2>"$W/scaled.trace"
HOST_PID=$E2E_LAST_PID
DIALOG=$(wait_for_window '^AVI Capture$' 15) || exit 1
focus_dialog
keys alt+u alt+p # Customed region, no player
focus_dialog
keys Return # Start: the region is dragged first
wait_for_trace "$W/scaled.trace" "region selector shown" 1 5 || fail "no region selector when scaled"
sleep 0.2
xdotool mousemove 101 131 mousedown 1
sleep 0.2
xdotool mousemove 200 180
sleep 0.2
xdotool mousemove 241 212
sleep 0.3
xdotool mouseup 1
sleep 1.5
focus_dialog
keys Return # Stop
e2e_wait_until 10 eval '[[ $(listed) == 1 ]]' || fail "no file listed: $(cat "$OUT")"
FILE3=$(last_path)
[[ $(video_probe "$FILE3" width),$(video_probe "$FILE3" height) == 140,81 ]] ||
    fail "not the dragged 140 x 81: $(video_probe "$FILE3" width,height)"
focus_dialog
keys Escape
wait_for_exit "$HOST_PID" 10 || fail "the host did not end after Escape"

echo "PASS"
