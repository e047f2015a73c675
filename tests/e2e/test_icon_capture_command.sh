#!/bin/bash
# "Capture Icons" from the main window: the Icon Capture&Search dialog opens
# with the hotkeys let go, a folder search writes into the icon save folder,
# and the files show in the library's "Captured Icon" folder.
# Usage: test_icon_capture_command.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 120

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
FIXTURE=$(dirname "$VISTREL")/tests/e2e/icon_fixture
[[ -x $FIXTURE ]] || fail "no icon_fixture"
W=$E2E_TMP
LOG=$W/vistrel.log
mkdir -p "$W/mods"
"$FIXTURE" "$W/mods" || fail "icon_fixture failed"
rm -f "$W/mods/old16.exe"

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
ICONS=$VISTREL_HOME/Capture/Icon
keys() {
    xdotool key --delay 60 "$@"
    sleep 0.25
}

VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>"$LOG"
WIN=$(wait_for_window '^Vistrel$' 15)

check "Capture > Capture Icons opens the Icon Capture&Search dialog, with the hotkeys let go"
xdotool windowactivate --sync "$WIN" 2>/dev/null
keys alt+c
keys i
DIALOG=$(wait_for_window '^Icon Capture&Search$' 10)
# Checked once the search below has run: the program has handled this key by then.
xdotool key ctrl+F1

check "a folder search writes into the icon folder and the library lists the files"
xdotool windowactivate --sync "$DIALOG" 2>/dev/null
keys alt+f
keys Tab ctrl+a
xdotool type --delay 5 "$W/mods"
sleep 0.2
keys alt+d
keys Return
e2e_wait_until 20 eval '[[ $(find "$ICONS" -type f 2>/dev/null | wc -l) -ge 11 ]]' ||
    fail "the search wrote $(find "$ICONS" -type f 2>/dev/null | wc -l) files"
! grep -q "hotkey 0x608" "$LOG" || fail "a hotkey still worked while the dialog was open"
sleep 1
import -window root "${E2E_SHOTS:-$W}/icon-command.png"
# The completion message, then the dialog itself.
for _ in 1 2 3; do
    xdotool search --onlyvisible --name '^Icon Capture&Search$' >/dev/null 2>&1 || break
    keys Escape
done
e2e_wait_until 5 eval '! xdotool search --onlyvisible --name "^Icon Capture&Search\$" >/dev/null 2>&1' ||
    fail "the dialog did not close"
# The library shows the icons when its "Captured Icon" folder is chosen.
xdotool windowactivate --sync "$WIN" 2>/dev/null
grep -q "list kind 0 shows 11 files" "$LOG" || {
    xdotool key --delay 60 alt+v # nothing chosen yet: click the folder in the tree
    xdotool key Escape
    X=$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {print $4}')
    Y=$(xwininfo -id "$WIN" | awk '/Absolute upper-left Y/ {print $4}')
    xdotool mousemove $((X + 60)) $((Y + 113)) click 1
    e2e_wait_until 5 grep -q "list kind 0 shows 11 files" "$LOG" || fail "the library does not list the icons: $(grep 'list kind' "$LOG")"
}

check "the hotkeys work again once the dialog is closed"
xdotool key ctrl+F1
e2e_wait_until 5 grep -q "hotkey 0x608" "$LOG" || fail "the hotkeys did not come back"
xdotool key Escape
echo PASS
