#!/bin/bash
# The icon dialogs on a real display, driven by keys as a user would: the
# "Icons" dialog of a module (Save All and its names, a second Save All that
# replaces nothing, To Clipboard read back by another client, Save onto a taken
# name and a free one), the folder search with its count, and closing the
# dialog during a search, which returns at once while the search ends by itself
# and lists what it wrote; Save and Save All proposing the icon folder, made
# when missing; the dialog in Chinese. Screenshots of each go to
# $E2E_SHOTS when set. The dialog runs in icon_dialog_host, as the main
# window's command opens it.
# Usage: test_icon_dialogs.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 200

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
BUILD=$(dirname "$VISTREL")
HOST=$BUILD/tests/e2e/icon_dialog_host
FIXTURE=$BUILD/tests/e2e/icon_fixture
[[ -x $HOST && -x $FIXTURE ]] || fail "no icon_dialog_host or icon_fixture in $BUILD/tests/e2e"
e2e_need_tools xdotool xclip identify import
W=$E2E_TMP
SHOTS=${E2E_SHOTS:-$W}
mkdir -p "$W/mods" "$W/saved"
"$FIXTURE" "$W/mods" || fail "icon_fixture failed"
rm -f "$W/mods/old16.exe"

e2e_start_xvfb 1024x700x24
e2e_start_openbox
e2e_make_home
ICONS=$VISTREL_HOME/Capture/Icon
OUT=$W/host.out

wait_gone() { e2e_wait_until "$2" eval '! window_shown "$1"' || fail "the window '$1' is still shown after $2 s"; }
files_in() { find "$1" -maxdepth 1 -type f 2>/dev/null | wc -l; }
last_listed() { grep '^list ' "$OUT" | tail -n 1 | cut -d' ' -f2; }
# start_host TITLE [LANGUAGE_FILE]
start_host() {
    : >"$OUT"
    e2e_spawn "$HOST" "${@:2}" >"$OUT"
    HOST_PID=$E2E_LAST_PID
    DIALOG=$(wait_for_window "$1" 15) || exit 1
    xdotool windowactivate --sync "$DIALOG" 2>/dev/null
    sleep 0.3
}
# Key presses go to the window that has the focus; each waits for the last to land.
keys() {
    xdotool key --delay 60 "$@"
    sleep 0.2
}
type_text() {
    xdotool type --delay 5 "$1"
    sleep 0.2
}

start_host '^Icon Capture&Search$'
import -window root "$SHOTS/icon-search-dialog.png"

check "file mode opens the Icons dialog of the module"
keys alt+h Tab
type_text "$W/mods/tools.dll"
keys Return
ICONS_WIN=$(wait_for_window '^4 icons in tools\.dll$' 10) || exit 1
sleep 0.3
import -window root "$SHOTS/icons-dialog.png"

check "Save All writes the groups under the module's name into the chosen folder"
keys alt+a
wait_for_window '^Select a directory:$' 10 >/dev/null || exit 1
keys ctrl+a
type_text "$W/saved"
keys Return
wait_gone '^Select a directory:$' 10
e2e_wait_until 10 eval '[[ $(files_in "$W/saved") -eq 4 ]]' || fail "Save All wrote: $(ls "$W/saved")"
for name in tools1.ico tools2.ico tools12.ico toolsAPPCON.ico; do
    [[ $(identify "$W/saved/$name" 2>/dev/null | wc -l) -eq 6 ]] || fail "$name is not the six-image icon"
done
sums=$(md5sum "$W"/saved/*)

check "a second Save All replaces nothing and says so"
keys alt+a
wait_for_window '^Select a directory:$' 10 >/dev/null || exit 1
keys ctrl+a
type_text "$W/saved"
keys Return
wait_for_window '^Error$' 10 >/dev/null || exit 1
sleep 0.3
import -window root "$SHOTS/icons-save-all-refused.png"
keys Return
wait_gone '^Error$' 5
[[ $(md5sum "$W"/saved/*) == "$sums" ]] || fail "a second Save All changed the files"
[[ $(files_in "$W/saved") -eq 4 ]] || fail "a second Save All added files: $(ls "$W/saved")"

check "To Clipboard puts the selected group's first image on the X clipboard"
xdotool windowactivate --sync "$ICONS_WIN" 2>/dev/null
keys Right alt+t # "Icon [1]": its first image is 16 x 16 at 1 bit
e2e_wait_until 5 eval 'grep -q "^image/png$" <<<"$(xclip -selection clipboard -t TARGETS -o 2>/dev/null)"' ||
    fail "no image on the clipboard: $(xclip -selection clipboard -t TARGETS -o 2>&1)"
xclip -selection clipboard -t image/png -o >"$W/clip.png" 2>/dev/null
[[ $(identify -format '%wx%h %A' "$W/clip.png" 2>/dev/null) =~ ^16x16\ (Blend|True) ]] ||
    fail "the clipboard holds $(identify "$W/clip.png" 2>&1)"

check "Save writes the selected group, adding .ico; a taken name is refused without a replace question"
save_as() {
    keys alt+s
    wait_for_window '^Save As$' 10 >/dev/null || exit 1
    keys ctrl+a
    type_text "$1"
    keys Return
    wait_gone '^Save As$' 5
}
save_as "$W/saved/tools1"
wait_for_window '^Error$' 10 >/dev/null || exit 1
keys Return
wait_gone '^Error$' 5
[[ $(md5sum "$W"/saved/tools*) == "$sums" ]] || fail "Save replaced a file"
save_as "$W/saved/one"
e2e_wait_until 5 test -s "$W/saved/one.ico" || fail "Save wrote no one.ico: $(ls "$W/saved")"
cmp -s "$W/saved/one.ico" "$W/saved/tools1.ico" || fail "one.ico is not group 1"
window_shown '^Error$' && fail "a message after a good save"

keys Escape
wait_gone '^4 icons in' 5
xdotool windowactivate --sync "$DIALOG" 2>/dev/null

check "a folder search writes every icon it finds, counts them and lists them"
keys alt+f # a mnemonic clicks a moment later
keys Tab ctrl+a
type_text "$W/mods"
keys alt+d
keys Return
# .ico: seed.ico; .dll: tools (4 groups), tools64 (4), seed32 (2).
e2e_wait_until 20 eval '[[ $(last_listed) == 11 ]]' || fail "the search listed $(last_listed), wrote $(files_in "$ICONS")"
[[ $(files_in "$ICONS") -eq 11 ]] || fail "the search wrote $(ls "$ICONS")"
for name in seed.ico tools001.ico tools004.ico tools64004.ico seed32002.ico; do
    [[ -s $ICONS/$name ]] || fail "no $name: $(ls "$ICONS")"
done
sleep 0.3
import -window root "$SHOTS/icon-search-done.png"

check "closing during a search returns at once; the search stops and lists what it wrote"
python3 - "$W/mods/seed.ico" "$W/big" <<'PY' || fail "cannot make the folder tree"
import os, sys
icon = open(sys.argv[1], "rb").read()
for f in range(100):
    folder = os.path.join(sys.argv[2], "f%d" % f)
    os.makedirs(folder)
    for i in range(80):
        open(os.path.join(folder, "s%d_%d.ico" % (f, i)), "wb").write(icon)
PY
keys alt+d # .ico files only
keys alt+f
keys Tab ctrl+a
type_text "$W/big"
keys Return
e2e_wait_until 10 eval '[[ $(files_in "$ICONS") -gt 11 ]]' || fail "the second search wrote nothing"
# Only when asked for: the time a screenshot takes here lets the search run on,
# and a fast one could finish before it is closed.
[[ -n ${E2E_SHOTS:-} ]] && import -window root "$SHOTS/icon-search-running.png"
closed_at=$(_e2e_now_ms)
xdotool key alt+c
e2e_wait_until 2 eval '! window_shown "^Icon Capture"' || fail "the dialog did not close at once"
e2e_wait_until 2 grep -q '^closed$' "$OUT" || fail "the dialog's function did not return at once"
note "closed after $(($(_e2e_now_ms) - closed_at)) ms"
e2e_wait_until 20 grep -q '^ended$' "$OUT" || fail "the search did not end after the dialog closed"
wait_for_exit "$HOST_PID" 5 || fail "the host ended with status $?"
written=$(files_in "$ICONS")
((written < 11 + 8000)) || fail "closing did not stop the search: all $((written - 11)) files were copied"
[[ $(last_listed) == "$written" ]] || fail "the list holds $(last_listed) files, the folder $written"
note "$((written - 11)) of 8000 copied before the search stopped"

check "Save and Save All open in the icon folder, which they make when it is missing"
e2e_make_home # no settings yet: the icon folder is not there
ICONS=$VISTREL_HOME/Capture/Icon
[[ ! -e $ICONS ]] || fail "$ICONS is there before anything was saved"
start_host '^Icon Capture&Search$'
keys alt+h Tab
type_text "$W/mods/tools.dll"
keys Return
ICONS_WIN=$(wait_for_window '^4 icons in tools\.dll$' 10) || exit 1
sleep 0.3
keys Right
save_as_proposed() { # DIALOG_TITLE: opens it with the keys that follow and takes what it proposes
    keys "${@:2}"
    wait_for_window "$1" 10 >/dev/null || exit 1
    sleep 0.3
    keys Return
    wait_gone "$1" 5
}
save_as_proposed '^Save As$' alt+s
e2e_wait_until 5 test -s "$ICONS/tools1.ico" || fail "Save did not propose $ICONS/tools1.ico: $(ls "$ICONS" 2>&1)"
rm -rf "$ICONS"
save_as_proposed '^Select a directory:$' alt+a
e2e_wait_until 10 eval '[[ $(files_in "$ICONS") -eq 4 ]]' || fail "Save All wrote into $ICONS: $(ls "$ICONS" 2>&1)"
window_shown '^Error$' && fail "a message after Save All into the icon folder"
keys Escape
wait_gone '^4 icons in' 5
xdotool windowactivate --sync "$DIALOG" 2>/dev/null
keys Escape
wait_for_exit "$HOST_PID" 10 || fail "the host ended with status $?"

check "the dialog in Chinese: every text fits"
start_host '^图标提取与搜索$' "$E2E_DIR/../../Language/vstlchs.ini"
keys alt+f
import -window root "$SHOTS/icon-search-dialog-chinese.png"
keys Escape
wait_for_exit "$HOST_PID" 10 || fail "the host ended with status $?"

echo "PASS"
