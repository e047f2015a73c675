#!/bin/bash
# Help and the About box: Help > Contents shows the start page in the help
# window and Help > Index... the index; the About box opens and closes 20 times
# with keys and leaves no thread behind, its credits pause under the mouse;
# its web link opens through xdg-open, then through the desktop's default
# browser when there is no xdg-open, and with neither says why.
# Usage: test_help.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 200

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
e2e_need_tools xdotool xwininfo import convert
W=$E2E_TMP
LOG=$W/vistrel.log
SHOTS=${E2E_SHOTS:-$W}

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
"$VISTREL" --set m_bShowReminder=0 >/dev/null

# The program's tools: only what this test puts there, so no opener or
# browser of the machine answers in their place.
BIN=$W/bin
mkdir -p "$BIN" "$XDG_DATA_HOME/applications"
opener_script() { printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s"\n' "$1"; }
opener_script "$W/xdg-open.args" >"$BIN/xdg-open"
opener_script "$W/browser.args" >"$BIN/fakebrowser"
printf '#!/bin/sh\necho fakebrowser.desktop\n' >"$BIN/xdg-mime.off"
chmod +x "$BIN/xdg-open" "$BIN/fakebrowser" "$BIN/xdg-mime.off"
printf '[Desktop Entry]\nType=Application\nName=Fake\nExec=%s --new-tab "%%u" --ignored\n' "$BIN/fakebrowser" \
    >"$XDG_DATA_HOME/applications/fakebrowser.desktop"

: >"$LOG"
PATH=$BIN VISTREL_TRACE=1 e2e_spawn "$VISTREL" 2>>"$LOG"
PROGRAM=$E2E_LAST_PID
WIN=$(wait_for_window '^Vistrel$' 15)

menu() { # the Help menu's item by its access key
    xdotool windowactivate --sync "$WIN" 2>/dev/null
    xdotool key alt+h
    sleep 0.3
    xdotool key "$1"
}

check "Help > Contents opens the help window at the start page"
menu c
wait_for_trace "$LOG" "help page welcom.htm" 1 10 || fail "no start page (log: $(tail -3 "$LOG"))"
HELP=$(wait_for_window '^Vistrel Help - Welcome to Vistrel$' 10)
sleep 0.5
import -window root "$SHOTS/help-window.png"

check "Help > Index... shows the index page in the same window"
menu i
wait_for_trace "$LOG" "help page index.htm" 1 10 || fail "no index page (log: $(tail -3 "$LOG"))"
wait_for_window '^Vistrel Help - Index$' 10 >/dev/null
[[ $(xdotool search --onlyvisible --name '^Vistrel Help' | wc -l) -eq 1 ]] || fail "a second help window"
xdotool windowminimize "$HELP"

threads() { ls "/proc/$PROGRAM/task" | wc -l; }
opened=0
open_about() {
    menu a
    opened=$((opened + 1))
    wait_for_trace "$LOG" "about box opened" "$opened" 10 || fail "About box $opened did not open"
    ABOUT=$(wait_for_window '^About Vistrel$' 10)
}
close_about() { # KEY
    xdotool windowactivate --sync "$ABOUT" 2>/dev/null
    xdotool key "$1"
    wait_for_trace "$LOG" "credits thread ended" "$opened" 10 || fail "the credits thread of box $opened did not end"
    e2e_wait_until 10 eval '! window_shown "^About Vistrel\$"' || fail "About box $opened stayed open"
}

check "the About box's credits run on a thread of their own that ends with the box"
open_about
close_about Escape
e2e_wait_until 5 eval '[[ $(threads) -gt 0 ]]'
before=$(threads)
open_about
e2e_wait_until 5 eval '[[ $(threads) -gt '"$before"' ]]' || fail "no credits thread while the box is open ($(threads) threads)"
close_about Return
for ((i = 0; i < 19; i++)); do
    open_about
    if ((i % 2)); then close_about Escape; else close_about Return; fi
done
e2e_wait_until 5 eval '[[ $(threads) -eq '"$before"' ]]' || fail "$before threads before, $(threads) after 20 About boxes"
note "$opened boxes, $before threads before and after"

check "the credits pause under the mouse and go on when it leaves"
open_about
read -r AX AY < <(xwininfo -id "$ABOUT" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
xdotool mousemove $((AX + 200)) $((AY + 60))
wait_for_trace "$LOG" "credits paused" 1 5 || fail "the credits did not pause under the mouse"
xdotool mousemove 5 690
wait_for_trace "$LOG" "credits running" 1 5 || fail "the credits did not go on"
sleep 0.5
import -window root "$SHOTS/about-box.png"

# link_at COLOUR: "X Y" of a pixel of that colour in the About box.
link_at() {
    local geometry
    geometry=$(xwininfo -id "$ABOUT" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w "x" h}')
    import -window root -crop "$geometry+$AX+$AY" +repage "$W/about.png"
    local pixels hit
    pixels=$(convert "$W/about.png" txt:-)
    hit=$(grep -m 1 -i "#$1" <<<"$pixels") || return 1
    hit=${hit%%:*}
    echo "$((AX + ${hit%,*})) $((AY + ${hit#*,}))"
}

check "the web link is drawn in the link colour and opens through xdg-open"
LINK=$(link_at 0000EE) || fail "no link in the colour RGB(0,0,238)"
read -r LX LY <<<"$LINK"
xdotool mousemove "$LX" "$LY" click 1
wait_for_file "$W/xdg-open.args" 5 || fail "xdg-open was not started (log: $(tail -3 "$LOG"))"
[[ $(cat "$W/xdg-open.args") == https://* ]] || fail "xdg-open got: $(cat "$W/xdg-open.args")"
xdotool mousemove 5 690
e2e_wait_until 3 link_at 551A8B >/dev/null || fail "the opened link is not in the visited colour"

check "without xdg-open, the desktop's browser opens it with the address in place of %u"
rm "$BIN/xdg-open"
mv "$BIN/xdg-mime.off" "$BIN/xdg-mime"
xdotool mousemove "$LX" "$LY" click 1
wait_for_file "$W/browser.args" 5 || fail "the browser was not started (log: $(tail -3 "$LOG"))"
mapfile -t args <"$W/browser.args"
[[ ${#args[@]} -eq 2 && ${args[0]} == --new-tab && ${args[1]} == "$(cat "$W/xdg-open.args")" ]] ||
    fail "the browser got: ${args[*]}"

check "with neither, the link says why"
rm "$BIN/xdg-mime"
xdotool mousemove 5 690 mousemove "$LX" "$LY" click 1
wait_for_trace "$LOG" "told the user: Unable to open hyperlink:  There is no application associated with" 1 5 ||
    fail "no message (log: $(tail -3 "$LOG"))"
e2e_wait_until 5 eval '[[ $(xdotool search --onlyvisible --name "^Vistrel\$" | wc -l) -eq 2 ]]' || fail "no message box"
sleep 0.3
import -window root "$SHOTS/link-error.png"
xdotool key Return
e2e_wait_until 5 eval '[[ $(xdotool search --onlyvisible --name "^Vistrel\$" | wc -l) -eq 1 ]]' || fail "the message stayed"
close_about Escape
echo "PASS"
