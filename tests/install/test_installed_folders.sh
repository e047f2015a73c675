#!/bin/bash
# Installed, the program keeps its settings under $XDG_DATA_HOME/vistrel, never
# beside its programs, and saves where users look: stills in the Pictures
# folder that user-dirs.dirs names (a name with a blank too), recordings in
# Videos; a program folder given with --home keeps Capture/... .
# Usage: test_installed_folders.sh BUILD_DIR

source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
e2e_time_limit 110

BUILD=${1:-}
[[ -x $BUILD/vistrel ]] || fail "usage: $0 BUILD_DIR"
W=$E2E_TMP
PREFIX=$W/prefix # writable by the user, as a prefix in the home folder is
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null || fail "cmake --install failed"
V=$PREFIX/bin/vistrel

export HOME=$W/home
mkdir -p "$HOME"
e2e_start_xvfb 320x200x24
unset VISTREL_HOME

check "with no user-dirs.dirs: ~/Pictures/Vistrel, and nothing in the installed tree"
path=$("$V" --capture fullscreen) || fail "--capture failed: $path"
[[ $path == "$HOME/Pictures/Vistrel/"* && -s $path ]] || fail "saved as $path"
settings=$("$V" --print-settings)
[[ $settings == *"\"m_strAviPath\": \"$HOME/Videos/Vistrel\""* ]] || fail "--print-settings: $settings"
[[ $settings == *"\"m_strIconPath\": \"$HOME/Pictures/Vistrel/Icons\""* ]] || fail "--print-settings: $settings"
[[ -s $XDG_DATA_HOME/vistrel/capture.cfg ]] || fail "no settings file in $XDG_DATA_HOME/vistrel"
[[ -z $(find "$PREFIX/bin" -name capture.cfg -o -name Capture) ]] || fail "settings or captures beside the programs"
[[ ! -e $HOME/Videos ]] || fail "the video folder was made before anything was recorded"

check "user-dirs.dirs names a Pictures folder with a blank; the first recording goes to Videos"
printf 'XDG_PICTURES_DIR="$HOME/Meine Bilder"\nXDG_VIDEOS_DIR="$HOME/Filme"\n' >"$XDG_CONFIG_HOME/user-dirs.dirs"
rm -rf "$XDG_DATA_HOME/vistrel" # a first start: no settings file names folders yet
path=$("$V" --capture rectangle 0 0 40 30) || fail "--capture failed: $path"
[[ $path == "$HOME/Meine Bilder/Vistrel/"* ]] || fail "saved as $path"
[[ $(identify -format '%wx%h' "$path") == 40x30 ]] || fail "not the rectangle: $(identify "$path")"
avi=$("$V" --record area 0 0 64 48 --seconds 1 2>"$W/record.err") || fail "--record failed: $(cat "$W/record.err")"
[[ $avi == "$HOME/Filme/Vistrel/"*.avi && -s $avi ]] || fail "recorded as $avi"

check "a settings file that names folders keeps them"
"$V" --set "m_strBitmapPath=$W/mine" >/dev/null || fail "--set failed"
path=$("$V" --capture fullscreen) || fail "--capture failed"
[[ $path == "$W/mine/"* ]] || fail "saved as $path"

check "--home keeps the portable folders"
path=$("$V" --home "$W/portable" --capture fullscreen) || fail "--capture with --home failed"
[[ $path == "$W/portable/Capture/Bitmap/"* ]] || fail "saved as $path"
echo "PASS"
