#!/bin/bash
# The icon commands on modules made by icon_fixture (PE32 and PE32+): listing,
# "Save All" names, the .ico files accepted by icoutils and ImageMagick and
# holding the same images as wrestool extracts, the 1078-byte file, files never
# replaced, groups whose names clash each kept, lost output and unreadable files
# reported as failures, and the folder search. No display needed.
# Usage: icon_files.sh /path/to/vistrel /path/to/icon_fixture

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 100

VISTREL=${1:-}
FIXTURE=${2:-}
[[ -x $VISTREL && -x $FIXTURE ]] || fail "usage: $0 /path/to/vistrel /path/to/icon_fixture"
e2e_need_tools icotool wrestool identify python3
W=$E2E_TMP
mkdir -p "$W/in" "$W/out" "$W/wrestool"
"$FIXTURE" "$W/in" || fail "icon_fixture failed"
e2e_make_home

check "--icons lists the groups of PE32 and PE32+ modules in directory order"
images="16x16x1 16x16x4 32x32x8 32x32x24 48x48x32 256x256x32(png)"
expected=$(printf 'Icon [%s]: %s\n' APPICON "$images" 1 "$images" 2 "$images" 12 "$images")
for dll in tools.dll tools64.dll; do
    listed=$("$VISTREL" --icons "$W/in/$dll") || fail "--icons $dll ended with status $?"
    [[ $listed == "$expected" ]] || fail "$dll lists:"$'\n'"$listed"
done

check "a 16-bit module is refused with status 2 and the message"
"$VISTREL" --icons "$W/in/old16.exe" >/dev/null 2>"$W/err"
[[ $? -eq 2 ]] || fail "expected status 2"
[[ $(cat "$W/err") == "$W/in/old16.exe Load file error,it must be win32 file" ]] || fail "message: $(cat "$W/err")"

check "a missing or unreadable file fails with status 1, not 2, and says why"
for file in "$W/in/no-such.dll" "$W/in"; do
    "$VISTREL" --icons "$file" >"$W/listed" 2>"$W/err"
    status=$?
    [[ $status -eq 1 ]] || fail "--icons $file: status $status"
    grep -q "cannot read $file" "$W/err" && [[ ! -s $W/listed ]] || fail "--icons $file said: $(cat "$W/err")"
done

check "lost output is a failure: --icons, --save-all and --icon-search into a full device exit 1"
"$VISTREL" --icons "$W/in/tools.dll" >/dev/full 2>"$W/err"
status=$?
[[ $status -eq 1 ]] || fail "--icons >/dev/full: status $status"
grep -q "cannot write to standard output" "$W/err" || fail "--icons >/dev/full said: $(cat "$W/err")"
mkdir "$W/full"
"$VISTREL" --icons "$W/in/tools.dll" --save-all "$W/full" >/dev/full 2>"$W/err"
status=$?
[[ $status -eq 1 ]] || fail "--save-all >/dev/full: status $status"
[[ $(ls "$W/full" | wc -l) -eq 4 && $(grep -c "standard output" "$W/err") -eq 1 ]] ||
    fail "--save-all >/dev/full: $(ls "$W/full"), $(cat "$W/err")"
mkdir -p "$W/lone"
cp "$W/in/small.exe" "$W/lone/"
"$VISTREL" --icon-search "$W/lone" --types exe >/dev/full 2>"$W/err"
status=$?
[[ $status -eq 1 ]] || fail "--icon-search >/dev/full: status $status"
rm -f "$VISTREL_HOME"/Capture/Icon/*

check "--save-all names the files as Save All does and prints them"
"$VISTREL" --icons "$W/in/tools.dll" --save-all "$W/out" >"$W/saved" || fail "--save-all ended with status $?"
printf "$W/out/%s\n" toolsAPPCON.ico tools1.ico tools2.ico tools12.ico | cmp -s - "$W/saved" ||
    fail "printed: $(cat "$W/saved")"
"$VISTREL" --icons "$W/in/small.exe" --save-all "$W/out" >/dev/null || fail "--save-all small.exe failed"
[[ $(stat -c %s "$W/out/small3.ico") -eq 1078 ]] || fail "small3.ico is $(stat -c %s "$W/out/small3.ico") bytes"

check "groups whose names clean to the same text are each kept, the second under the next free name"
mkdir "$W/clash" "$W/clashed"
"$FIXTURE" "$W/clash" clash || fail "icon_fixture clash failed"
for run in 1 2; do
    "$VISTREL" --icons "$W/clash/clash.dll" --save-all "$W/clashed" >"$W/saved" 2>"$W/err"
    status=$?
    if [[ $run == 1 ]]; then
        [[ $status -eq 0 ]] || fail "--save-all clash.dll: status $status: $(cat "$W/err")"
        printf "$W/clashed/%s\n" clashFOLDER.ico clashFOLDER_001.ico clash1.ico | cmp -s - "$W/saved" ||
            fail "printed: $(cat "$W/saved")"
        before=$(md5sum "$W"/clashed/*.ico)
    else # the same names again, all taken now
        [[ $status -eq 1 && ! -s $W/saved && $(grep -c 'exists, not written' "$W/err") -eq 3 ]] ||
            fail "second --save-all: status $status: $(cat "$W/err")"
        [[ $(md5sum "$W"/clashed/*.ico) == "$before" ]] || fail "a file was changed"
    fi
done
cmp -s "$W/clashed/clashFOLDER.ico" "$W/clashed/clashFOLDER_001.ico" && fail "the two groups were written alike"

check "icotool and ImageMagick accept every file written, with every image"
for ico in "$W"/out/*.ico; do
    icotool -l "$ico" >"$W/list" 2>"$W/err" || fail "icotool refuses $ico: $(cat "$W/err")"
    identify "$ico" >"$W/frames" 2>"$W/err" || fail "identify refuses $ico: $(cat "$W/err")"
    [[ $(wc -l <"$W/list") -eq $(wc -l <"$W/frames") ]] || fail "icotool and identify disagree on $ico"
done
grep -q -- '--width=256 --height=256 --bit-depth=32' < <(icotool -l "$W/out/tools1.ico") ||
    fail "the PNG image is not listed as 256x256: $(icotool -l "$W/out/tools1.ico")"
grep -q -- '--width=16 --height=16 --bit-depth=1 --palette-size=2' < <(icotool -l "$W/out/tools1.ico") ||
    fail "the 1-bit image is not listed: $(icotool -l "$W/out/tools1.ico")"
icotool -x -o "$W/png" -i 6 "$W/out/tools1.ico" && [[ $(identify -format %wx%h "$W/png") == 256x256 ]] ||
    fail "icotool cannot take the 256x256 image out"

check "the images are those wrestool extracts from the same modules"
wrestool -x -t14 -o "$W/wrestool" "$W/in/tools.dll" "$W/in/small.exe" || fail "wrestool failed"
python3 "$E2E_DIR/ico_images.py" "$W/out" "$W/wrestool" || fail "the images differ from wrestool's"
mkdir "$W/out64" "$W/wrestool64"
"$VISTREL" --icons "$W/in/tools64.dll" --save-all "$W/out64" >/dev/null || fail "--save-all tools64.dll failed"
wrestool -x -t14 -o "$W/wrestool64" "$W/in/tools64.dll" || fail "wrestool failed on PE32+"
python3 "$E2E_DIR/ico_images.py" "$W/out64" "$W/wrestool64" || fail "PE32+ images differ from wrestool's"

check "saving again replaces nothing: status 1, each file named, the files unchanged"
before=$(md5sum "$W"/out/*.ico)
"$VISTREL" --icons "$W/in/tools.dll" --save-all "$W/out" >"$W/saved" 2>"$W/err"
[[ $? -eq 1 ]] || fail "expected status 1"
[[ ! -s $W/saved && $(grep -c 'exists, not written' "$W/err") -eq 4 ]] || fail "stderr: $(cat "$W/err")"
[[ $(md5sum "$W"/out/*.ico) == "$before" ]] || fail "a file was changed"

check "--icon-search writes into the icon folder, prints each file and the count"
mkdir -p "$W/tree/sub" "$W/tree/x.dll"
cp "$W/out/tools1.ico" "$W/tree/A.ICO"
cp "$W/out/small3.ico" "$W/tree/sub/b.Ico"
cp "$W/out/tools2.ico" "$W/tree/sub/A.ICO"
cp "$W/in/small.exe" "$W/tree/x.dll/Small.EXE"
cp "$W/in/tools64.dll" "$W/tree/sub/Tools.DLL"
ln -s "$W/tree" "$W/tree/sub/loop"
"$VISTREL" --icon-search "$W/tree" --types ico,dll,exe >"$W/found" || fail "--icon-search ended with status $?"
ICONS=$VISTREL_HOME/Capture/Icon
[[ $(tail -n 1 "$W/found") == "Icon Files: 8" ]] || fail "found:"$'\n'"$(cat "$W/found")"
for name in A.ICO A_001.ICO b.Ico Tools001.ico Tools004.ico Small001.ico; do
    grep -qx "$ICONS/$name" "$W/found" && [[ -s $ICONS/$name ]] || fail "$name not written or not printed"
done
cmp -s "$W/tree/A.ICO" "$ICONS/A.ICO" || fail "the second A.ICO replaced the first"
cmp -s "$W/tree/sub/A.ICO" "$ICONS/A_001.ICO" || fail "the second A.ICO is not kept under the next free name"
"$VISTREL" --icon-search "$W/tree" --no-subfolders >"$W/found" || fail "second search failed"
[[ $(cat "$W/found") == "Icon Files: 0" ]] || fail "second search: $(cat "$W/found")"

check "bad icon options are refused with status 2"
"$VISTREL" --save-all "$W/out" 2>/dev/null
[[ $? -eq 2 ]] || fail "--save-all without --icons was not refused"
"$VISTREL" --icon-search "$W/tree" --types ico,png 2>/dev/null
[[ $? -eq 2 ]] || fail "--types png was not refused"
"$VISTREL" --icon-search "$W/no-such-folder" 2>/dev/null
[[ $? -eq 2 ]] || fail "a missing folder was not refused"
echo "PASS"
