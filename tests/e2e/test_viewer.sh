#!/bin/bash
# The library's preview and full-window viewer: three full-screen captures of
# a red, a green and a blue screen; the first selected in the list shows in
# the preview with its size in the status bar; a double click on the preview
# opens the viewer over the whole screen; N and P page through the captured
# bitmaps (the first N shows the list's first entry), wrapping at both ends;
# Escape closes it. Which capture is shown is read from the screen's pixels.
# Usage: test_viewer.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
e2e_need_tools xsetroot xdotool import convert
W=$E2E_TMP
LOG=$W/vistrel.log
SHOTS=${E2E_SHOTS:-$W}

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
B=$VISTREL_HOME/Capture/Bitmap
"$VISTREL" --set m_nCaptureType=3 --set m_bShowMagnifier=0 >/dev/null || fail "--set failed"

# In the window's first-run layout: the list's first row, the preview's middle.
LIST_X=300 LIST_Y=113 PREVIEW_X=124 PREVIEW_Y=390
saved_lines() { grep -c "capture saved" "$LOG"; }
viewer_lines() { grep -c "viewer shows" "$LOG"; }
# The screen's bottom right corner: no window of the program covers it, so a
# capture has the root window's colour there, and so does the viewer showing it.
corner() {
    import -window root "$W/screen.png"
    pixel "$W/screen.png" 1015 690
}
# expect_shown N NAME COLOUR: the N-th "viewer shows" line names the capture of
# that colour, and the screen shows it.
expect_shown() {
    e2e_wait_until 10 eval '[[ $(viewer_lines) -ge '"$1"' ]]' || fail "the viewer did not show a picture (log: $(tail -3 "$LOG"))"
    local line
    line=$(grep "viewer shows" "$LOG" | sed -n "${1}p")
    [[ $line == *"${FILES[$2]}" ]] || fail "expected ${FILES[$2]}, the viewer says: $line"
    e2e_wait_until 5 eval '[[ $(corner) == "'"$3"'" ]]' || fail "the screen shows $(corner), not $3"
}

: >"$LOG"
VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
WIN=$(wait_for_window '^Vistrel$' 15)

check "three captures of a red, a green and a blue screen"
n=0
for colour in red lime blue; do
    xsetroot -solid "$colour"
    xdotool key Print
    n=$((n + 1))
    e2e_wait_until 10 eval '[[ $(saved_lines) -ge '"$n"' ]]' || fail "capture $n was not saved"
done
mapfile -t FILES < <(grep "capture saved" "$LOG" | sed 's/.*capture saved //')
[[ ${#FILES[@]} -eq 3 ]] || fail "expected three captures: ${FILES[*]}"
[[ $(pixel "${FILES[0]}" 1015 690) == 255,0,0 && $(pixel "${FILES[2]}" 1015 690) == 0,0,255 ]] ||
    fail "the captures do not have the screen's colours"

check "the first capture selected in the list shows in the preview, its size in the status bar"
xdotool windowactivate --sync "$WIN" 2>/dev/null
X=$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {print $4}')
Y=$(xwininfo -id "$WIN" | awk '/Absolute upper-left Y/ {print $4}')
xdotool mousemove $((X + LIST_X)) $((Y + LIST_Y)) click 1
e2e_wait_until 10 grep -q "preview shows ${FILES[0]}" "$LOG" || fail "the preview did not show the first capture (log: $(tail -3 "$LOG"))"
grep -q "preview shows ${FILES[0]} 1024 x 700 x 24\$" "$LOG" || fail "wrong status text: $(grep "preview shows" "$LOG")"
import -window root "$SHOTS/viewer-preview.png"

check "a double click on the preview opens the viewer over the whole screen"
xdotool mousemove $((X + PREVIEW_X)) $((Y + PREVIEW_Y)) click --repeat 2 --delay 80 1
VIEWER=$(wait_for_window '^Vistrel image viewer$' 10)
expect_shown 1 0 255,0,0
geometry=$(xwininfo -id "$VIEWER" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
[[ $geometry == 1024x700 ]] || fail "the viewer is $geometry, not the screen's size"
import -window root "$SHOTS/viewer-open.png"

check "N first shows the list's first entry, then the next ones, wrapping at the end"
xdotool key n
expect_shown 2 0 255,0,0
xdotool key n
expect_shown 3 1 0,255,0
xdotool key n
expect_shown 4 2 0,0,255
xdotool key n
expect_shown 5 0 255,0,0

check "P goes back, wrapping at the start"
xdotool key p
expect_shown 6 2 0,0,255
xdotool key p
expect_shown 7 1 0,255,0

check "Escape closes the viewer; the program goes on"
xdotool key Escape
e2e_wait_until 5 eval '! window_shown "^Vistrel image viewer\$"' || fail "the viewer did not close"
window_shown '^Vistrel$' || fail "the main window is gone"
echo "PASS"
