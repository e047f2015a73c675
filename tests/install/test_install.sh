#!/usr/bin/env bash
# Installs the build into a private prefix and checks what a desktop needs:
# both programs, the desktop entry, and the icon at every theme size (each PNG
# really of its size) and as SVG.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
need() {
  if [ ! -s "$prefix/$1" ]; then echo "FAIL: missing $1"; fail=1; fi
}
need bin/vistrel
need bin/vistrel-gui
need bin/vistrel-cli
need bin/vistrel-record
[ -x "$prefix/bin/vistrel" ] && [ -x "$prefix/bin/vistrel-gui" ] || { echo "FAIL: programs not executable"; fail=1; }
# The recorder module, where the windowed program looks for it from bin/.
module=$(cd "$prefix" && find . -path '*/vistrel/vistrel-recorder.so' | sed -n 1p)
[ -n "$module" ] || { echo "FAIL: no vistrel-recorder.so installed"; fail=1; }
# sed reads to the end (head would stop early and fail the pipe under pipefail).
libdir=$(grep -ao 'VISTREL_RECORDER_INSTALL_DIR=[^ ]*' "$build/build.ninja" 2>/dev/null | sed -n '1s/.*\.\.\/\([^\\"]*\).*/\1/p' || true)
if [ -n "$module" ] && [ -n "$libdir" ] && [ "./$libdir/vistrel-recorder.so" != "$module" ]; then
  echo "FAIL: installed at $module, looked for in $libdir"; fail=1
fi
# It holds no second copy of the program's own code: every strong definition
# it exports must be absent from the program (a second settings record, say).
if [ -n "$module" ]; then
  twice=$(comm -12 <(nm -D --defined-only "$prefix/$module" | awk '$2 ~ /^[TDBR]$/ {print $3}' | sort) \
                   <(nm -D --defined-only "$prefix/bin/vistrel-gui" | awk '{print $3}' | sort) |
          grep -v -x -e __bss_start -e _edata -e _end || true)
  [ -z "$twice" ] || { echo "FAIL: defined in both the program and the recorder module:"; echo "$twice" | c++filt; fail=1; }
  imported=$(nm -D --undefined-only "$prefix/$module" | c++filt) || imported=
  grep -q 'vistrel::theEnv' <<<"$imported" ||
    { echo "FAIL: the recorder module does not take the settings record from the program"; fail=1; }
fi
need share/applications/vistrel.desktop
# The help pages, with the pictures they show.
need share/vistrel/help/welcom.htm
need share/vistrel/help/index.htm
need share/vistrel/help/help.css
for picture in $(sed -n 's/.*<img src="\([^"]*\)".*/\1/p' "$(dirname "$0")/../../data/help/"*.htm | sort -u); do
  need "share/vistrel/help/$picture"
done
need share/icons/hicolor/scalable/apps/vistrel.svg
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/vistrel.svg" || { echo "FAIL: scalable icon is no SVG"; fail=1; }

for n in 16 22 24 32 48 64 128 256; do
  png=share/icons/hicolor/${n}x${n}/apps/vistrel.png
  need "$png"
  [ -s "$prefix/$png" ] || continue
  # The PNG header: signature, then the IHDR chunk with width and height.
  size=$(python3 - "$prefix/$png" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read(24)
ok = data[:8] == b'\x89PNG\r\n\x1a\n' and data[12:16] == b'IHDR'
print('%dx%d' % struct.unpack('>II', data[16:24]) if ok else 'not-a-png')
PY
)
  [ "$size" = "${n}x${n}" ] || { echo "FAIL: $png is $size"; fail=1; }
done

# The launcher finds the windowed program beside it, wherever it is installed.
out=$("$prefix/bin/vistrel" --help 2>&1) || { echo "FAIL: installed vistrel --help: $out"; fail=1; }
# And the recorder's half.
out=$("$prefix/bin/vistrel" --list-codecs 2>&1) || { echo "FAIL: installed vistrel --list-codecs: $out"; fail=1; }

[ $fail -eq 0 ] && echo "ok: $(cd "$prefix" && find . -type f | wc -l) files installed"
exit $fail
