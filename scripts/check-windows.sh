#!/usr/bin/env bash
# The Windows check (./check windows): installs what is missing, builds the
# Windows libraries (or reuses them), cross-builds the game with warnings as
# errors, makes the zip and the installer, and runs the Windows tests under
# Wine on Xvfb: the platform layers' unit tests, the end-to-end tests that
# make sense on Windows, and the packages' tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --windows
bash scripts/windows-libs.sh
jobs=$(nproc)
root=$PWD

# The data, the .pmap files and the icons come from a native build of the
# same tree: the Linux check's own when it is there, so nothing is built twice.
cmake -S . -B build/check -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEKOTRA_WERROR=ON > /dev/null
cmake --build build/check -j"$jobs" --target vekotra_data vekotra_icons wm_close sound_wav_tool

cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVEKOTRA_WERROR=ON -DVEKOTRA_BENCH=OFF \
  -DVEKOTRA_HOST_BUILD_DIR="$root/build/check" > /dev/null
cmake --build build/windows -j"$jobs"
(cd build/windows && cpack -G "ZIP;NSIS" > /dev/null)

# One Wine prefix for the whole run: its first start takes about 20 s.
export WINEPREFIX=$root/build/windows/wine
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  xvfb-run -a wineboot --init > /dev/null 2>&1
  wineserver --wait
fi

# The platform layers' Windows tests, a project of their own.
cmake -S tests/windows -B build/windows-tests -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DVEKOTRA_WERROR=ON > /dev/null
cmake --build build/windows-tests -j"$jobs"

run_tests() {
  SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir "$1" --output-on-failure -j"$jobs"
}
run_tests build/windows-tests
run_tests build/windows
