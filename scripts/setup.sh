#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the GUI checks need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-image-formats-plugins
  libgl-dev
  libsqlite3-dev sqlite3
  libtiff-dev libjpeg62-turbo-dev libimagequant-dev libpng-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho
  xvfb xauth imagemagick
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
