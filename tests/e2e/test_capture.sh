#!/bin/bash
# Still captures from the command line on a private X server: exact pixels, the
# numbered names and the stored number, every still type, shapes, refusals that
# use up no number, and a capture handed to the running copy.
# Usage: test_capture.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP

e2e_start_xvfb 800x600x24
e2e_make_home
BITMAPS=$VISTREL_HOME/Capture/Bitmap
number() { "$VISTREL" --print-settings | sed -n 's/.*"m_nBitmapNumber": \(-\?[0-9]*\).*/\1/p'; }

# A picture with noise and flat parts, so every pixel position matters.
convert -size 800x300 plasma:fractal -size 800x300 xc:'#3366cc' -fill white -draw 'rectangle 100,50 300,120' \
    -append -depth 8 "$W/screen.png" || fail "cannot make the test picture"
show_picture "$W/screen.png"

check "--capture fullscreen --no-cursor gives exactly the pixels on the screen"
path=$("$VISTREL" --capture fullscreen --no-cursor) || fail "capture failed"
[[ $path == "$BITMAPS/Image000.bmp" ]] || fail "first capture is '$path'"
same_picture "$path" "$W/screen.png" || fail "$(differing_pixels "$path" "$W/screen.png") pixels differ"
[[ $(identify -format "%m %[bit-depth] %[channels]" "$path") == "BMP3 8 srgb" ]] || fail "not a 24-bit BMP: $(identify "$path")"

check "three captures are Image000.bmp, Image001.bmp, Image002.bmp and the number is then 3"
p1=$("$VISTREL" --capture fullscreen) && p2=$("$VISTREL" --capture rectangle 10 20 110 70) || fail "capture failed"
[[ $p1 == "$BITMAPS/Image001.bmp" && $p2 == "$BITMAPS/Image002.bmp" ]] || fail "names $p1 $p2"
[[ $(number) == 3 ]] || fail "stored number is $(number)"
[[ $(identify -format '%wx%h' "$p2") == 100x50 ]] || fail "rectangle size $(identify -format '%wx%h' "$p2")"
convert "$W/screen.png" -crop 100x50+10+20 +repage "$W/crop.png"
same_picture "$p2" "$W/crop.png" || fail "the rectangle is not the screen's pixels"

check "the cursor is drawn in a full-screen capture by default, not with --no-cursor"
xdotool mousemove 400 450
with=$("$VISTREL" --capture fullscreen) && without=$("$VISTREL" --capture fullscreen --no-cursor) || fail "capture failed"
same_picture "$without" "$W/screen.png" || fail "--no-cursor capture differs from the screen"
n=$(differing_pixels "$with" "$W/screen.png")
((n > 10)) || fail "no cursor in the full-screen capture ($n pixels differ)"
# Only near the pointer.
convert "$with" -crop 200x200+300+350 +repage "$W/a.png"; convert "$W/screen.png" -crop 200x200+300+350 +repage "$W/b.png"
[[ $(differing_pixels "$W/a.png" "$W/b.png") == "$n" ]] || fail "the cursor is not where the pointer is"

check "a circle has the background colour in its corners and the screen at its centre"
c=$("$VISTREL" --capture circle 400 450 430 490) || fail "circle capture failed"
[[ $(identify -format '%wx%h' "$c") == 100x100 ]] || fail "circle size $(identify -format '%wx%h' "$c")"
[[ $(pixel "$c" 0 0) == "0,125,125" && $(pixel "$c" 99 99) == "0,125,125" ]] || fail "corner is $(pixel "$c" 0 0)"
[[ $(pixel "$c" 50 50) == "$(pixel "$W/screen.png" 400 450)" ]] || fail "centre is not the screen's pixel"

check "refused requests: status 2, a message, no file and no number used up"
before=$(number)
files=$(ls "$BITMAPS" | wc -l)
for args in "rectangle 10 10 10 50" "circle 5 5 5 5" "polygon 0 0 10 10" "polygon 0 0 10 10 20 20" \
    "rectangle 1 2 3 x" "ellipse 1 2 3" "triangle 1 2" "area 0 0 0 5" "area 800 0 10 10" \
    "area -20 -20 20 20" "area 2147483000 0 2147483000 10" "fullscreen --no-cursor junk"; do
    # shellcheck disable=SC2086
    "$VISTREL" --capture $args >/dev/null 2>"$W/err"
    status=$?
    [[ $status -eq 2 ]] || fail "'$args' gave status $status"
    [[ -s $W/err ]] || fail "'$args' gave no message"
done
[[ $(number) == "$before" && $(ls "$BITMAPS" | wc -l) == "$files" ]] || fail "a refused capture used a number or wrote a file"

check "polygon and area captures"
poly=$("$VISTREL" --capture polygon 100 100 300 120 200 250) || fail "polygon failed"
# The bottom vertex is a spike too thin to cover the centre of any pixel in the last row.
[[ $(identify -format "%wx%h" "$poly") == 200x149 ]] || fail "polygon box $(identify -format '%wx%h' "$poly")"
[[ $(pixel "$poly" 199 0) == "0,125,125" ]] || fail "outside the polygon is not the background"
area=$("$VISTREL" --capture area 700 500 200 200 --no-cursor) || fail "area failed"
[[ $(identify -format '%wx%h' "$area") == 100x100 ]] || fail "area past the corner is $(identify -format '%wx%h' "$area"), not its visible 100x100"
convert "$W/screen.png" -crop 100x100+700+500 +repage "$W/corner.png"
same_picture "$area" "$W/corner.png" || fail "the area is not the screen's pixels"

check "an area far larger than the screen gives the screen, not a file of its own size"
huge=$("$VISTREL" --capture area 0 0 12000 12000 --no-cursor) || fail "large area failed"
[[ $(identify -format '%wx%h' "$huge") == 800x600 ]] || fail "large area is $(identify -format '%wx%h' "$huge")"
same_picture "$huge" "$W/screen.png" || fail "the large area is not the screen"

check "the cursor of an area reaching off the screen is drawn where the pointer is"
xdotool mousemove 50 50
shot=$("$VISTREL" --capture area -100 -100 300 300) || fail "area with cursor failed"
[[ $(identify -format '%wx%h' "$shot") == 200x200 ]] || fail "area size $(identify -format '%wx%h' "$shot")"
convert "$W/screen.png" -crop 200x200+0+0 +repage "$W/topleft.png"
box=$(convert "$shot" "$W/topleft.png" -compose difference -composite -format '%@' info:)
read -r bx by < <(sed 's/^[0-9]*x[0-9]*+\([0-9]*\)+\([0-9]*\)$/\1 \2/' <<<"$box")
((bx >= 30 && bx <= 50 && by >= 30 && by <= 50)) || fail "cursor drawn at $box, not around the pointer at (50,50)"

check "captures started at the same moment all succeed, under different names"
for i in 1 2 3; do e2e_spawn "$VISTREL" --capture fullscreen --no-cursor >"$W/at-once-$i"; done
for pid in "${E2E_PIDS[@]: -3}"; do
    wait_for_exit "$pid" 20 || fail "a simultaneous capture failed (status $?)"
done
[[ $(sort -u "$W"/at-once-* | wc -l) -eq 3 ]] || fail "simultaneous captures: $(cat "$W"/at-once-*)"

check "each still type chosen with --set writes a file of that type"
for t in "0 BMP3 bmp" "2 JPEG jpg" "3 PNG png" "5 TIFF tif"; do
    set -- $t
    "$VISTREL" --set m_nCaptureType=$1 || fail "--set m_nCaptureType=$1 failed"
    f=$("$VISTREL" --capture fullscreen --no-cursor) || fail "capture as type $1 failed"
    [[ $f == *.$3 ]] || fail "type $1 wrote $f"
    [[ $(identify -format '%m' "$f") == "$2" ]] || fail "type $1 is $(identify -format '%m' "$f")"
    [[ $(identify -format '%wx%h' "$f") == 800x600 ]] || fail "type $1 has the wrong size"
done
"$VISTREL" --set m_nCaptureType=3

check "a capture with the program running is carried out by the running copy"
e2e_start_openbox
e2e_spawn "$VISTREL"
RUNNING=$E2E_LAST_PID
WIN=$(wait_for_window '^Vistrel$' 15)
n=$(number)
shot=$("$VISTREL" --capture rectangle 0 0 50 40) || fail "capture through the running copy failed"
[[ -s $shot && $shot == *.png ]] || fail "no file from the running copy: '$shot'"
check "the window under the pointer is captured with its frame"
eval "$(xdotool getwindowgeometry --shell "$WIN")"
xdotool mousemove $((X + 20)) $((Y + 20))
win=$("$VISTREL" --capture window) || fail "window capture failed"
read -r ww wh < <(identify -format '%w %h\n' "$win")
((ww >= WIDTH && wh >= HEIGHT)) || fail "window capture ${ww}x${wh} smaller than the window ${WIDTH}x${HEIGHT}"
e2e_stop "$RUNNING" 10
[[ $(number) -ge $((n + 2)) ]] || fail "the running copy did not keep its number at exit ($(number))"
echo PASS
