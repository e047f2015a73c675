#!/bin/bash
# The Debian package: made by cpack from the build, it holds everything
# `cmake --install` lays out, depends on the libraries the programs link,
# passes lintian without errors, and installed with dpkg into a throw-away root
# its programs answer --help and capture the screen; removed, nothing of it
# is left behind.
# Usage: test_package.sh BUILD_DIR

source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
e2e_time_limit 110

BUILD=${1:-}
[[ -f $BUILD/CPackConfig.cmake ]] || fail "usage: $0 BUILD_DIR"
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/deps.sh --test installs it)"
done
W=$E2E_TMP

check "cpack makes vistrel_VERSION_ARCH.deb"
"$(dirname "${BASH_SOURCE[0]}")/../../scripts/package.sh" "$BUILD" "$W/out" >"$W/cpack.log" 2>&1 ||
    fail "the package was not made: $(tail -n 5 "$W/cpack.log")"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
DEB=$W/out/vistrel_${version}_$(dpkg --print-architecture).deb
[[ -n $version && -s $DEB ]] || fail "no $DEB: $(ls "$W/out")"

check "it holds what cmake --install lays out, and only that"
cmake --install "$BUILD" --prefix "$W/prefix" >/dev/null || fail "cmake --install failed"
installed=$(cd "$W/prefix" && find . ! -type d | sed 's|^\./|./usr/|' | sort)
packaged=$(dpkg-deb -c "$DEB" | awk '$1 !~ /^d/ {print $6}' | sort)
[[ $installed == "$packaged" ]] || fail "package and install differ: $(diff <(echo "$installed") <(echo "$packaged"))"
for f in ./usr/bin/vistrel ./usr/share/man/man1/vistrel.1.gz ./usr/share/bash-completion/completions/vistrel \
    ./usr/share/applications/vistrel.desktop ./usr/share/vistrel/Language/vstlchs.ini \
    ./usr/share/icons/hicolor/48x48/apps/vistrel.png; do
    grep -qx -- "$f" <<<"$packaged" || fail "$f is not in the package"
done
grep -q '/vistrel-recorder\.so$' <<<"$packaged" || fail "the recorder module is not in the package"

check "its dependencies are the libraries the programs link"
depends=$(dpkg-deb -f "$DEB" Depends)
for lib in libc6 libqt6widgets6 libxcb1 libpng16-16; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
grep -q 'libavcodec' <<<"$depends" || fail "Depends lacks libavcodec (the recorder module): $depends"

check "lintian finds no error"
lintian --tag-display-limit 0 "$DEB" >"$W/lintian.log" 2>&1
errors=$(grep -c '^E:' "$W/lintian.log")
((errors == 0)) || fail "lintian: $(grep '^E:' "$W/lintian.log")"
note "$(grep -c '^W:' "$W/lintian.log") warnings"

check "installed with dpkg into a throw-away root, the programs work"
ROOT=$W/root
mkdir -p "$ROOT/var/lib/dpkg/updates" "$ROOT/var/lib/dpkg/info"
: >"$ROOT/var/lib/dpkg/status"
# The root holds no other package: the libraries come from this system's. Its
# scripts (cpack's ldconfig call, which changes nothing here) run outside it,
# which only root may do; others get the files unpacked alone.
dpkg_here() { dpkg --root="$ROOT" --log=/dev/null --force-depends --force-script-chrootless "$@"; }
if (($(id -u) == 0)); then
    dpkg_here -i "$DEB" >"$W/dpkg.log" 2>&1 || fail "dpkg -i failed: $(cat "$W/dpkg.log")"
else
    dpkg -x "$DEB" "$ROOT" || fail "dpkg -x failed"
fi
V=$ROOT/usr/bin/vistrel
help=$("$V" --help) || fail "installed vistrel --help failed"
[[ $help == Usage:* ]] || fail "installed --help: $help"
page=$(MANPATH=$ROOT/usr/share/man LC_ALL=C.UTF-8 MANWIDTH=80 man vistrel 2>&1) || fail "man vistrel: $page"
grep -q -- '--select SHAPE' <<<"$page" || fail "man vistrel shows no options: $page"
export HOME=$W/home
mkdir -p "$HOME"
unset VISTREL_HOME
e2e_start_xvfb 320x200x24
path=$("$V" --capture fullscreen) || fail "installed vistrel --capture fullscreen failed: $path"
[[ $path == "$HOME/Pictures/Vistrel/"* && $(identify -format '%wx%h' "$path") == 320x200 ]] ||
    fail "installed capture: $path"

(($(id -u) == 0)) || { echo "PASS (not root: removal not tried)"; exit 0; }
check "dpkg -r leaves nothing of ours behind, and the user's files stay"
dpkg_here -P vistrel >"$W/dpkg.log" 2>&1 || fail "dpkg -P failed: $(cat "$W/dpkg.log")"
left=$(cd "$ROOT" && find . -mindepth 1 ! -path './var/lib/dpkg*' ! -path './var' ! -path './var/lib')
[[ -z $left ]] || fail "left behind: $left"
[[ -s $path && -s $XDG_DATA_HOME/vistrel/capture.cfg ]] || fail "the user's capture or settings went with the package"
echo "PASS"
