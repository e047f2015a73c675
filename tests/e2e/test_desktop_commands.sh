#!/bin/bash
# The library's desktop commands, driven with real clicks and keys on a display
# with no desktop and no file manager: an editor added on the Bitmap Tools page
# gets a capture whose path holds blanks as one argument; Shell Open hands the
# same path to the opener as one argument; Property shows our own Properties
# window; the wallpaper is centred and restored from the menu; the browser skin
# value is set, kept when its removal is answered No, and removed on Yes.
# Screenshots go to $E2E_SHOTS when it is set.
# Usage: test_desktop_commands.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 180

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP
LOG=$W/vistrel.log
SHOTS=${E2E_SHOTS:-$W}
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
export DBUS_SESSION_BUS_ADDRESS="unix:path=$W/no-bus" # no file manager answers

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
CAPTURES="$W/My Captures/Bitmap"
"$VISTREL" --set "m_strBitmapPath=$CAPTURES" >/dev/null || fail "--set of the bitmap folder failed"
REGISTRY=$VISTREL_HOME/registry.ini

# The editor and the opener: each notes its arguments, one a line.
EDITOR="$W/my tools/edit argv"
mkdir -p "$W/my tools" "$W/bin"
printf '#!/bin/sh\nfor a in "$@"; do printf "%%s\\n" "$a"; done >"%s"\n' "$W/edited" >"$EDITOR"
printf '#!/bin/sh\nfor a in "$@"; do printf "%%s\\n" "$a"; done >"%s"\n' "$W/opened" >"$W/bin/xdg-open"
chmod +x "$EDITOR" "$W/bin/xdg-open"
export PATH="$W/bin:$PATH"

VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>"$LOG"
PROGRAM=$E2E_LAST_PID
WIN=$(wait_for_window '^Vistrel$' 15)
X=$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {print $4}')
Y=$(xwininfo -id "$WIN" | awk '/Absolute upper-left Y/ {print $4}')
shot() { import -window root "$SHOTS/desktop-$1.png"; }
menus=0
# The first row's context menu, opened with a right click on the row. Its
# items: Copy, Save As, Copy To, Move To, Open, Edit Bitmap With, Wallpaper,
# Web Browser, Delete, Properties.
row_menu() {
    xdotool windowactivate --sync "$WIN" 2>/dev/null
    xdotool mousemove $((X + 420)) $((Y + 117)) click 1
    sleep 0.2
    xdotool click 3
    menus=$((menus + 1))
    e2e_wait_until 3 eval '[[ $(grep -c "list menu kind 1" "$LOG") -ge '"$menus"' ]]' || fail "no context menu"
    sleep 0.3
}

check "an editor is added on the Bitmap Tools page"
xdotool windowactivate --sync "$WIN" 2>/dev/null
xdotool key alt+t
sleep 0.4
xdotool key o
SHEET=$(wait_for_window '^Options?$' 10) || fail "no Options sheet"
xdotool windowactivate --sync "$SHEET" 2>/dev/null
sleep 0.3
for ((i = 0; i < 5; ++i)); do xdotool key Down; sleep 0.15; done # Bitmap Tools
xdotool key alt+a
e2e_wait_until 5 eval '[[ $(xdotool getactivewindow) != "$SHEET" ]]' || fail "no file picker"
sleep 0.5
xdotool type --delay 20 "$EDITOR"
xdotool key Return
e2e_wait_until 5 eval '[[ $(xdotool getactivewindow) == "$SHEET" ]]' || fail "the file picker stayed"
sleep 0.3
shot bitmap-tools
SX=$(xwininfo -id "$SHEET" | awk '/Absolute upper-left X/ {print $4}')
SY=$(xwininfo -id "$SHEET" | awk '/Absolute upper-left Y/ {print $4}')
xdotool mousemove $((SX + 30)) $((SY + 15)) click 1 # the tree, whose Enter is OK
sleep 0.2
xdotool key Return
e2e_wait_until 5 eval '! window_shown "^Options?$"' || fail "OK did not close the sheet"
e2e_wait_until 5 eval 'grep -q "edit argv" <<<"$("$VISTREL" --print-settings 2>/dev/null)"' ||
    fail "the editor is not in the settings"

check "a capture in a folder with blanks reaches the editor as one argument"
xdotool key Print
e2e_wait_until 10 grep -q "capture saved" "$LOG" || fail "no capture"
FILE=$(find "$CAPTURES" -type f | head -n 1)
[[ -n $FILE ]] || fail "no capture in $CAPTURES"
row_menu
shot menu
pick() { for ((i = 0; i < $1; ++i)); do xdotool key Down; sleep 0.1; done; }
pick 6 # Edit Bitmap With: the desktop's default viewer, then ours
xdotool key Right
sleep 0.3
xdotool key Down
shot menu-editors
xdotool key Return
e2e_wait_until 5 eval '[[ -s $W/edited ]]' || fail "the editor was not started ($(grep tool "$LOG"))"
[[ $(cat "$W/edited") == "$FILE" ]] || fail "the editor got '$(cat "$W/edited")', not '$FILE' alone"

check "an editor that cannot start is reported"
rm "$EDITOR"
row_menu
pick 6
xdotool key Right
sleep 0.3
xdotool key Down Return
e2e_wait_until 5 grep -q "tool $EDITOR did not start" "$LOG" || fail "the failed start was not seen"
vistrel_windows() { xdotool search --onlyvisible --name '^Vistrel$' 2>/dev/null | wc -l; }
e2e_wait_until 5 eval '[[ $(vistrel_windows) -ge 2 ]]' || fail "no message about the editor"
sleep 0.3
shot editor-failed
xdotool key Return
e2e_wait_until 5 eval '[[ $(vistrel_windows) -eq 1 ]]' || fail "the message stayed"

check "Shell Open hands the path to the opener as one argument"
row_menu
pick 5 # Open
xdotool key Return
e2e_wait_until 5 eval '[[ -s $W/opened ]]' || fail "the opener was not started"
[[ $(cat "$W/opened") == "$FILE" ]] || fail "the opener got '$(cat "$W/opened")'"

check "Property shows our Properties window without a file manager"
row_menu
xdotool key Up Return # the last item: Property
PROPS=$(wait_for_window 'Properties$' 10) || fail "no Properties window ($(tail -n 2 "$LOG"))"
sleep 0.5
shot properties
grep -q "properties dialog for $FILE" "$LOG" || fail "the dialog is not for the file"
xdotool windowactivate --sync "$PROPS" 2>/dev/null
xdotool key Return
e2e_wait_until 5 eval '! window_shown "Properties$"' || fail "OK did not close the Properties window"

check "the wallpaper is centred and restored from the menu"
xsetroot -solid '#204060'
row_menu
pick 7 # Wallpaper
xdotool key Right
sleep 0.3
xdotool key Return # Center
e2e_wait_until 10 grep -q "wallpaper set on root" "$LOG" || fail "no wallpaper ($(grep wallpaper "$LOG"))"
grep -q 'WallpaperStyle=sz:0' "$REGISTRY" || fail "no style value"
[[ $(xprop -root _XROOTPMAP_ID) == *"# 0x"* ]] || fail "no root pixmap published"
row_menu
pick 7
xdotool key Right
sleep 0.3
xdotool key Down Down Down Return # Restore
e2e_wait_until 10 grep -q "wallpaper restored on root" "$LOG" || fail "no restore ($(grep wallpaper "$LOG"))"
import -window root "$W/after.png"
[[ $(pixel "$W/after.png" 2 690) == 32,64,96 ]] || fail "the colour from before is not back: $(pixel "$W/after.png" 2 690)"

check "the browser skin is set, kept on No and removed on Yes"
row_menu
pick 8 # Web Browser
xdotool key Right
sleep 0.3
xdotool key Return # Set as skin
e2e_wait_until 5 grep -qF "BackBitmap=sz:$FILE" "$REGISTRY" || fail "BackBitmap was not written"
for answer in n y; do
    row_menu
    pick 8
    xdotool key Right
    sleep 0.3
    xdotool key Down Return # Remove Skin
    BOX=$(wait_for_window '^Remove Internet Explorer skin\?$' 5) || fail "no question"
    [[ $answer == n ]] && shot remove-skin
    xdotool key "$answer"
    e2e_wait_until 5 eval '! window_shown "^Remove Internet Explorer skin"' || fail "the question stayed"
    sleep 0.3
    if [[ $answer == n ]]; then
        grep -qF "BackBitmap=sz:$FILE" "$REGISTRY" || fail "No removed the skin"
    else
        grep -qx "BackBitmap=sz:" "$REGISTRY" || fail "Yes did not remove the skin: $(grep BackBitmap "$REGISTRY")"
    fi
done

check "the program closes cleanly"
xdotool windowactivate --sync "$WIN" 2>/dev/null
xdotool key alt+f
sleep 0.3
xdotool key x
wait_for_exit "$PROGRAM" 10 || fail "the program did not end cleanly ($?)"
echo PASS
