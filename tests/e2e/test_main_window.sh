#!/bin/bash
# The main window: Full Screen from Print Screen, the menu, the tool bar and the
# tray menu; minimising to the tray and back, with a tray host that restarts
# and with none; captures handed over by the command line; a restart after
# kill -9; the Chinese language file; a hidden bar that stays hidden; hotkeys
# after a keyboard map change. Usage: test_main_window.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 200

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
TRAY_HOST=$(dirname "$VISTREL")/tests/e2e/tray_host
[[ -x $TRAY_HOST ]] || fail "no tray host at $TRAY_HOST"
W=$E2E_TMP
LOG=$W/vistrel.log

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
B=$VISTREL_HOME/Capture/Bitmap

count() { find "$B" -type f 2>/dev/null | wc -l; }
saved_lines() { grep -c "capture saved" "$LOG"; }
wait_for_saves() { e2e_wait_until 10 eval '[[ $(saved_lines) -ge '"$1"' ]]' || fail "$2 (log: $(tail -3 "$LOG"))"; }
mapped() { grep -q IsViewable <<<"$(xwininfo -id "$1" 2>/dev/null)"; }
start_tray_host() {
    e2e_spawn "$TRAY_HOST" >"$1"
    TRAY=$E2E_LAST_PID
    e2e_wait_until 5 grep -q ready "$1" || fail "the tray host did not start"
}
start_program() {
    VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
    PROGRAM=$E2E_LAST_PID
    WIN=$(wait_for_window '^Vistrel$' 15)
}
# The client area's top left corner on the screen.
client_origin() {
    X=$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {print $4}')
    Y=$(xwininfo -id "$WIN" | awk '/Absolute upper-left Y/ {print $4}')
}
: >"$LOG"
start_tray_host "$W/tray1.log"
start_program

check "Print Screen saves a full-screen capture, and a second one right after it too"
xdotool key Print
wait_for_saves 1 "Print Screen saved nothing"
grep -q "hotkey 0x607" "$LOG" || fail "the hotkey is not in the trace"
xdotool key Print
wait_for_saves 2 "the second Print Screen saved nothing"
f=$(find "$B" -name '*.bmp' | sort | head -n 1)
[[ $(identify -format '%wx%h' "$f") == 1024x700 ]] || fail "not a full-screen picture: $(identify "$f")"

check "Full Screen from the Capture menu and from the tool bar"
xdotool windowactivate --sync "$WIN" 2>/dev/null
xdotool key alt+c
sleep 0.4
xdotool key f
wait_for_saves 3 "Capture > Full Screen saved nothing"
client_origin
# Below the menu bar, the first button of the tool bar.
xdotool mousemove $((X + 32)) $((Y + 41)) click 1
wait_for_saves 4 "the tool bar's Full Screen button saved nothing"

check "minimising puts one icon in the tray; its menu captures without bringing the window back"
xdotool windowminimize "$WIN"
e2e_wait_until 5 grep -q "docked 1" "$W/tray1.log" || fail "no tray icon"
e2e_wait_until 5 eval '! mapped '"$WIN" || fail "the window stayed on the screen"
[[ $(grep -c '^docked' "$W/tray1.log") -eq 1 ]] || fail "more than one tray icon: $(cat "$W/tray1.log")"
xdotool mousemove 1012 12 # the host's first slot is at the screen's top right, 96 pixels in
xdotool mousemove $((1024 - 96 + 12)) 12 click 3
sleep 0.6
import -window root "${E2E_SHOTS:-$W}/tray-menu.png"
xdotool mousemove $((1024 - 96 + 40)) 45 click 1 # the second item: Full Screen
wait_for_saves 5 "the tray menu's Full Screen saved nothing"
# The capture is saved after the overlay has shown the window again, had it
# done so; the window manager then gets a moment to map it.
! e2e_wait_until 0.5 mapped "$WIN" || fail "a capture from the tray menu brought the window back"

check "restarting the tray host brings the icon back"
e2e_stop "$TRAY"
start_tray_host "$W/tray2.log"
e2e_wait_until 10 grep -q "docked 1" "$W/tray2.log" || fail "the icon did not come back to the new tray host"

check "a double click on the icon brings the window back and removes the icon"
xdotool mousemove $((1024 - 96 + 12)) 12 click --repeat 2 --delay 80 1
e2e_wait_until 5 mapped "$WIN" || fail "the window did not come back"
e2e_wait_until 5 grep -q "undocked 0" "$W/tray2.log" || fail "the icon stayed"

check "two command-line captures through the running copy get two new names"
n=$(count)
a=$("$VISTREL" --capture fullscreen) && b=$("$VISTREL" --capture fullscreen) || fail "command-line capture failed"
[[ -s $a && -s $b && $a != "$b" && $(count) -eq $((n + 2)) ]] || fail "captures '$a' '$b'"

check "kill -9 after captures, a restart and Print Screen replace nothing"
(cd "$B" && md5sum -- *) >"$W/sums"
kill -KILL "$PROGRAM"
wait "$PROGRAM" 2>/dev/null
n=$(count)
: >"$LOG"
start_program
xdotool key Print
wait_for_saves 1 "Print Screen after the restart saved nothing"
(cd "$B" && md5sum -c --quiet "$W/sums") || fail "a capture was replaced after kill -9"
[[ $(count) -eq $((n + 1)) ]] || fail "$(count) files after the restart, expected $((n + 1))"

check "with no tray host, minimising keeps the window reachable"
e2e_stop "$TRAY"
sleep 0.3
xdotool windowminimize "$WIN"
e2e_wait_until 5 eval 'grep -q Iconic <<<"$(xprop -id '"$WIN"' WM_STATE)"' || fail "the window is not iconified: $(xprop -id "$WIN" WM_STATE)"
"$VISTREL" || fail "a second start failed"
e2e_wait_until 5 mapped "$WIN" || fail "the window could not be brought back"

check "choosing the Chinese language file translates the menus and shows the hotkeys"
xdotool windowactivate --sync "$WIN" 2>/dev/null
xdotool key alt+t
sleep 0.4
xdotool key l
sleep 0.4
import -window root "${E2E_SHOTS:-$W}/language-menu.png"
xdotool key Return # the files come sorted by name: vstlchs.ini first
e2e_wait_until 5 grep -q "^vistrel: menu 32772 " "$LOG" || fail "no menu texts after choosing a language"
line=$(grep "^vistrel: menu 32772 " "$LOG" | tail -n 1)
[[ $line == *$'\t'"Ctrl+F1" ]] || fail "no hotkey after the rectangle item: '$line'"
! grep -q "^vistrel: menu 32772 &Rectangle" <<<"$line" || fail "the menu stayed English: '$line'"
grep -q "^vistrel: menu 32771 .*"$'\t'"Print" "$LOG" || fail "no Print suffix on Full Screen"
grep -q "^vistrel: bars titled 虚拟文件夹 | 预览 | 文件总数：[0-9]" "$LOG" ||
    fail "bar titles or file count stayed English: $(grep "bars titled" "$LOG" | tail -n 1)"
sleep 0.3
xdotool key alt+c
sleep 0.5
import -window root "${E2E_SHOTS:-$W}/chinese-menu.png"
xdotool key Escape Escape

check "a docking bar hidden from the View menu stays hidden after a restart"
xdotool key alt+v
sleep 0.4
xdotool key f
sleep 0.3
e2e_stop "$PROGRAM" 10
: >"$LOG"
start_program
e2e_wait_until 5 grep -q "^vistrel: bars " "$LOG" || fail "no bar trace"
grep -q "^vistrel: bars toolbar=1 status=1 folder=0 preview=1" "$LOG" || fail "bars after the restart: $(grep bars "$LOG")"
grep -q '"g_strLanguageFile": ".*vstlchs.ini"' <<<"$("$VISTREL" --print-settings)" || fail "the language choice was not kept"

check "hotkeys follow a keyboard map change"
old=$(xmodmap -pke | awk '$4 == "Print" {print $2; exit}')
[[ -n $old ]] || fail "no Print key in the map"
xmodmap -e "keycode $old = NoSymbol" -e "keycode 200 = Print"
sleep 0.5
before=$(grep -c "hotkey 0x607" "$LOG")
xdotool key Print
e2e_wait_until 5 eval '[[ $(grep -c "hotkey 0x607" "$LOG") -gt '"$before"' ]]' || fail "Print on its new key does not work"
e2e_stop "$PROGRAM" 10
echo PASS
