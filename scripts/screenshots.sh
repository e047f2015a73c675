#!/usr/bin/env bash
# Takes the screenshots of the user guide on a private Xvfb display with
# openbox, from the real program, so they stay current: the main window (the
# library after a few captures), the selection overlay with the magnifier, the
# recording dialog and the icons dialog. One set serves both the help pages
# and the README: data/help/images, which is installed with the help.
# Usage: scripts/screenshots.sh [build/vistrel] [output folder, default data/help/images]

here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
e2e_time_limit 200

VISTREL=${1:-$here/../build/vistrel}
OUT=${2:-$here/../data/help/images}
[[ -x $VISTREL ]] || fail "no program at $VISTREL (build first)"
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 1280x800x24
e2e_start_openbox
e2e_make_home
"$VISTREL" --set m_bShowReminder=0 >/dev/null
# A desktop to capture: a gradient with something on it.
convert -size 1280x800 gradient:'#3a6ea5'-'#a8c8e8' -fill '#f4f4f4' -draw 'roundrectangle 760,120 1180,420 12,12' \
    -fill '#333' -pointsize 28 -draw "text 800,200 'Vistrel'" -fill '#c0392b' -draw 'circle 900,330 940,330' \
    "$W/desktop.png" || fail "cannot make the desktop picture"
show_picture "$W/desktop.png"

# shot NAME [WINDOW]: the whole screen, or one window with its frame.
shot() {
    sleep 0.6
    if [[ -n ${2:-} ]]; then
        local x y w h l r t b
        read -r x y w h < <(xwininfo -id "$2" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
            /^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print x, y, w, h}')
        IFS=', ' read -r l r t b < <(xprop -id "$2" _NET_FRAME_EXTENTS | sed 's/.*= //')
        import -window root -crop "$((w + ${l:-0} + ${r:-0}))x$((h + ${t:-0} + ${b:-0}))+$((x - ${l:-0}))+$((y - ${t:-0}))" \
            +repage "$OUT/$1.png"
    else
        import -window root "$OUT/$1.png"
    fi
    note "$OUT/$1.png"
}

VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
WIN=$(wait_for_window '^Vistrel$' 15)
xdotool windowmove --sync "$WIN" 30 30
"$VISTREL" --capture area 760 120 420 300 >/dev/null
"$VISTREL" --capture ellipse 820 250 1000 400 >/dev/null
xdotool key Print
e2e_wait_until 10 eval '[[ $(grep -c "capture saved" "$LOG") -ge 3 ]]' || fail "the captures were not saved"
e2e_wait_until 10 eval '[[ $(xwininfo -id "$WIN") == *IsViewable* ]]' || fail "the window did not come back"
shot main-window "$WIN"

xdotool key ctrl+F1
e2e_wait_until 5 window_shown '^Vistrel selection$' || fail "no overlay"
xdotool mousemove 760 120 sleep 0.2 mousedown 1 mousemove 1000 300 sleep 0.2 mousemove 1182 422 sleep 0.3
shot selection
xdotool key Escape
e2e_wait_until 10 eval '[[ $(xwininfo -id "$WIN") == *IsViewable* ]]' || fail "the window did not come back"

xdotool key ctrl+F6
DIALOG=$(wait_for_window '^AVI Capture$' 15) || fail "no recording dialog"
shot recording "$DIALOG"
xdotool windowactivate --sync "$DIALOG" key Escape
e2e_wait_until 10 eval '! window_shown "^AVI Capture\$"' || xdotool windowclose "$DIALOG"

xdotool windowactivate --sync "$WIN" key alt+c
sleep 0.4
xdotool key i
DIALOG=$(wait_for_window '^Icon Capture' 15) || fail "no icon dialog"
shot icons "$DIALOG"
xdotool windowactivate --sync "$DIALOG" key Escape
echo "done"
