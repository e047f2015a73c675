#!/bin/bash
# The library's file list: three captures show in "Captured Bitmap"; the View
# button cycles through the five views; one file is deleted through the context
# menu and its confirmation; one is copied to a folder. After each step the
# files on disk and the list agree. Screenshots of each view and of the menu
# go to $E2E_SHOTS when it is set. Usage: test_library.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 150

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP
LOG=$W/vistrel.log
SHOTS=${E2E_SHOTS:-$W}

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
B=$VISTREL_HOME/Capture/Bitmap

on_disk() { find "$B" -type f 2>/dev/null | wc -l; }
shown() { grep "list kind 1 shows" "$LOG" | tail -n 1 | awk '{print $(NF-1)}'; }
# The list and the folder agree on n files.
agree() {
    e2e_wait_until 5 eval '[[ $(shown) == '"$1"' ]]' || fail "the list shows $(shown) files, not $1"
    [[ $(on_disk) -eq $1 ]] || fail "$(on_disk) files on disk, the list shows $1"
}
shot() { import -window root "$SHOTS/library-$1.png"; }
client_origin() {
    X=$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {print $4}')
    Y=$(xwininfo -id "$WIN" | awk '/Absolute upper-left Y/ {print $4}')
}
# Focus on the list, first row selected.
first_row() {
    xdotool windowactivate --sync "$WIN" 2>/dev/null
    xdotool mousemove $((X + 600)) $((Y + 420)) click 1
    sleep 0.2
    xdotool key End Home
    e2e_wait_until 3 grep -q "selected $1" "$LOG" || fail "the first row was not selected"
}

# A stand-in for the desktop's opener: it notes its arguments, one a line.
mkdir -p "$W/bin"
printf '#!/bin/sh\nfor a in "$@"; do printf "%%s\\n" "$a"; done >>"%s"\n' "$W/opened" >"$W/bin/xdg-open"
chmod +x "$W/bin/xdg-open"
export PATH="$W/bin:$PATH"

VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>"$LOG"
PROGRAM=$E2E_LAST_PID
WIN=$(wait_for_window '^Vistrel$' 15)
client_origin

# The View button, beside its drop-down arrow, in the client area.
VIEW_X=383 VIEW_Y=41

check "three captures show in the list"
for n in 1 2 3; do
    xdotool key Print
    e2e_wait_until 10 eval '[[ $(grep -c "capture saved" "$LOG") -ge '"$n"' ]]' || fail "capture $n was not saved"
done
agree 3

check "the View button cycles through the five views and back"
for mode in 1 2 3 4 0; do
    xdotool mousemove $((X + VIEW_X)) $((Y + VIEW_Y)) click 1
    e2e_wait_until 3 eval '[[ $(grep "list view" "$LOG" | tail -n 1) == *"list view $mode" ]]' ||
        fail "the View button did not switch to view $mode"
    sleep 0.3
    shot "view$mode"
    agree 3
done

check "Delete from the context menu removes the file after the confirmation"
first="$(find "$B" -type f | sort | head -n 1)"
first_row "$first"
xdotool key Menu
e2e_wait_until 3 grep -q "list menu kind 1" "$LOG" || fail "no context menu"
sleep 0.3
shot menu-bitmap
xdotool key Up Up Return # Delete, above Properties
box=$(wait_for_window '^Confirm File Delete$' 5) || fail "no confirmation box"
shot confirm-delete
xdotool key Return
agree 2
[[ ! -e $first ]] || fail "the deleted file is still there"

check "a cancelled delete keeps the file"
second="$(find "$B" -type f | sort | head -n 1)"
first_row "$second"
xdotool key Delete
box=$(wait_for_window '^Confirm File Delete$' 5) || fail "no confirmation box for the Delete key"
xdotool key Escape
e2e_wait_until 3 grep -q "delete cancelled" "$LOG" || fail "the cancel was not seen"
agree 2
[[ -e $second ]] || fail "a cancelled delete removed the file"

check "Explore hands the selected file's folder to the file manager"
first_row "$second"
xdotool mousemove $((X + 748)) $((Y + 75)) click 1
e2e_wait_until 5 eval '[[ -s $W/opened ]]' || fail "the opener was not started"
[[ $(cat "$W/opened") == "$B" ]] || fail "the opener got '$(cat "$W/opened")', not the folder $B"

check "Copy To copies the selected file into the chosen folder"
mkdir -p "$W/out"
first_row "$second"
xdotool key Menu
e2e_wait_until 3 eval '[[ $(grep -c "list menu kind 1" "$LOG") -ge 2 ]]' || fail "no second context menu"
sleep 0.2
xdotool key c # "&Copy To..."
wait_for_window 'Select a directory' 5 >/dev/null || fail "no folder picker"
sleep 0.3
xdotool type --delay 20 "$W/out"
xdotool key Return
e2e_wait_until 5 grep -q "copied 1 files to $W/out" "$LOG" || fail "nothing copied (log: $(tail -n 3 "$LOG"))"
cmp -s "$second" "$W/out/$(basename "$second")" || fail "the copy differs from the file"
agree 2

check "a capture in each view is selected and shown in the preview"
saved=$(grep -c "capture saved" "$LOG")
for mode in 1 2 3 4 0; do
    xdotool mousemove $((X + VIEW_X)) $((Y + VIEW_Y)) click 1
    e2e_wait_until 3 eval '[[ $(grep "list view" "$LOG" | tail -n 1) == *"list view $mode" ]]' ||
        fail "the View button did not switch to view $mode"
    xdotool key Print
    saved=$((saved + 1))
    e2e_wait_until 10 eval '[[ $(grep -c "capture saved" "$LOG") -ge '"$saved"' ]]' || fail "the capture in view $mode was not saved"
    new=$(grep "capture saved" "$LOG" | tail -n 1 | sed 's/.*capture saved //')
    e2e_wait_until 5 grep -qE "preview shows $new [0-9]+ x [0-9]+ x [0-9]+$" "$LOG" ||
        fail "view $mode: the new capture is not previewed (last: $(grep "preview shows" "$LOG" | tail -n 1))"
    grep -q "selected $new$" "$LOG" || fail "view $mode: the new capture is not the selected row"
    if ((mode == 4)); then
        e2e_wait_until 10 grep -q "thumbnails done" "$LOG" || fail "no thumbnails were built in the Thumbnails view"
        shot thumbnails-built
    fi
done

check "the program closes cleanly"
xdotool windowactivate --sync "$WIN" 2>/dev/null
xdotool key alt+f
sleep 0.3
xdotool key x # "E&xit"
wait_for_exit "$PROGRAM" 10 || fail "the program did not end cleanly ($?)"
echo PASS
