#!/usr/bin/env bash
# The Windows build under Wine beside the Linux build, in one run, on a
# private Xvfb with Mesa's software renderer, the window at its 640 x 480:
# each game idle (no keys) for 20 s after 3 s of play, one after the other.
#   frames/s  the window title's frame rate, read once a second, averaged
#   ticks/s   game ticks per second of real time: the status line is written
#             every fourth tick, so 4 x the status lines written in the 20 s
#   CPU       the game process's CPU time (all threads, /proc/PID/stat) over
#             the 20 s, in % of one core; for Wine also its wineserver's,
#             which does the work a kernel would, and for both Xvfb's
#   bench/windows_frame_rate.sh [LINUX_BUILD_DIR [WINDOWS_BUILD_DIR]]
#     (default build/check and build/windows). The Windows DLLs are found in
#     VEKOTRA_DLL_DIRS (default build/windows-libs/bin and MinGW's own); the
#     Wine prefix is WINEPREFIX, made if it does not exist (about 20 s).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source bench/lib.sh
windows=$(realpath "${2:-build/windows}")
bench_start "${1:-build/check}" winrate
[ -f "$windows/vekotra.exe" ] || { echo "no Windows build at $windows" >&2; exit 1; }
export VEKOTRA_EXE=$windows/vekotra.exe
export VEKOTRA_DLL_DIRS=${VEKOTRA_DLL_DIRS:-$root/build/windows-libs/bin:/usr/x86_64-w64-mingw32/lib}
export WINEPREFIX=${WINEPREFIX:-$work/wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1
  wineserver --wait
fi
mkdir -p "$work/windows"
cp -r "$windows/game/." "$work/windows/"

hz_tick=$(getconf CLK_TCK)
seconds=20
# CPU time of a process, all threads, in clock ticks; 0 when there is none.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
status_lines() { grep -ac '^Speed = ' "$1" || true; }
# The wineserver of our prefix (other prefixes have their own), if running.
wineserver_pid() {
  local pid
  for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
  done
  true
}

# run NAME DIR COMMAND...: starts the game in DIR, waits for its first frame,
# lets it play 3 s, then measures 20 s.
run() {
  local name=$1 dir=$2
  shift 2
  local out=$work/out-${name%% *}.txt
  (cd "$dir" && exec "$@" >"$out" 2>/dev/null) &
  game=$!
  bench_wait_first_frame
  local id
  id=$(xdotool search --name '^fps\[' | head -n 1)
  sleep 3
  local server=
  [ "$name" = Wine ] && server=$(wineserver_pid)
  local l0 l1 c0 c1 s0 s1 x0 x1 t0 t1 fps=0 samples=0 title
  l0=$(status_lines "$out"); c0=$(cpu_ticks "$game"); x0=$(cpu_ticks "$xvfb")
  s0=$([ -n "$server" ] && cpu_ticks "$server" || echo 0); t0=$(date +%s%N)
  for _ in $(seq "$seconds"); do
    sleep 1
    title=$(xdotool getwindowname "$id")
    fps=$(awk -v a="$fps" -v t="$title" 'BEGIN { gsub(/[^0-9.]/, "", t); print a + t }')
    samples=$((samples + 1))
  done
  l1=$(status_lines "$out"); c1=$(cpu_ticks "$game"); x1=$(cpu_ticks "$xvfb")
  s1=$([ -n "$server" ] && cpu_ticks "$server" || echo 0); t1=$(date +%s%N)
  bench_stop_game
  [ -n "$server" ] && wineserver --wait 2>/dev/null
  sleep 0.5
  awk -v name="$name" -v fps="$fps" -v n="$samples" -v ticks=$((4 * (l1 - l0))) \
    -v cpu=$((c1 - c0)) -v srv=$((s1 - s0)) -v xv=$((x1 - x0)) -v hzt="$hz_tick" \
    -v wine="$server" -v dt=$((t1 - t0)) 'BEGIN {
      s = dt / 1e9
      printf "%-8s frames/s %5.1f  ticks/s %5.1f  CPU game %5.1f %%", name, fps / n, ticks / s, 100 * cpu / hzt / s
      if (wine != "") printf "  wineserver %4.1f %%", 100 * srv / hzt / s
      printf "  Xvfb %4.1f %%\n", 100 * xv / hzt / s
    }'
}

echo "Idle at 640 x 480, software renderer (llvmpipe), ${seconds} s each:"
run "Linux" "$work" "$build/vekotra"
run "Wine" "$work/windows" "$root/tests/e2e/windows/wine_game.sh"
