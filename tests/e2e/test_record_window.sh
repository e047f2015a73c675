#!/bin/bash
# Recording from the windowed program: it starts without the recorder and loads
# it on the first AVI hotkey; the hotkey opens "AVI Capture", a second press
# stops the recording, the file shows in the AVI list, and once the dialog is
# closed the capture hotkeys work again. Record AVI from the menu, with a
# built-in cursor and its highlight drawn into the frames. Recordings asked for on the command
# line are carried out by the running copy: one of a given length, and one
# ended by Ctrl+C (SIGINT) of the command line, which still prints the path,
# one whose folder is removed meanwhile, which is answered as failed without a
# path, and one whose program is ended meanwhile, which finishes the file first
# and still answers with its path.
# Usage: test_record_window.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
e2e_need_tools xdotool ffprobe
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 640x480x24
e2e_start_openbox
e2e_make_home
A=$VISTREL_HOME/Capture/AVI
loaded_ffmpeg() { grep -q libavcodec "/proc/$PROGRAM/maps"; }
avis() { find "$A" -name '*.avi' 2>/dev/null | sort; }

: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
PROGRAM=$E2E_LAST_PID
wait_for_window '^Vistrel$' 15 >/dev/null || exit 1

check "the program starts without the recorder"
loaded_ffmpeg && fail "FFmpeg is loaded before anything was recorded"

check "the AVI hotkey opens AVI Capture; a second press stops the recording, which is listed"
xdotool key ctrl+F6
DIALOG=$(wait_for_window '^AVI Capture$' 15) || fail "no dialog after the hotkey (log: $(tail -3 "$LOG"))"
loaded_ffmpeg || fail "the dialog is open but FFmpeg is not loaded"
xdotool windowactivate --sync "$DIALOG" 2>/dev/null
sleep 0.3
xdotool key --delay 80 alt+f alt+p Return # full screen, no player, Start
sleep 2.5
xdotool key ctrl+F6
e2e_wait_until 10 grep -q "list kind 2 shows 1 files" "$LOG" || fail "no file listed (log: $(tail -5 "$LOG"))"
FILE=$(avis | head -n 1)
[[ -s $FILE ]] || fail "no recording in $A"
[[ $(video_probe "$FILE" width),$(video_probe "$FILE" height) == 640,480 ]] ||
    fail "not 640 x 480: $(video_probe "$FILE" width,height)"
ffmpeg -v error -nostdin -i "$FILE" -f null - || fail "$FILE does not decode"
window_shown '^AVI Capture$' || fail "the dialog went away with the recording"

check "closed, the dialog gives the capture hotkeys back"
xdotool windowactivate --sync "$DIALOG" 2>/dev/null
sleep 0.3
xdotool key Escape
e2e_wait_until 5 grep -q "avi dialog closed" "$LOG" || fail "Escape did not close the dialog"
xdotool key Print
e2e_wait_until 10 grep -q "capture saved" "$LOG" || fail "Print Screen does nothing after the dialog closed"

check "Record AVI from the menu; a built-in cursor with its highlight is drawn into the frames"
xdotool windowactivate --sync "$(xdotool search --name '^Vistrel$' | head -n 1)" 2>/dev/null
sleep 0.3
xdotool key --delay 150 alt+c a
DIALOG=$(wait_for_window '^AVI Capture$' 10) || fail "no dialog from Capture > Record AVI"
xdotool windowactivate --sync "$DIALOG" 2>/dev/null
sleep 0.3
xdotool key alt+o
CURSOR=$(wait_for_window '^Cursor Options$' 10) || fail "no Cursor Options"
xdotool key --delay 100 alt+c alt+i Return # a built-in cursor, highlighted; OK
e2e_wait_until 5 eval '! window_shown "^Cursor Options$"' || fail "OK did not close Cursor Options"
# The pointer rests on the dialog's light face, away from its controls.
X=$(xwininfo -id "$DIALOG" | awk '/Absolute upper-left X/ {print $4}')
Y=$(xwininfo -id "$DIALOG" | awk '/Absolute upper-left Y/ {print $4}')
H=$(xwininfo -id "$DIALOG" | awk '/Height:/ {print $2}')
PX=$((X + 100)) PY=$((Y + H - 60))
xdotool mousemove $PX $PY
xdotool windowactivate --sync "$DIALOG" 2>/dev/null
sleep 0.3
import -window root "$W/live.png"
xdotool key Return # Start: full screen and no player, as chosen before
sleep 2
xdotool key ctrl+F6
e2e_wait_until 10 eval '[[ $(avis | wc -l) == 2 ]]' || fail "no second recording"
FILE=$(avis | tail -n 1)
ffmpeg -v error -nostdin -ss 1 -i "$FILE" -frames:v 1 -y "$W/frame.png" || fail "no frame in $FILE"
blue() { convert "$1" -format "%[fx:int(255*p{$2}.b)]" info:; }
# Left of the pointer: outside the cursor's picture, inside the highlight,
# whose yellow (blue 125) is ANDed with what lies below.
live=$(blue "$W/live.png" $((PX - 24)),$PY) frame=$(blue "$W/frame.png" $((PX - 24)),$PY)
note "blue below the highlight: $live on the screen, $frame in the recording"
((live > 180 && frame < 150)) || fail "no highlight in the recording"
xdotool windowactivate --sync "$DIALOG" 2>/dev/null
sleep 0.3
xdotool key Escape
e2e_wait_until 5 eval '[[ $(grep -c "avi dialog closed" "$LOG") == 2 ]]' || fail "Escape did not close the dialog"

check "a recording of given length from the command line is made by the running copy"
out=$("$VISTREL" --record area 10 20 100 80 --seconds 2 --codec MJPG 2>"$W/rec1.err") ||
    fail "--record failed: $(cat "$W/rec1.err")"
[[ -s $out ]] || fail "no file at the printed path '$out'"
grep -q "list kind 2 shows 3 files" "$LOG" || fail "the handed-over recording is not listed"
[[ $(video_probe "$out" width),$(video_probe "$out" height),$(video_probe "$out" codec_name) == 100,80,mjpeg ]] ||
    fail "wrong stream: $(video_probe "$out" width,height,codec_name)"
frames=$(video_probe "$out" nb_frames)
note "$frames frames"
((frames >= 39 && frames <= 41)) || fail "$frames frames for 2 s at 20 fps"

check "Ctrl+C of the command line ends a handed-over recording, and the path is still printed"
"$VISTREL" --record fullscreen >"$W/rec2.out" 2>"$W/rec2.err" &
CLIENT=$!
sleep 2.5
kill -INT $CLIENT
wait_for_exit $CLIENT 10
status=$?
((status != 124)) || fail "the command line did not end after SIGINT"
((status == 0)) || fail "exit status $status after SIGINT: $(cat "$W/rec2.err")"
out=$(cat "$W/rec2.out")
[[ -s $out ]] || fail "no file at the printed path '$out': $(cat "$W/rec2.err")"
ffmpeg -v error -nostdin -i "$out" -f null - || fail "$out does not decode"
[[ $(avis | wc -l) == 4 ]] || fail "expected four recordings: $(avis)"

check "a request refused for its area never reaches the running copy"
"$VISTREL" --record area 700 500 10 10 2>"$W/rec3.err" && fail "an area off the screen was recorded"
grep -q "cannot record that area" "$W/rec3.err" || fail "no reason given: $(cat "$W/rec3.err")"

check "a handed-over recording whose folder is removed meanwhile is answered as failed, without a path"
"$VISTREL" --set "m_strAviPath=$W/gone" || fail "--set m_strAviPath failed"
mkdir -p "$W/gone"
"$VISTREL" --record area 0 0 64 64 --codec MJPG >"$W/gone.out" 2>"$W/gone.err" &
CLIENT=$!
e2e_wait_until 10 eval '[[ -n $(find "$W/gone" -name "*.avi" -size +0) ]]' || fail "the recording did not start"
rm -rf "$W/gone"
kill -INT $CLIENT
wait_for_exit $CLIENT 10
status=$?
((status == 1)) || fail "exit status $status: $(cat "$W/gone.err")"
[[ ! -s $W/gone.out ]] || fail "printed '$(cat "$W/gone.out")'"
grep -q "is gone" "$W/gone.err" || fail "no reason given: $(cat "$W/gone.err")"
"$VISTREL" --set "m_strAviPath=$A" || fail "--set m_strAviPath back failed"

check "a program ended while it records for the command line finishes the file first, and answers"
avis >"$W/before"
"$VISTREL" --record area 0 0 320 240 --codec MJPG >"$W/rec4.out" 2>"$W/rec4.err" &
CLIENT=$!
e2e_wait_until 10 eval '[[ $(avis | wc -l) == 5 ]]' || fail "the recording did not start"
sleep 2
e2e_stop "$PROGRAM" 10
wait_for_exit $CLIENT 10
status=$?
((status != 124)) || fail "the command line still waits for a program that has ended"
((status == 0)) || fail "exit status $status: $(cat "$W/rec4.err")"
FILE=$(avis | comm -13 "$W/before" -)
[[ $(cat "$W/rec4.out") == "$FILE" ]] || fail "printed '$(cat "$W/rec4.out")', recorded $FILE"
# A finished AVI ends with its index; one cut off has none.
python3 - "$FILE" <<'PY' || fail "$FILE was not finished: no index at its end"
import struct, sys
data = open(sys.argv[1], 'rb').read()
pos, last = 12, None
while pos + 8 <= len(data):
    tag, size = data[pos:pos + 4], struct.unpack('<I', data[pos + 4:pos + 8])[0]
    last, pos = tag, pos + 8 + size + (size & 1)
sys.exit(0 if last == b'idx1' else 1)
PY
ffmpeg -v error -nostdin -i "$FILE" -f null - || fail "$FILE does not decode"
