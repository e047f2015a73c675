#!/usr/bin/env bash
# Makes the Debian package of a build: OUT_DIR/vistrel_VERSION_ARCH.deb (default
# OUT_DIR: BUILD_DIR/package), with everything `cmake --install` lays out and
# the dependencies dpkg-shlibdeps finds in what the programs link.
# Usage: scripts/package.sh [BUILD_DIR [OUT_DIR]]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$build/package}
cmake --build "$build" >/dev/null
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out"
rm -rf "$out/_CPack_Packages"
ls "$out"/vistrel_*.deb
