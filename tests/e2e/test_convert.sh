#!/bin/bash
# The picture commands of the command line, which need no display: --convert
# reads every kind of BMP and PNG a user may find (each header version, depth,
# compression and colour type; made by bmp_variants.py, png_variants.py and
# ImageMagick) to the same pixels as ImageMagick and as the files were made
# from; it writes each Save As type, never replaces OUT without --replace and
# leaves no OUT for a damaged or unreadable picture. --info prints the
# preview's " W x H x BPP".
# Usage: test_convert.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 230

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
e2e_need_tools convert compare identify python3
unset DISPLAY # nothing here may need a screen
e2e_make_home
W=$E2E_TMP/work
mkdir -p "$W/bmp" "$W/png" "$W/im" "$W/out"

# converts IN OUT: runs --convert, failing the test unless it succeeds.
converts() {
    local err
    err=$("$VISTREL" --convert "$1" "$2" 2>&1) || fail "--convert $1 $2 failed: $err"
    [[ -s $2 ]] || fail "--convert $1 $2 wrote nothing"
}

# same_pixels A B [FUZZ%]: fails the test with the count unless A and B match.
same_pixels() {
    local n
    n=$(differing_pixels "$1" "$2" "${3:-}")
    [[ $n == 0 ]] || fail "$(basename "$1") and $(basename "$2") differ in $n pixels${3:+ (beyond $3)}"
}

# refuses STATUS CMD...: the command ends with STATUS.
refuses() {
    local want=$1 got=0
    shift
    "$VISTREL" "$@" >"$W/stdout" 2>"$W/stderr" || got=$?
    [[ $got == "$want" ]] || fail "'$*' ended with $got, not $want: $(cat "$W/stderr")"
}

check "--help lists --convert, --replace and --info"
help=$("$VISTREL" --help)
for option in "--convert IN OUT" "--replace" "--info FILE"; do
    grep -qF -- "$option" <<<"$help" || fail "--help does not mention $option"
done

check "BMP of every header version, depth and compression: the pixels they were made from, as ImageMagick reads them"
mapfile -t bmps < <(python3 "$E2E_DIR/bmp_variants.py" "$W/bmp") || fail "bmp_variants.py failed"
((${#bmps[@]} >= 25)) || fail "only ${#bmps[@]} BMP variants"
for line in "${bmps[@]}"; do
    read -r name im <<<"$line"
    converts "$W/bmp/$name.bmp" "$W/out/$name.png"
    same_pixels "$W/out/$name.png" "$W/bmp/$name.pam"
    if [[ $im == IM ]]; then
        convert "$W/bmp/$name.bmp" -depth 8 "$W/im/$name.pam" || fail "ImageMagick cannot read $name.bmp"
        same_pixels "$W/out/$name.png" "$W/im/$name.pam"
    fi
done
note "${#bmps[@]} variants"

check "BMPs that ImageMagick writes: core, info, V5, palettes, 1 bit, RLE8, 16-bit subtypes, alpha"
convert -size 61x43 gradient:orange-navy -fill green -draw "rectangle 5,5 25,30" -fill white -draw "circle 45,20 50,30" -depth 8 \
    "$W/src.png"
convert "$W/src.png" -alpha set -channel A -fx "0.2+0.8*i/w" +channel -depth 8 "$W/src_alpha.png"
convert "$W/src.png" -colors 16 "$W/src16.png"
made=(
    "BMP2:$W/im/os2.bmp" "$W/src.png"
    "BMP3:$W/im/info.bmp" "$W/src.png"
    "BMP:$W/im/v5.bmp" "$W/src.png"
    "BMP:$W/im/v5_alpha.bmp" "$W/src_alpha.png"
)
for ((i = 0; i < ${#made[@]}; i += 2)); do
    convert "${made[i + 1]}" "${made[i]}" || fail "ImageMagick cannot write ${made[i]}"
done
convert "$W/src16.png" -type palette "BMP3:$W/im/palette4.bmp"
convert "$W/src16.png" -type palette "BMP2:$W/im/palette4_os2.bmp"
convert "$W/src.png" -colors 200 -type palette "BMP3:$W/im/palette8.bmp"
convert "$W/src.png" -type bilevel "BMP3:$W/im/mono.bmp"
convert "$W/src16.png" -type palette -compress RLE "BMP3:$W/im/rle8.bmp"
convert "$W/src.png" -define bmp:subtype=RGB565 "BMP:$W/im/rgb565.bmp"
convert "$W/src.png" -define bmp:subtype=RGB555 "BMP:$W/im/rgb555.bmp"
for file in "$W"/im/*.bmp; do
    name=$(basename "$file" .bmp)
    converts "$file" "$W/out/im_$name.png"
    convert "$file" -depth 8 "$W/im/$name.pam"
    same_pixels "$W/out/im_$name.png" "$W/im/$name.pam"
done
identify -verbose "$W/im/rle8.bmp" | grep -q "Compression: RLE" || fail "ImageMagick did not write RLE"

check "PNG of every colour type and depth, with tRNS, plain and interlaced: the pixels they were made from, as ImageMagick reads them"
mapfile -t pngs < <(python3 "$E2E_DIR/png_variants.py" "$W/png") || fail "png_variants.py failed"
((${#pngs[@]} >= 50)) || fail "only ${#pngs[@]} PNG variants"
for line in "${pngs[@]}"; do
    read -r name bits <<<"$line"
    # Half go to BMP (with alpha where the picture has it), half to PNG.
    out=$W/out/$name.bmp
    [[ $name == *_adam7 ]] && out=$W/out/$name.png
    converts "$W/png/$name.png" "$out"
    same_pixels "$out" "$W/png/$name.pam"
    depth=8 fuzz=
    [[ $name == *16* ]] && depth=16 fuzz=0.5% # we round 16-bit samples to 8 bits
    convert "$W/png/$name.png" -depth $depth "$W/im/$name.pam"
    same_pixels "$out" "$W/im/$name.pam" "$fuzz"
done
for file in "$W/png/rgba8_adam7.png" "$W/png/palette4_trns.png"; do
    identify -verbose "$file" | grep -q "Interlace: PNG" || [[ $file != *adam7* ]] || fail "$file is not interlaced"
done
note "${#pngs[@]} variants"

check "--info prints the preview's text: width x height x the file's bits per pixel"
info_is() {
    local got
    got=$("$VISTREL" --info "$1") || fail "--info $1 failed"
    [[ $got == "$2" ]] || fail "--info $1 printed '$got', not '$2'"
}
info_is "$W/bmp/info_24.bmp" " 37 x 23 x 24"
info_is "$W/bmp/core_4.bmp" " 37 x 23 x 4"
info_is "$W/bmp/info_rle8.bmp" " 37 x 23 x 8"
info_is "$W/bmp/v4_16_argb4444.bmp" " 37 x 23 x 16"
for line in "${pngs[@]}"; do
    read -r name bits <<<"$line"
    info_is "$W/png/$name.png" " 19 x 13 x $bits"
done

check "every Save As type is written as a standard file of its type"
for type in bmp jpg tif png gif; do
    converts "$W/src.png" "$W/out/all.$type"
    got=$(identify -format "%m %wx%h" "$W/out/all.$type")
    want=${type^^}
    [[ $want == JPG ]] && want=JPEG
    [[ $want == TIF ]] && want=TIFF
    [[ $want == BMP ]] && want=BMP3 # what identify calls a 24-bit BMP with an info header
    [[ $got == "$want 61x43" ]] || fail "all.$type is '$got'"
done
same_pixels "$W/out/all.png" "$W/src.png"
same_pixels "$W/out/all.bmp" "$W/src.png"
same_pixels "$W/out/all.tif" "$W/src.png"
converts "$W/out/all.gif" "$W/out/from_gif.png" # a GIF capture is read too

check "an OUT that exists is left alone unless --replace is given"
cp "$W/src16.png" "$W/out/taken.png"
before=$(cksum <"$W/out/taken.png")
refuses 1 --convert "$W/src.png" "$W/out/taken.png"
[[ $(cksum <"$W/out/taken.png") == "$before" ]] || fail "the existing OUT was changed"
grep -q -- "--replace" "$W/stderr" || fail "the refusal does not name --replace: $(cat "$W/stderr")"
ln -s "$W/out/nowhere.png" "$W/out/dangling.png"
refuses 1 --convert "$W/src.png" "$W/out/dangling.png"
[[ ! -e $W/out/nowhere.png ]] || fail "a dangling link's target was written"
refuses 0 --convert "$W/src.png" "$W/out/taken.png" --replace
same_pixels "$W/out/taken.png" "$W/src.png"

check "damaged and unreadable pictures end with status 1 and leave no OUT"
bmp=$W/bmp/info_24.bmp
head -c 100 "$bmp" >"$W/cut.bmp"
head -c 300 "$W/png/rgba8.png" >"$W/cut.png"
head -c 20 "$W/bmp/info_rle8.bmp" >"$W/header_only.bmp"
python3 - "$bmp" "$W/huge.bmp" <<'PY'
import struct, sys
d = bytearray(open(sys.argv[1], "rb").read())
d[18:26] = struct.pack("<ii", 30000, 30000)  # a small file claiming 900 megapixels
open(sys.argv[2], "wb").write(d)
PY
python3 - "$W/bmp/info_rle8.bmp" "$W/rle_runaway.bmp" <<'PY'
import sys
d = bytearray(open(sys.argv[1], "rb").read())
open(sys.argv[2], "wb").write(d[:1078] + bytes([0, 2, 255, 0]) * 20)  # deltas and no end
PY
printf 'not a picture at all' >"$W/text.png"
: >"$W/empty.jpg"
mkdir "$W/folder.png"
for bad in cut.bmp cut.png header_only.bmp huge.bmp rle_runaway.bmp text.png empty.jpg folder.png missing.bmp; do
    rm -f "$W/out/bad.png"
    refuses 1 --convert "$W/$bad" "$W/out/bad.png"
    [[ ! -e $W/out/bad.png ]] || fail "a failed conversion of $bad left $W/out/bad.png"
    [[ -s $W/stderr ]] || fail "no word on stderr for $bad"
    refuses 1 --info "$W/$bad"
    [[ ! -s $W/stdout ]] || fail "--info $bad printed $(cat "$W/stdout")"
done
before=$(cksum <"$W/out/taken.png")
refuses 1 --convert "$W/cut.png" "$W/out/taken.png" --replace
[[ $(cksum <"$W/out/taken.png") == "$before" ]] || fail "a failed --replace changed OUT"

check "an OUT that cannot be written ends with status 1 and leaves nothing behind"
refuses 1 --convert "$W/src.png" "$W/out/no/such/folder/x.png"
mkdir "$W/locked"
chmod 0555 "$W/locked"
if touch "$W/locked/probe" 2>/dev/null; then
    rm "$W/locked/probe" # root writes anyway
else
    refuses 1 --convert "$W/src.png" "$W/locked/x.png"
fi
chmod 0755 "$W/locked"
[[ -z $(ls -A "$W/locked") ]] || fail "a refused write left $(ls -A "$W/locked")"

check "names of types that are not read or written end with status 2"
refuses 2 --convert "$W/src.png" "$W/out/x.xyz"
refuses 2 --convert "$W/src.png" "$W/out/x.jpeg"
refuses 2 --convert "$W/notes.txt" "$W/out/x.png"
refuses 2 --info "$W/notes.txt"
refuses 2 --convert "$W/src.png"
refuses 2 --info
refuses 2 --replace
refuses 2 --convert "$W/src.png" "$W/out/y.png" --info "$W/src.png"
[[ ! -e $W/out/x.xyz && ! -e $W/out/y.png ]] || fail "a refused command wrote a file"

check "no temporary file is left in the output folder"
leftovers=$(find "$W/out" -name '.*' -o -name '*.tmp*' | head -3)
[[ -z $leftovers ]] || fail "left behind: $leftovers"
echo "PASS"
