#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing,
# so a second run costs a dpkg query and nothing more.
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev
  libxcb1-dev libxcb-shm0-dev libxcb-xfixes0-dev libxcb-keysyms1-dev libxcb-randr0-dev libxcb-damage0-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libpng-dev libjpeg62-turbo-dev libtiff-dev libgif-dev zlib1g-dev
  fonts-wqy-microhei) # the shipped Chinese texts need a font that has them
test_pkgs=(libgtest-dev xvfb xauth openbox xdotool x11-utils imagemagick scrot
  clang libclang-rt-14-dev python3 bc time desktop-file-utils icoutils x11-xserver-utils x11-apps xclip
  ffmpeg # ffprobe checks the recordings; the recording benchmark runs ffmpeg's x11grab
  xserver-xorg-core xserver-xorg-video-dummy # a real X server with two monitors
  libvips-tools # vipsthumbnail: the thumbnail benchmark's peer
  dbus-daemon # a private session bus for the notification test
  lintian dpkg-dev man-db) # the Debian package: its checks, its dependencies (dpkg-shlibdeps), `man`

want=("${build_pkgs[@]}")
[ "${1:-}" = "--test" ] && want+=("${test_pkgs[@]}")

missing=()
for p in "${want[@]}"; do
  [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null) == *'ok installed' ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
