#!/usr/bin/env bash
# Installs the Debian packages the game, its data generator and its tests need.
# With --bench, also the libraries only the benchmarks compare against (FCL
# and Bullet); ./play builds no benchmarks and does not ask for them.
# Runs apt only when something is missing, so a second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev
  freeglut3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libdevil-dev libsdl2-dev libsdl2-mixer-dev xfonts-base libxwiimote-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick alsa-utils
)
if [ "${1:-}" = "--bench" ]; then
  packages+=(libfcl-dev libbullet-dev)
elif [ $# -gt 0 ]; then
  echo "usage: $0 [--bench]" >&2
  exit 2
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
