#!/usr/bin/env bash
# The game clock against a stand-in display, in one run, for this build and
# an earlier one side by side (today's: the build before the game clock).
# The preloaded swap timer (bench/swap_timer) makes each buffer swap wait for
# the next vertical blank of an N Hz display and reports N Hz through XRandR;
# it also logs when each frame is shown and where the first satellite is
# drawn in it. Two kinds of driver: "blocking", whose swap returns at the
# blank, and "queued", whose swap returns at once while the next frame's
# first GL call waits for a free buffer (two buffers); then the queued one
# offering GLX_OML_sync_control's refresh count, for this build only. For
# N = 60, 75, 144, and 60 with two busy processes competing for the cores
# (blocking also at 30 and 50):
#   ticks/s   game ticks per second of real time: the satellite's orbit
#             angle (0.01 radians a tick) read back from where it is drawn,
#             over the frames' times (the status lines, one every fourth
#             tick, give the same to within their counting at the ends)
#   frames/s  frames shown per second
#   step CV   the satellite's movement per shown frame (its step in orbit
#             angle: on the ellipse the same angle is a longer or shorter
#             way, which is no judder), coefficient of variation
#   speed CV  that movement over the time the frame before was shown: the
#             on-screen speed, which judders when frames stay up for 2 or 3
#             refreshes in turn
#   on time   the step CV of the frames shown one refresh after the frame
#             before, which also came one refresh after its own: the
#             interpolation's evenness, apart from the frames the machine
#             could not draw in time and the ones that make up for them
#             (which the two CVs before count)
#   shown twice  refreshes that showed the frame before again, for want of
#             a new one
# Then, on Xvfb's own (software) renderer at 640 x 480 with no stand-in:
# frames/s and CPU paced and free-running, and the CPU of a game whose window
# is unmapped (iconified).
#   bench/game_clock.sh [BUILD_DIR [EARLIER_BUILD_DIR]]
#     (default build/check and /work/main/build/check; both need the game
#      built, and BUILD_DIR the swap_timer target)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
earlier=$(realpath "${2:-/work/main/build/check}")
bench_start "${1:-build/check}" clock
timer=$build/bench/libswap_timer.so
[ -f "$timer" ] || { echo "build the swap_timer target first: $timer is missing" >&2; exit 1; }

# CPU time of the game, all threads, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
hz_tick=$(getconf CLK_TCK)

# run NAME BINARY DISPLAY_HZ [ARGS...]: plays 2 s, then measures 6 s.
run() {
  local name=$1 binary=$2 hz=$3
  shift 3
  local log=$work/swaps-$name.txt out=$work/out-$name.txt
  (cd "$work" && SWAP_TIMER_HZ=$hz SWAP_TIMER_QUEUE=${QUEUE:-0} SWAP_TIMER_OML=${OML:-0} \
    SWAP_TIMER_LOG=$log LD_PRELOAD=$timer exec "$binary" "$@" >"$out" 2>/dev/null) &
  game=$!
  bench_wait_first_frame
  sleep 2
  local l0 l1 t0 t1 c0 c1
  l0=$(grep -ac '^Speed = ' "$out" || true); t0=$(date +%s%N); c0=$(cpu_ticks)
  sleep 6
  l1=$(grep -ac '^Speed = ' "$out" || true); t1=$(date +%s%N); c1=$(cpu_ticks)
  bench_stop_game
  sleep 0.3
  # The frames shown in the last 6 s of the log.
  awk -v name="$name" -v hz="$hz" -v ticks=$((4 * (l1 - l0))) -v cpu=$((c1 - c0)) -v hzt="$hz_tick" '
    function cv(sum, sq, n,   m) { if (n < 2) return -1; m = sum / n; return m > 0 ? 100 * sqrt(sq / n - m * m) / m : -1 }
    { t[NR] = $1; x[NR] = $2; z[NR] = $3; f[NR] = NF }
    END {
      last = t[NR]; first = last - 6e9
      for (i = 2; i <= NR; i++) {
        if (t[i] < first) continue
        frames++
        if (hz > 0) { r = int((t[i] - t[i - 1]) * hz / 1e9 + 0.5); if (r > 1) twice += r - 1 }
        if (f[i] == 3) {
          # x = 500 sin(-a), z = 400 cos(-a); the angle only grows.
          a = atan2(-x[i] / 500, z[i] / 400)
          if (a0 == "") { a0 = a; ta = t[i]; turns = 0 } else if (a < prev - 3) { turns++ }
          prev = a; angle = a + turns * 2 * 3.14159265358979; tb = t[i]
        }
        if (f[i] == 3 && f[i - 1] == 3) {
          d = atan2(-x[i] / 500, z[i] / 400) - atan2(-x[i - 1] / 500, z[i - 1] / 400)
          if (d < -3) d += 2 * 3.14159265358979
          dt = (t[i] - t[i - 1]) / 1e6
          s += d; ss += d * d; n++; v = d / dt; vs += v; vss += v * v
          # The game time of a frame is when the frame before it was shown, so
          # the frame after a late one makes up the time that one lost.
          if (hz > 0 && i > 2 && (t[i] - t[i - 2]) * hz / 1e9 < 2.5) { os += d; oss += d * d; on++ }
        }
      }
      printf "%-30s ticks/s %5.1f (status lines %5.1f)  frames/s %5.1f  step CV %5.1f %%  speed CV %5.1f %%  on time %5.1f %% (%3.0f %% of frames)  shown twice %3d  CPU %5.1f %%\n",
        name, (angle - a0) / 0.01 / ((tb - ta) / 1e9), ticks / 6, frames / 6, cv(s, ss, n), cv(vs, vss, n),
        cv(os, oss, on), (n > 0 ? 100 * on / n : 0), twice + 0, 100 * cpu / hzt / 6
    }' "$log"
}

# hidden NAME BINARY: CPU over 5 s of a game whose window is unmapped.
hidden() {
  local name=$1 binary=$2
  (cd "$work" && exec "$binary" >/dev/null 2>&1) &
  game=$!
  bench_wait_first_frame
  sleep 1
  xdotool windowunmap --sync "$(xdotool search --name '^fps\[' | head -n 1)"
  sleep 1
  local c0 c1
  c0=$(cpu_ticks); sleep 5; c1=$(cpu_ticks)
  bench_stop_game
  sleep 0.3
  awk -v name="$name" -v cpu=$((c1 - c0)) -v hzt="$hz_tick" 'BEGIN { printf "%-24s hidden window: CPU %5.2f %% of a core\n", name, 100 * cpu / hzt / 5 }'
}

# A first start writes the .pmap caches, so every run starts warm.
(cd "$work" && exec "$build/vekotra" >/dev/null 2>&1) &
game=$!
bench_wait_first_frame
bench_stop_game
sleep 0.5

for n in 30 50 60 75 144; do
  run "today blocking ${n} Hz" "$earlier/vekotra" "$n"
  run "new   blocking ${n} Hz" "$build/vekotra" "$n"
done
for n in 60 75 144; do
  QUEUE=1 run "today queued ${n} Hz" "$earlier/vekotra" "$n"
  QUEUE=1 run "new   queued ${n} Hz" "$build/vekotra" "$n"
done
for n in 60 75 144; do
  QUEUE=1 OML=1 run "new   queued+OML ${n} Hz" "$build/vekotra" "$n"
done
# Two busy processes for the next four runs (about 9 s each); they end by
# themselves.
for _ in 1 2; do timeout 40 sh -c 'while :; do :; done' & done
run "today blocking 60 Hz, 2 busy" "$earlier/vekotra" 60
run "new   blocking 60 Hz, 2 busy" "$build/vekotra" 60
QUEUE=1 run "today queued 60 Hz, 2 busy" "$earlier/vekotra" 60
QUEUE=1 run "new   queued 60 Hz, 2 busy" "$build/vekotra" 60
sleep 3
[ -n "${BENCH_NO_SOFTWARE:-}" ] && exit 0
echo "Software renderer (llvmpipe), 640 x 480, no stand-in:"
run "today paced" "$earlier/vekotra" 0
run "new   paced" "$build/vekotra" 0
run "today free-running" "$earlier/vekotra" 0 --free-running
run "new   free-running" "$build/vekotra" 0 --free-running
hidden "today" "$earlier/vekotra"
hidden "new" "$build/vekotra"
