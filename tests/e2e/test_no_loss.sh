#!/bin/bash
# No capture is ever replaced or lost: taken names are skipped whatever the
# stored number says (deleted, damaged or reset settings, the 16-bit wrap, the
# same second by time, a killed running copy, several spellings of one program
# folder, a read-only program folder), a killed capture leaves no temporary
# file, and the hand-over waits for command-line runs instead of giving up.
# Usage: test_no_loss.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 220

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP

e2e_start_xvfb 640x480x24
e2e_make_home
B=$VISTREL_HOME/Capture/Bitmap
CFG=$VISTREL_HOME/capture.cfg
cap() { "$VISTREL" --capture rectangle 0 0 64 48 --no-cursor; }
number() { "$VISTREL" --print-settings | sed -n 's/.*"m_nBitmapNumber": \(-\?[0-9]*\).*/\1/p'; }
count() { find "$B" -type f | wc -l; }
# snapshot, then kept: every file there at the snapshot is still there, unchanged.
snapshot() { (cd "$B" && find . -type f -print0 | xargs -0 -r md5sum) >"$W/snap"; SNAP_COUNT=$(count); }
kept() {
    (cd "$B" && md5sum -c --quiet "$W/snap" >/dev/null 2>&1) || fail "$1: an earlier capture was replaced"
    [[ $(count) -eq $((SNAP_COUNT + $2)) ]] || fail "$1: $(count) files, expected $((SNAP_COUNT + $2))"
}
# The stored number as a raw 16-bit value, as the settings file holds it.
store_raw_number() {
    "$VISTREL" --set m_nBitmapNumber=31323 || fail "--set failed"
    python3 - "$CFG" "$1" <<'PY' || fail "cannot patch the settings file"
import sys
path, value = sys.argv[1], int(sys.argv[2])
data = open(path, 'rb').read()
assert data.count(b'\x5b\x7a') == 1
open(path, 'wb').write(data.replace(b'\x5b\x7a', value.to_bytes(2, 'little')))
PY
}

losing_cases() {
    local who=$1
    cap >/dev/null && cap >/dev/null || fail "$who: capture failed"

    check "$who: a deleted settings file replaces nothing"
    snapshot
    rm -f "$CFG"
    cap >/dev/null || fail "$who: capture after deleting the settings failed"
    kept "$who, deleted settings" 1

    check "$who: a damaged settings file replaces nothing and is kept aside"
    snapshot
    head -c 37 /dev/urandom >"$CFG"
    cap >/dev/null || fail "$who: capture with damaged settings failed"
    kept "$who, damaged settings" 1

    check "$who: the number reset to 0 replaces nothing"
    snapshot
    "$VISTREL" --set m_nBitmapNumber=0 || fail "--set failed"
    p=$(cap) || fail "$who: capture after the reset failed"
    [[ $p != */Image000.bmp ]] || fail "$who: Image000.bmp written again"
    kept "$who, number reset" 1
    [[ $(number) -gt $(basename "$p" .bmp | tr -dc 0-9 | sed 's/^0*//;s/^$/0/') ]] ||
        fail "$who: the stored number $(number) did not move past $p"

    check "$who: two captures by time in the same second both stay"
    "$VISTREL" --set m_bBitmapNameByTime=1 || fail "--set failed"
    snapshot
    local pids=()
    for i in 1 2 3; do
        e2e_spawn "$VISTREL" --capture fullscreen --no-cursor >/dev/null
        pids+=("$E2E_LAST_PID")
    done
    for pid in "${pids[@]}"; do wait_for_exit "$pid" 20 || fail "$who: a capture by time failed ($?)"; done
    kept "$who, same second" 3
    "$VISTREL" --set m_bBitmapNameByTime=0 || fail "--set failed"
}

check "without a running copy: the wrap after 65535 replaces nothing"
cap >/dev/null || fail "capture failed" # Image000.bmp
store_raw_number 65535
snapshot
p1=$(cap) && p2=$(cap) || fail "capture at the wrap failed"
[[ $p1 == */Image65535.bmp && $p2 == */Image001.bmp ]] || fail "names at the wrap: $p1 $p2"
kept "wrap" 2
[[ $(number) == 2 ]] || fail "the stored number after the wrap is $(number)"

losing_cases "command line"
ls "$VISTREL_HOME"/capture.cfg.damaged* >/dev/null 2>&1 || fail "the damaged settings file was not kept"

check "20 parallel captures over four spellings of one program folder give 20 files"
ln -s "$VISTREL_HOME" "$W/alias"
spellings=("$VISTREL_HOME" "$VISTREL_HOME/" "$W/alias" "$VISTREL_HOME/Capture/..")
parallel_captures() {
    snapshot
    local pids=() i
    for i in $(seq 0 19); do
        VISTREL_HOME=${spellings[i % 4]} e2e_spawn "$VISTREL" --capture rectangle 0 0 64 48 --no-cursor >"$W/par-$i" 2>"$W/par-err-$i"
        pids+=("$E2E_LAST_PID")
    done
    for i in "${!pids[@]}"; do
        wait_for_exit "${pids[i]}" 60 || fail "$1: parallel capture $i ended with $?: $(cat "$W/par-err-$i")"
        ! grep -q 'does not answer\|running copy' "$W/par-err-$i" || fail "$1: $(cat "$W/par-err-$i")"
    done
    kept "$1" 20
    [[ $(cat "$W"/par-[0-9]* | sort -u | wc -l) -eq 20 ]] || fail "$1: the 20 captures did not report 20 names"
}
parallel_captures "20 at once"

check "with a running copy: every case again"
e2e_start_openbox
e2e_spawn "$VISTREL"
RUNNING=$E2E_LAST_PID
wait_for_window '^Vistrel$' 15 >/dev/null
losing_cases "running copy"
parallel_captures "20 at once, running copy"

check "kill -9 of the running copy after three captures, then captures replace nothing"
cap >/dev/null && cap >/dev/null && cap >/dev/null || fail "capture through the running copy failed"
snapshot
kill -KILL "$RUNNING"
wait "$RUNNING" 2>/dev/null
cap >/dev/null || fail "capture after the kill failed"
e2e_spawn "$VISTREL"
RUNNING=$E2E_LAST_PID
wait_for_window '^Vistrel$' 15 >/dev/null
cap >/dev/null || fail "capture through the restarted copy failed"
kept "after kill -9" 2

check "losing the display ends the running copy with the settings written"
e2e_stop_xvfb
wait_for_exit "$RUNNING" 15
[[ $? -ne 124 ]] || fail "the running copy outlived its display"
stored=$(number)
n=$(count)
e2e_start_xvfb 2400x1600x24
p=$(cap) || fail "capture on the new display failed"
[[ $(count) -eq $((n + 1)) && $(number) -gt $stored ]] || fail "numbers after losing the display"

check "a read-only program folder with a writable bitmap folder replaces nothing"
RO=$W/ro-home
mkdir -p "$RO" "$W/rw-bitmaps"
VISTREL_HOME=$RO "$VISTREL" --set "m_strBitmapPath=$W/rw-bitmaps" || fail "--set failed"
chmod 0555 "$RO"
chmod 0777 "$W/rw-bitmaps"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
    # Root writes anywhere: run as nobody, with a runtime folder of its own.
    chmod 0755 "$W"
    install -d -o nobody -m 0700 "$W/nobody-runtime"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env XDG_RUNTIME_DIR="$W/nobody-runtime")
fi
ro_cap() { VISTREL_HOME=$RO "${as_user[@]}" "$VISTREL" --capture rectangle 0 0 64 48 --no-cursor 2>"$W/ro-err"; }
r1=$(ro_cap)
s1=$?
r2=$(ro_cap)
s2=$?
[[ $s1 -eq 1 && $s2 -eq 1 ]] || fail "settings that cannot be written must give status 1 (got $s1 $s2)"
grep -q "cannot write" "$W/ro-err" || fail "no message about the settings: $(cat "$W/ro-err")"
[[ -s $r1 && -s $r2 && $r1 != "$r2" ]] || fail "read-only program folder: '$r1' '$r2'"
[[ $(find "$W/rw-bitmaps" -type f | wc -l) -eq 2 ]] || fail "read-only program folder: a capture was replaced"

check "SIGTERM in the middle of large PNG captures leaves no temporary file"
convert -size 2400x1600 xc: +noise Random -depth 8 "$W/noise.png" || fail "cannot make the noise picture"
show_picture "$W/noise.png"
"$VISTREL" --set m_nCaptureType=3 || fail "--set failed"
for delay in 0.05 0.1 0.15 0.2 0.3 0.4; do
    e2e_spawn "$VISTREL" --capture fullscreen >/dev/null
    sleep "$delay"
    kill -TERM "$E2E_LAST_PID" 2>/dev/null
    wait "$E2E_LAST_PID" 2>/dev/null
done
leftovers=$(find "$VISTREL_HOME" -name '*.tmp*' -o -name '.vistrel*' | head)
[[ -z $leftovers ]] || fail "temporary files left: $leftovers"
for f in "$B"/*.png; do
    [[ -e $f ]] || continue
    identify "$f" >/dev/null 2>&1 || fail "an incomplete capture is there: $f"
done
"$VISTREL" --print-settings >/dev/null || fail "the settings file was damaged"

check "a windowed start queued behind command-line captures waits, then opens its window"
(for i in 1 2 3 4 5 6; do "$VISTREL" --capture fullscreen >/dev/null; done) &
LOOP=$!
E2E_PIDS+=("$LOOP")
sleep 0.2
e2e_spawn "$VISTREL"
GUI=$E2E_LAST_PID
wait_for_exit "$LOOP" 90 || fail "the queued captures failed"
e2e_wait_until 30 eval 'xdotool search --name "^Vistrel\$" >/dev/null' || fail "the windowed start gave up"
_e2e_is_our_child "$GUI" || fail "the windowed start ended instead of opening its window"

check "--set of an empty or relative folder is refused through the running copy too"
for value in "m_strBitmapPath=" "m_strBitmapPath=   " "m_strBitmapPath=relative/dir"; do
    "$VISTREL" --set "$value" 2>/dev/null
    [[ $? -eq 2 ]] || fail "'$value' was not refused"
done
"$VISTREL" --set "m_strBitmapName=../../x" 2>/dev/null
[[ $? -eq 2 ]] || fail "a name with a path separator was not refused"
e2e_stop "$GUI" 10

check "no display: a clear message and status 1; a full standard output: a failure"
DISPLAY= "$VISTREL" >/dev/null 2>"$W/nodisplay"
status=$?
[[ $status -eq 1 ]] && grep -q "display" "$W/nodisplay" || fail "without a display: status $status, '$(cat "$W/nodisplay")'"
"$VISTREL" --print-settings >/dev/full 2>/dev/null && fail "writing to a full standard output reported success"
echo PASS
