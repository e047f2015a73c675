#!/bin/bash
# Two monitors side by side on a real X server: L 1920x1080 at (0,0) and R
# 1280x1024 at (1920,0), on a 3200x1080 screen whose bottom right strip is on no
# monitor. The selection overlay covers both, the magnifier follows the pointer
# to the bottom left of its monitor, a rectangle across both holds the screen's
# own pixels (the same as the command line's capture), and Print saves the whole
# screen. Each check is a function; add one and call it at the end.
# Usage: test_two_monitors.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 230

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
e2e_need_tools xdotool convert compare identify import display
W=$E2E_TMP
LOG=$W/vistrel.log
SHOTS=${E2E_SHOTS:-$W}

e2e_start_two_monitors
e2e_start_openbox
e2e_make_home
B=$VISTREL_HOME/Capture/Bitmap
"$VISTREL" --set m_nCaptureType=0 >/dev/null # BMP: the pictures are large, and BMP is quick
"$VISTREL" --set m_bShowReminder=0 >/dev/null
read -r LX LY LW LH < <(monitor_geometry L)
read -r RX RY RW RH < <(monitor_geometry R)
[[ "$LX $LY $LW $LH / $RX $RY $RW $RH" == "0 0 1920 1080 / 1920 0 1280 1024" ]] ||
    fail "unexpected monitors: L $LX $LY $LW $LH, R $RX $RY $RW $RH"

# Noise everywhere, so any offset shows, and a block of its own colour on each
# side of the seam and in the strip below R that is on no monitor.
convert -size 3200x1080 xc:gray50 -seed 7 +noise Random \
    -fill '#ffd000' -draw 'rectangle 1800,100 1919,400' \
    -fill '#0050ff' -draw 'rectangle 1920,100 2039,400' \
    -fill '#ff0080' -draw 'rectangle 1920,1024 3199,1079' \
    -depth 8 "BMP3:$W/screen.bmp" || fail "cannot make the test picture"
show_picture "$W/screen.bmp"

saves() { grep -c "^vistrel: capture saved " "$LOG"; }
newest() { ls -t "$B"/*.bmp | head -n 1; }
wait_saves() { e2e_wait_until 15 eval '[[ $(saves) -ge '"$1"' ]]' || fail "$2 (log: $(tail -n 3 "$LOG"))"; }
overlay_id() { xdotool search --onlyvisible --name '^Vistrel selection$' 2>/dev/null | head -n 1; }
overlay_up() { [[ -n $(overlay_id) ]]; }
overlay_gone() { ! overlay_up; }
main_shown() { window_shown '^Vistrel$'; }
# geometry WINDOW: "X Y WIDTH HEIGHT" of the window itself, on the screen.
geometry() {
    local info
    info=$(xwininfo -id "$1") || return 1
    awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
         /^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print x, y, w, h}' <<<"$info"
}
select_with() {
    xdotool key "$1"
    e2e_wait_until 10 overlay_up || fail "no overlay after $1"
}
click_at() { xdotool mousemove "$1" "$2" sleep 0.1 click 1 sleep 0.1; }
start_program() {
    : >"$LOG"
    VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
    PROGRAM=$E2E_LAST_PID
    wait_for_window '^Vistrel$' 15 >/dev/null
}

check_overlay_covers_both() {
    check "the rectangle overlay covers both monitors and shows the screen as it was"
    "$VISTREL" --set m_bShowMagnifier=0 >/dev/null
    xdotool mousemove 600 500
    select_with ctrl+F1
    local at
    at=$(geometry "$(overlay_id)")
    [[ $at == "0 0 3200 1080" ]] || fail "the overlay is at $at, not 0 0 3200 1080"
    # What the user sees: the frozen screen pixel for pixel on both monitors,
    # crossed by lines through the pointer from edge to edge of the whole
    # screen. Left out of the comparison: those lines and the top of the
    # pointer's monitor, where a hint may show.
    local shot=$SHOTS/two-monitors-overlay.bmp
    local mask=(-fill black -draw 'rectangle 595,0 605,1079' -draw 'rectangle 0,495 3199,505'
        -draw 'rectangle 0,0 1919,79')
    convert "$W/screen.bmp" "${mask[@]}" "$W/screen-masked.bmp" || fail "cannot mask the test picture"
    shown_as_screen() {
        import -window root "$shot" && convert "$shot" "${mask[@]}" "$W/shot-masked.bmp" &&
            same_picture "$W/shot-masked.bmp" "$W/screen-masked.bmp"
    }
    e2e_wait_until 10 shown_as_screen ||
        fail "$(differing_pixels "$W/shot-masked.bmp" "$W/screen-masked.bmp") pixels of the overlay ($shot) differ from the screen"
    [[ $(pixel "$shot" 3100 500) == 0,0,0 && $(pixel "$shot" 600 1070) == 0,0,0 ]] ||
        fail "no line through the pointer across both monitors: $(pixel "$shot" 3100 500) and $(pixel "$shot" 600 1070)"
    xdotool key Escape
    e2e_wait_until 5 overlay_gone || fail "Escape did not end the selection"
}

# magnifier_at X Y: true once the magnifier's top left corner is at (X, Y).
magnifier_at() {
    local at
    at=$(geometry "$MAG") || return 1
    read -r MX MY MW MH <<<"$at"
    [[ $MX == "$1" && $MY == "$2" ]]
}

check_magnifier_follows_the_monitor() {
    check "the magnifier goes to the bottom left of the monitor under the pointer"
    "$VISTREL" --set m_bShowMagnifier=1 >/dev/null
    xdotool mousemove 900 300
    select_with ctrl+F1
    e2e_wait_until 5 window_shown '^Magnifier$' || fail "no magnifier"
    MAG=$(xdotool search --onlyvisible --name '^Magnifier$' | head -n 1)
    read -r MX MY MW MH < <(geometry "$MAG")
    e2e_wait_until 3 magnifier_at "$LX" $((LY + LH - MH)) || fail "on L the magnifier is at $MX,$MY (${MW}x$MH)"
    xdotool mousemove 2600 300
    e2e_wait_until 3 magnifier_at "$RX" $((RY + RH - MH)) || fail "on R the magnifier is at $MX,$MY, not R's bottom left"
    import -window root "$SHOTS/two-monitors-magnifier.png"
    xdotool mousemove 1000 600
    e2e_wait_until 3 magnifier_at "$LX" $((LY + LH - MH)) || fail "back on L the magnifier is at $MX,$MY"
    xdotool key Escape
    e2e_wait_until 5 overlay_gone || fail "Escape did not end the selection"
    "$VISTREL" --set m_bShowMagnifier=0 >/dev/null
}

check_rectangle_across_the_seam() {
    check "a rectangle across both monitors holds the screen's pixels, as the command line's capture does"
    local n x1=1700 y1=250 x2=2210 y2=630 chosen direct
    n=$(saves)
    select_with ctrl+F1
    click_at $x1 $y1
    xdotool mousemove 2000 400 sleep 0.1 mousemove $x2 $y2 sleep 0.1
    click_at $x2 $y2
    wait_saves $((n + 1)) "the rectangle was not saved"
    chosen=$(newest)
    # The second click names the corner past the last pixel.
    local size=$((x2 - x1))x$((y2 - y1))
    [[ $(identify -format '%wx%h' "$chosen") == "$size" ]] || fail "rectangle size $(identify -format '%wx%h' "$chosen"), not $size"
    e2e_wait_until 5 overlay_gone || fail "the overlay stayed"
    direct=$("$VISTREL" --capture rectangle $x1 $y1 $x2 $y2 --no-cursor) ||
        fail "command-line capture failed"
    same_picture "$chosen" "$direct" || fail "$(differing_pixels "$chosen" "$direct") pixels differ from the command line's"
    convert "$W/screen.bmp" -crop "$size+$x1+$y1" +repage "$W/seam.bmp"
    same_picture "$chosen" "$W/seam.bmp" || fail "$(differing_pixels "$chosen" "$W/seam.bmp") pixels differ from the screen"
}

check_print_saves_the_whole_screen() {
    check "Print saves the whole 3200x1080 screen"
    local n full all
    n=$(saves)
    # The pointer is drawn in; in the strip on no monitor it hides nothing else.
    xdotool mousemove 3000 1040
    xdotool key Print
    wait_saves $((n + 1)) "Print saved nothing"
    full=$(newest)
    [[ $(identify -format '%wx%h' "$full") == 3200x1080 ]] || fail "Print saved $(identify -format '%wx%h' "$full")"
    all=$(differing_pixels "$full" "$W/screen.bmp")
    convert "$full" -crop 100x60+2990+1020 +repage "$W/near-full.bmp"
    convert "$W/screen.bmp" -crop 100x60+2990+1020 +repage "$W/near-screen.bmp"
    [[ $(differing_pixels "$W/near-full.bmp" "$W/near-screen.bmp") == "$all" ]] ||
        fail "$all pixels differ from the screen, not all of them at the pointer"
}

start_program
check_overlay_covers_both
check_magnifier_follows_the_monitor
check_rectangle_across_the_seam
check_print_saves_the_whole_screen
e2e_stop "$PROGRAM" 10
echo PASS
