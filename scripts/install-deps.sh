#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and run; with --test, also what
# its tests need.
set -euo pipefail

# What building and playing need.
PACKAGES=(
  build-essential cmake pkg-config git
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libplib-dev libode-dev
  libminizip-dev zlib1g-dev libsdl2-mixer-dev timgm6mb-soundfont
  libfreetype-dev fonts-dejavu-core libx11-dev
)
# What the tests need besides: GoogleTest, X servers to drive the game in (Xvfb, and Xorg's
# dummy driver for the full-screen modes Xvfb refuses); clang with libFuzzer's runtime for the
# fuzz targets; the packaging test's checkers (desktop entry, AppStream metainfo, lintian) and
# strace to watch the installed game's writes.
if [ "${1:-}" = "--test" ]; then
  PACKAGES+=(libgtest-dev libx11-dev xvfb xserver-xorg-video-dummy xdotool imagemagick x11-utils
    desktop-file-utils appstream lintian strace clang libclang-rt-14-dev)
fi

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
