#!/usr/bin/env bash
# Installs the Debian packages the game and its data generator need; with
# --tests, also those of the tests, benchmarks and fuzz targets (FCL and
# Bullet are what the collision benchmark compares against, DevIL what the
# texture benchmark does; the game never links them; the validators, lintian
# and dpkg-dev check the install and the Debian package).
# Runs apt only when something is missing, so a second run costs nothing.
set -euo pipefail

game_packages=(
  build-essential cmake pkg-config
  freeglut3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev xfonts-base libxwiimote-dev libx11-dev libxrandr-dev
  # The Debian package (`--target package`): CPack reads the binaries' type
  # with file and their dependencies with dpkg-shlibdeps.
  dpkg-dev file
)
test_packages=(
  # libclang-rt-dev: the sanitizer and libFuzzer runtime of the release's own
  # clang (14 on Debian 12, 19 on Debian 13), named without its version.
  clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick alsa-utils
  libfcl-dev libbullet-dev libdevil-dev
  desktop-file-utils appstream lintian man-db
)

packages=("${game_packages[@]}")
case "${1:-}" in
  "") ;;
  --tests) packages+=("${test_packages[@]}") ;;
  *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac

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
