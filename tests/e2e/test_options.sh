#!/bin/bash
# The Options sheet: opened from Tools > Option...; a new capture type and Full
# Screen hotkey reach the settings file on OK and the new hotkey captures; Cancel
# after Apply keeps what Apply applied; a hotkey that repeats the Full Screen key
# is refused with a message and the sheet stays open; the More page's boxes
# reach the registry file on OK and not on Cancel; every page in English and
# in Chinese on screenshots. Usage: test_options.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 200

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP
LOG=$W/vistrel.log
SHOTS=${E2E_SHOTS:-$W}

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
B=$VISTREL_HOME/Capture/Bitmap

setting() { "$VISTREL" --print-settings | grep "\"$1\":"; }
saved_lines() { grep -c "capture saved" "$LOG"; }
sheet_open() { window_shown '^Options?$|^选项$'; }
start_program() {
    VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
    PROGRAM=$E2E_LAST_PID
    WIN=$(wait_for_window '^Vistrel$' 15)
}
# Tools > Option...; the tree has the focus, on General.
open_sheet() {
    xdotool windowactivate --sync "$WIN" 2>/dev/null
    xdotool key alt+t
    sleep 0.4
    xdotool key o
    SHEET=$(wait_for_window '^Options?$|^选项$' 10)
    xdotool windowactivate --sync "$SHEET" 2>/dev/null
    sleep 0.3
}
# down N: the tree's selection N items further (General, Capture, Colors,
# Save Names, Hotkeys, Bitmap Tools, AVI Tools, More).
down() { for ((i = 0; i < $1; ++i)); do xdotool key Down; sleep 0.15; done; }
tabs() { for ((i = 0; i < $1; ++i)); do xdotool key Tab; sleep 0.1; done; }
shoot_pages() {
    local name
    for name in general capture colors names hotkeys bitmap-tools avi-tools more; do
        sleep 0.4
        import -window root "$SHOTS/options-$1-$name.png"
        xdotool key Down
    done
}
close_sheet_with_escape() {
    xdotool key Escape
    e2e_wait_until 5 eval '! sheet_open' || fail "Escape did not close the sheet"
}

: >"$LOG"
start_program

check "every page, in English"
open_sheet
shoot_pages en
close_sheet_with_escape

check "a new capture type and Full Screen key reach the settings file on OK"
open_sheet
# Tab from the tree: the four check boxes, then the first capture type (Bitmap);
# the arrows move among the types (Bitmap, JPEG above TIFF, PNG) and Space checks.
tabs 5
xdotool key Down Right space # PNG
sleep 0.2
for ((i = 0; i < 5; ++i)); do xdotool key shift+Tab; sleep 0.1; done # back to the tree
down 4 # Hotkeys
tabs 1 # the Full Screen field
xdotool key shift+F12
sleep 0.3
import -window root "$SHOTS/options-new-hotkey.png"
xdotool key Return Escape # swallowed on the Hotkeys page: the sheet stays
sleep 0.5
sheet_open || fail "Enter or Escape on the Hotkeys page closed the sheet"
tabs 9 # the seven other fields, Default, then OK
xdotool key space
e2e_wait_until 5 eval '! sheet_open' || fail "OK did not close the sheet"
e2e_wait_until 5 eval 'grep -q "\"m_nCaptureType\": 3" <<<"$(setting m_nCaptureType)"' ||
    fail "capture type not saved: $(setting m_nCaptureType)"
grep -q '"modifiers": 4, "virtualKey": 123' <<<"$(setting m_hkFullScreen)" ||
    fail "Full Screen key not saved: $(setting m_hkFullScreen)"

check "the new Full Screen key captures, as a PNG"
before=$(saved_lines)
xdotool key shift+F12
e2e_wait_until 10 eval '[[ $(saved_lines) -gt '"$before"' ]]' || fail "Shift+F12 saved nothing: $(tail -3 "$LOG")"
grep -q "hotkey 0x607" "$LOG" || fail "no Full Screen hotkey in the trace"
e2e_wait_until 5 eval '[[ -n $(find "$B" -name "*.png") ]]' || fail "no PNG file in $B: $(ls "$B")"

check "Cancel after Apply keeps what Apply applied"
open_sheet
tabs 5 # Bitmap
xdotool key Right space # JPEG
sleep 0.2
tabs 3 # out of the page: OK, Cancel, Apply
xdotool key space
sleep 0.3
close_sheet_with_escape
grep -q '"m_nCaptureType": 3' <<<"$(setting m_nCaptureType)" || fail "Apply or Cancel wrote the file"
open_sheet
xdotool key Return # OK: the pages show what the settings hold now
e2e_wait_until 5 eval '! sheet_open' || fail "OK did not close the sheet"
e2e_wait_until 5 eval 'grep -q "\"m_nCaptureType\": 2" <<<"$(setting m_nCaptureType)"' ||
    fail "what Apply applied was lost: $(setting m_nCaptureType)"

check "a key that repeats the Full Screen key is refused with the message"
open_sheet
down 4
tabs 2 # the Rectangle field
xdotool key shift+F12
tabs 8 # the six other fields, Default, OK
xdotool key space
BOX=$(wait_for_window '^Hotkeys$' 5)
import -window root "$SHOTS/options-repeated-key.png"
xdotool windowactivate --sync "$BOX" 2>/dev/null
xdotool key Return
e2e_wait_until 5 eval '! window_shown "^Hotkeys$"' || fail "the message stayed"
sheet_open || fail "the sheet closed after a refused page"
xdotool windowactivate --sync "$SHEET" 2>/dev/null
xdotool key Escape # the focus is on OK, outside the page
e2e_wait_until 5 eval '! sheet_open' || fail "Cancel did not close the sheet"
grep -q '"modifiers": 2, "virtualKey": 112' <<<"$(setting m_hkRectangle)" ||
    fail "the refused key was stored: $(setting m_hkRectangle)"

check "the More page: Cancel leaves the registry file alone, OK writes the boxes to it"
REGISTRY=$VISTREL_HOME/registry.ini
preference() { grep -c "^$1=dword:$2\$" "$REGISTRY" 2>/dev/null; }
open_sheet
down 7 # More
tabs 2 # its second box: copy captures to the clipboard
xdotool key space
sleep 0.2
close_sheet_with_escape
[[ $(preference copyCapturesToClipboard 1) -eq 0 ]] || fail "Cancel wrote the preference"
open_sheet
down 7
tabs 2
xdotool key space
tabs 1 # the third box: always show the tray icon
xdotool key space
sleep 0.2
import -window root "$SHOTS/options-more-changed.png"
xdotool key Return # OK
e2e_wait_until 5 eval '! sheet_open' || fail "OK did not close the sheet"
e2e_wait_until 5 eval '[[ $(preference copyCapturesToClipboard 1) -eq 1 ]]' ||
    fail "the clipboard preference was not written: $(cat "$REGISTRY" 2>&1)"
[[ $(preference alwaysShowTrayIcon 1) -eq 1 && $(preference notifyAfterCapture 1) -eq 1 ]] ||
    fail "the registry file reads: $(cat "$REGISTRY")"

check "every page, in Chinese"
e2e_stop "$PROGRAM" 10
"$VISTREL" --set "g_strLanguageFile=$(dirname "$E2E_DIR")/../Language/vstlchs.ini" >/dev/null ||
    fail "cannot choose the Chinese language file"
start_program
open_sheet
shoot_pages zh
close_sheet_with_escape
note "screenshots in $SHOTS"
