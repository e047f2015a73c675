#!/bin/bash
# The plain-xcb screen services on a private X server, through x11_probe:
# screen grabs (shared memory and strips, sub-areas, off-screen parts, other
# pixel formats), the cursor image, and the window under the pointer with openbox
# frames. Usage: x11_services.sh /path/to/x11_probe

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 100

PROBE=${1:-}
[[ -x $PROBE ]] || fail "usage: $0 /path/to/x11_probe"
W=$E2E_TMP

# value KEY LINE: the value of KEY=... in a probe output line.
value() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"; }

# xwininfo_bounds ID: "x,y,w,h" of a window, border included, per xwininfo
# (whose absolute upper-left corner is the border's).
xwininfo_bounds() {
    xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
        /Width/ {w = $2} /Height/ {h = $2} /Border width/ {b = $2}
        END {printf "%d,%d,%d,%d\n", x, y, w + 2 * b, h + 2 * b}'
}

check "premultiplied cursor pixels are converted to straight alpha"
"$PROBE" check-unpremultiply || fail "unpremultiply gives wrong values"

e2e_start_xvfb 1280x800x24
e2e_start_openbox
"$PROBE" pattern 1280 800 "$W/screen.ppm" || fail "cannot make the test picture"
show_picture "$W/screen.ppm"
xdotool mousemove 640 400  # the cursor sits on the picture and must not be grabbed

for mode in shm strips; do
    if [[ $mode == strips ]]; then export VISTREL_NO_SHM=1; else unset VISTREL_NO_SHM; fi

    check "full-screen grab ($mode) equals the picture on the screen"
    out=$("$PROBE" grab "$W/full-$mode.ppm") || fail "full-screen grab ($mode) failed"
    note "$out"
    [[ $(value method "$out") == "$mode" ]] || fail "grab took method $(value method "$out"), not $mode"
    [[ $(value opaque "$out") == 1 ]] || fail "grab ($mode) has pixels that are not opaque"
    same_picture "$W/screen.ppm" "$W/full-$mode.ppm" ||
        fail "full-screen grab ($mode): $(differing_pixels "$W/screen.ppm" "$W/full-$mode.ppm") pixels differ"

    check "grab of the area 301x203 at (101,53) ($mode) equals that part of the picture"
    "$PROBE" grab "$W/part-$mode.ppm" 101 53 301 203 >/dev/null || fail "area grab ($mode) failed"
    convert "$W/screen.ppm" -crop 301x203+101+53 +repage "$W/part-ref.ppm"
    same_picture "$W/part-ref.ppm" "$W/part-$mode.ppm" ||
        fail "area grab ($mode): $(differing_pixels "$W/part-ref.ppm" "$W/part-$mode.ppm") pixels differ"

    check "grab reaching past the top-left and bottom-right corners ($mode): only the screen part"
    out=$("$PROBE" grab "$W/tl-$mode.ppm" -16 -8 64 32) || fail "top-left grab ($mode) failed"
    [[ $(value size "$out") == 48x24 ]] || fail "top-left grab ($mode): $out"
    convert "$W/screen.ppm" -crop 48x24+0+0 +repage "$W/tl-ref.ppm"
    same_picture "$W/tl-ref.ppm" "$W/tl-$mode.ppm" || fail "top-left grab ($mode): screen part differs"
    out=$("$PROBE" grab "$W/br-$mode.ppm" 1270 790 20 30) || fail "bottom-right grab ($mode) failed"
    [[ $(value size "$out") == 10x10 ]] || fail "bottom-right grab ($mode): $out"
    convert "$W/screen.ppm" -crop 10x10+1270+790 +repage "$W/br-ref.ppm"
    same_picture "$W/br-ref.ppm" "$W/br-$mode.ppm" || fail "bottom-right grab ($mode): screen part differs"
done
unset VISTREL_NO_SHM

check "an area far larger than the screen gives only the screen"
out=$("$PROBE" grab "$W/wide.ppm" 0 0 40000 10) || fail "wide grab failed"
[[ $(value size "$out") == 1280x10 ]] || fail "wide grab: $out"

check "empty, negative and wholly off-screen areas are refused with a message"
for area in "0 0 0 10" "0 0 10 -1" "2000 -500 40 30" "-40 0 40 10"; do
    if err=$("$PROBE" grab "$W/bad.ppm" $area 2>&1); then
        fail "grab of area '$area' succeeded"
    fi
    [[ $err == *"cannot grab an area"* ]] || fail "grab of area '$area': unexpected message '$err'"
done

check "the cursor image is non-empty, its hot spot inside it, its position the pointer's"
xdotool mousemove 200 150
out=$("$PROBE" cursor) || fail "cursor query failed"
note "$out"
size=$(value size "$out")
cw=${size%x*} ch=${size#*x} hot=$(value hot "$out")
((cw > 0 && ch > 0 && cw <= 256 && ch <= 256)) || fail "cursor size $size"
((${hot%,*} >= 0 && ${hot%,*} < cw && ${hot#*,} >= 0 && ${hot#*,} < ch)) || fail "hot spot $hot outside $size"
[[ $(value pos "$out") == 200,150 ]] || fail "cursor position $(value pos "$out"), pointer at 200,150"
(($(value visible_pixels "$out") > 0)) || fail "cursor image is fully transparent"

check "pointing at the bare screen gives the root window"
xdotool mousemove 5 795
out=$("$PROBE" pointed) || fail "window at pointer failed"
[[ $(value bounds "$out") == 0,0,1280,800 ]] || fail "bare screen: $out"

check "an openbox-framed window: caption gives the frame, inside gives the client"
e2e_spawn xmessage -title E2E-PROBE-TARGET -geometry +300+200 "window under the pointer"
client=$(wait_for_window E2E-PROBE-TARGET 10)
e2e_wait_until 5 eval 'grep -q "= " <<<"$(xprop -id "$client" _NET_FRAME_EXTENTS)"' ||
    fail "openbox did not frame the window"
read -r left right top bottom < <(xprop -id "$client" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
IFS=, read -r cx cy cwid chei < <(xwininfo_bounds "$client")
frame="$((cx - left)),$((cy - top)),$((cwid + left + right)),$((chei + top + bottom))"
note "client $cx,$cy,$cwid,$chei; frame $frame (extents $left $right $top $bottom)"
((top > 2)) || fail "the window has no caption to point at"

xdotool mousemove $((cx + cwid / 2)) $((cy - top / 2))
out=$("$PROBE" pointed) || fail "window at pointer (caption) failed"
[[ $(value bounds "$out") == "$frame" ]] || fail "caption: got $out, want frame $frame"
frame_id=$(value window "$out")

xdotool mousemove $((cx + 1)) $((cy + chei - 2))
out=$("$PROBE" pointed) || fail "window at pointer (inside) failed"
[[ $(value bounds "$out") == "$cx,$cy,$cwid,$chei" ]] || fail "inside: got $out, want client $cx,$cy,$cwid,$chei"

check "an ignored window is looked through, sub-windows and all"
out=$("$PROBE" at $((cx + 1)) $((cy + chei - 2)) "$frame_id") || fail "window at point (ignoring) failed"
[[ $(value bounds "$out") == 0,0,1280,800 ]] || fail "ignoring the frame: got $out, want the root"

check "pointing at a sub-window (the button) gives the sub-window"
button=$(xwininfo -id "$client" -tree | awk '/^ *0x/ {id = $1} END {print id}')
IFS=, read -r bx by bw bh < <(xwininfo_bounds "$button")
out=$("$PROBE" at $((bx + bw / 2)) $((by + bh / 2))) || fail "window at point (button) failed"
[[ $(value bounds "$out") == "$bx,$by,$bw,$bh" ]] || fail "button: got $out, want $bx,$by,$bw,$bh"

check "the rectangle of a window id equals xwininfo's; an unknown id is refused"
out=$("$PROBE" rect "$client") || fail "rect of the client failed"
[[ $(value bounds "$out") == "$cx,$cy,$cwid,$chei" && $(value visible "$out") == "$cx,$cy,$cwid,$chei" ]] ||
    fail "rect: $out"
"$PROBE" rect 0x7ffffff 2>/dev/null && fail "rect of a window that does not exist succeeded"

check "an unmapped window has bounds but no visible part"
xdotool windowunmap --sync "$client"
out=$("$PROBE" rect "$client") || fail "rect of the unmapped client failed"
[[ $(value visible "$out") == 0,0,0,0 ]] || fail "unmapped window: $out"
xdotool windowmap --sync "$client"

check "a window partly off the screen: bounds as placed, visible part clipped"
xdotool windowmove "$client" 1240 -40
e2e_wait_until 5 eval '(($(xwininfo_bounds "$client" | cut -d, -f1) >= 1200))' ||
    fail "the window did not move"
IFS=, read -r mx my mw mh < <(xwininfo_bounds "$client")
out=$("$PROBE" rect "$client") || fail "rect of the moved client failed"
want_visible="$mx,$((my < 0 ? 0 : my)),$((1280 - mx)),$((my < 0 ? mh + my : mh))"
[[ $(value bounds "$out") == "$mx,$my,$mw,$mh" && $(value visible "$out") == "$want_visible" ]] ||
    fail "moved window: got $out, want bounds $mx,$my,$mw,$mh visible $want_visible"
e2e_stop "$E2E_LAST_PID"
e2e_stop_xvfb

check "without MIT-SHM: grabs fall back to strips and still equal the screen"
e2e_start_xvfb 640x400x24 -extension MIT-SHM
"$PROBE" pattern 640 400 "$W/small.ppm" && show_picture "$W/small.ppm"
out=$("$PROBE" grab "$W/small-grab.ppm") || fail "grab without MIT-SHM failed"
note "$out"
[[ $(value method "$out") == strips && $out == *"no MIT-SHM"* ]] || fail "grab without MIT-SHM: $out"
same_picture "$W/small.ppm" "$W/small-grab.ppm" || fail "grab without MIT-SHM differs from the screen"
e2e_stop_xvfb

check "without XFIXES: the cursor query fails with a message"
# This Xvfb aborts as soon as its first client disconnects (its own fault), so
# the probe must be its first and only client.
e2e_start_xvfb 320x200x24 -extension XFIXES
if err=$("$PROBE" cursor 2>&1); then fail "cursor query without XFIXES succeeded: $err"; fi
[[ $err == *XFIXES* ]] || fail "cursor query without XFIXES: unexpected message '$err'"
e2e_stop_xvfb 2>/dev/null

for depth in 16 30; do
    check "a depth-$depth screen is converted through its colour masks, shm and strips alike"
    e2e_start_xvfb 320x200x$depth
    "$PROBE" pattern 320 200 "$W/d.ppm" && show_picture "$W/d.ppm"
    "$PROBE" grab "$W/d-shm.ppm" >/dev/null || fail "depth-$depth grab failed"
    VISTREL_NO_SHM=1 "$PROBE" grab "$W/d-strips.ppm" >/dev/null || fail "depth-$depth grab (strips) failed"
    same_picture "$W/d-shm.ppm" "$W/d-strips.ppm" || fail "depth $depth: shm and strips differ"
    if [[ $depth == 30 ]]; then
        # Ten bits a channel hold the 8-bit picture exactly.
        same_picture "$W/d.ppm" "$W/d-shm.ppm" ||
            fail "depth 30: $(differing_pixels "$W/d.ppm" "$W/d-shm.ppm") pixels differ from the picture"
    else
        # 5-6-5 bits cannot; ImageMagick's own reading of the screen is the reference.
        import -window root "$W/d-import.ppm" || fail "import cannot read the depth-16 screen"
        differing=$(differing_pixels "$W/d-import.ppm" "$W/d-shm.ppm" 0.5%)
        [[ $differing == 0 ]] || fail "depth 16: $differing pixels differ from import's reading"
    fi
    e2e_stop_xvfb
done

check "an indexed-colour (depth 8) screen is refused with a message"
e2e_start_xvfb 320x200x8
if err=$("$PROBE" grab "$W/d8.ppm" 2>&1); then fail "grab of a depth-8 screen succeeded"; fi
[[ $err == *"indexed colour"* ]] || fail "depth 8: unexpected message '$err'"

echo "PASS: x11 services"
