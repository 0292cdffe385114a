#!/usr/bin/env bash
# Installs the Debian packages the game and its data generator need; with
# --tests, also those of the tests, benchmarks and fuzz targets (FCL and
# Bullet are what the collision benchmark compares against, DevIL what the
# texture benchmark does; the game never links them; the validators, lintian
# and dpkg-dev check the install and the Debian package).
# With --windows, the tests' packages and those of the Windows check.
# Runs apt only when something is missing, so a second run costs nothing.
#
# Other scripts source this file for install_missing alone (for instance
# scripts/windows-libs.sh, with the cross compilers): sourced, it installs
# nothing.

# install_missing PACKAGE...: installs, with apt, those of the packages that
# are not installed yet; with all of them there it returns at once.
install_missing() {
  # One dpkg-query for all of them: a second run costs next to nothing.
  local -A installed=()
  local name want flag status p missing=()
  while read -r name want flag status; do
    if [ "$want $flag $status" = "install ok installed" ]; then
      installed[$name]=1
    fi
  done < <(dpkg-query -W -f='${Package} ${Status}\n' "$@" 2>/dev/null || true)
  for p in "$@"; do
    if [ -z "${installed[$p]:-}" ]; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  local sudo=
  if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

if [ "${BASH_SOURCE[0]}" != "$0" ]; then
  return 0
fi

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

# The Windows check: Wine runs the cross-built game and its tests, makensis
# builds the installer, zip and unzip check the portable package (the
# MinGW toolchain comes with scripts/windows-libs.sh).
windows_packages=(wine wine64 nsis zip unzip)

packages=("${game_packages[@]}")
case "${1:-}" in
  "") ;;
  --tests) packages+=("${test_packages[@]}") ;;
  --windows) packages+=("${test_packages[@]}" "${windows_packages[@]}") ;;
  *) echo "usage: $0 [--tests | --windows]" >&2; exit 2 ;;
esac

install_missing "${packages[@]}"
