#!/bin/bash
# The bash completion, sourced as bash-completion would: `complete -p vistrel`
# names it; the options are --help's, the shapes after --capture those --help
# lists, the compressors after --codec those of --list-codecs, setting names
# after --set, files after --icons and --convert, nothing after a shape.
# Usage: test_completion.sh BUILD_DIR COMPLETION_FILE
set -uo pipefail
BUILD=${1:?usage: $0 BUILD_DIR COMPLETION_FILE}
SCRIPT=${2:?usage: $0 BUILD_DIR COMPLETION_FILE}
V=$BUILD/vistrel
fail() { echo "FAIL: $*"; exit 1; }
W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
export VISTREL_HOME=$W/home # --print-settings reads a settings file of its own

# shellcheck source=/dev/null
source "$SCRIPT"
[[ $(complete -p vistrel 2>/dev/null) == "complete -F _vistrel vistrel" ]] || fail "complete -p vistrel: $(complete -p vistrel 2>&1)"

# offered WORDS...: what completing the last word offers, one a line, sorted.
offered() {
    COMP_WORDS=("$V" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _vistrel 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sort
}
help=$("$V" --help) || fail "--help failed"

shapes=$(sed -n '/^  --capture /,/^  --/s/^ \{29\}\([a-z]*\).*/\1/p' <<<"$help" | sort)
[[ $(wc -l <<<"$shapes") -ge 7 ]] || fail "--help lists no shapes: $shapes"
[[ $(offered --capture "") == "$shapes" ]] || fail "after --capture: $(offered --capture "") (--help: $shapes)"
[[ $(offered --capture re) == rectangle ]] || fail "--capture re: $(offered --capture re)"
[[ -z $(offered --capture rectangle "") ]] || fail "offered after a shape: $(offered --capture rectangle "")"

options=$(sed -n 's/^ \{2,4\}\(--[a-z-]*\).*/\1/p' <<<"$help" | sort)
[[ $(offered --) == "$options" ]] || fail "options offered: $(offered --)"
[[ $(offered --home "$W" --rec) == $'--record\n--record-dialog' ]] || fail "--rec: $(offered --home "$W" --rec)"
[[ $(offered --select "") == $'circle\nellipse\nobject\npolygon\nrectangle' ]] || fail "--select: $(offered --select "")"

codecs=$("$V" --list-codecs | cut -f1 | while IFS= read -r c; do printf '%q\n' "$c"; done | sort)
[[ -n $codecs && $(offered --record fullscreen --codec "") == "$codecs" ]] ||
    fail "after --codec: $(offered --record fullscreen --codec "") (--list-codecs: $codecs)"

[[ $(offered --set m_nCaptureTy) == m_nCaptureType= ]] || fail "--set m_nCaptureTy: $(offered --set m_nCaptureTy)"
grep -qx 'notifyAfterCapture=' <<<"$(offered --set notify)" || fail "--set notify: $(offered --set notify)"

mkdir -p "$W/files/sub"
touch "$W/files/app.exe" "$W/files/lib.dll"
[[ $(offered --icons "$W/files/app.exe" "$W/files/l") == "$W/files/lib.dll" ]] ||
    fail "second file after --icons: $(offered --icons "$W/files/app.exe" "$W/files/l")"
[[ $(offered --convert "$W/files/a") == "$W/files/app.exe" ]] || fail "--convert: $(offered --convert "$W/files/a")"
[[ $(offered --home "$W/files/") == "$W/files/sub" ]] || fail "--home offers folders only: $(offered --home "$W/files/")"
echo "ok"
