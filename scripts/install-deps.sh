#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and be tested.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libplib-dev libode-dev
  libminizip-dev zlib1g-dev libsdl2-mixer-dev timgm6mb-soundfont
  libfreetype-dev fonts-dejavu-core libgtest-dev libx11-dev
  xvfb xserver-xorg-video-dummy xdotool imagemagick x11-utils
)

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
