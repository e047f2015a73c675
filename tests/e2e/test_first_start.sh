#!/bin/bash
# The first start on a fresh program folder: with no language file chosen, an
# English system gets the shipped English file, so the menus show their
# hotkeys; the Chinese file is still chosen on a Chinese system.
# Usage: test_first_start.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 90

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP
e2e_start_xvfb 800x600x24
e2e_start_openbox

# first_start LANG LOG: a fresh program folder, the window up with its menus translated.
first_start() {
    e2e_make_home
    : >"$2"
    e2e_spawn env LANG="$1" LC_ALL= LC_MESSAGES= VISTREL_TRACE=1 "$VISTREL" 2>>"$2"
    PROGRAM=$E2E_LAST_PID
    wait_for_window '^Vistrel$' 15 >/dev/null
    e2e_wait_until 10 grep -q '^vistrel: menu 32772 ' "$2" || fail "$1: no translated menu texts (log: $(tail -n 3 "$2"))"
}

check "an English system: the Capture menu carries its hotkeys, and the choice is the English file"
first_start en_US.UTF-8 "$W/en.log"
rectangle=$(grep '^vistrel: menu 32772 ' "$W/en.log" | tail -n 1)
[[ $rectangle == *"&Rectangle"*"Ctrl+F1"* ]] || fail "the Rectangle item reads: $rectangle"
e2e_stop "$PROGRAM" 10
settings=$("$VISTREL" --print-settings)
[[ $settings == *'"g_strLanguageFile": "'*'/vstleng.ini"'* ]] || fail "the language in use is not kept: $settings"

check "a Chinese system: the Chinese file"
first_start zh_CN.UTF-8 "$W/zh.log"
rectangle=$(grep '^vistrel: menu 32772 ' "$W/zh.log" | tail -n 1)
[[ $rectangle == *"Ctrl+F1"* && $rectangle != *"&Rectangle"* ]] || fail "the Rectangle item reads: $rectangle"
echo "PASS"
