#!/usr/bin/env bash
# Frame pacing under a private Xvfb, in one run: the game paced (the default)
# and then with --free-running, each for the same stretch of play. For each:
# the frame period (time between buffer swaps, from a preloaded swap timer)
# as median and 99th percentile over 600 frames, the frames per second, and
# the game's CPU time per second of play (all its threads, from /proc), and
# that of the Wii Remote polling thread, with no remote.
#   bench/frame_pacing.sh [BUILD_DIR]      (default build/check; needs the
#                                           swap_timer target built)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
bench_start "${1:-build/check}" pacing
timer=$build/bench/libswap_timer.so
[ -f "$timer" ] || { echo "build the swap_timer target first: $timer is missing" >&2; exit 1; }

# The swaps of frames 61 to 661 (after start-up has settled) give 600
# periods; CPU is counted over the 10 s from the first second of play.
measure() {
  local mode=$1
  shift
  local log=$work/swaps-$mode.txt
  (cd "$work" && SWAP_TIMER_LOG=$log LD_PRELOAD=$timer exec "$build/vekotra" "$@" >/dev/null 2>&1) &
  game=$!
  bench_wait_first_frame
  sleep 1
  local t0 t1 tick poller= p0 p1
  tick=$(getconf CLK_TCK)
  for task in /proc/"$game"/task/*; do
    [ "$(cat "$task/comm" 2>/dev/null)" = wiimote ] && poller=$task
  done
  t0=$(awk '{print $14 + $15}' "/proc/$game/stat")
  p0=$(cut -d' ' -f1 "$poller/schedstat")
  sleep 10
  t1=$(awk '{print $14 + $15}' "/proc/$game/stat")
  p1=$(cut -d' ' -f1 "$poller/schedstat")
  # schedstat's first field: nanoseconds the thread has run.
  echo "$mode: Wii Remote polling thread (no remote) $(awk -v a="$p0" -v b="$p1" 'BEGIN { printf "%.3f", (b - a) / 1e7 / 10 }') % of a core"
  # Play on until the 600 periods are in (a loaded machine draws fewer).
  for _ in $(seq 300); do
    [ "$(wc -l <"$log")" -gt 661 ] && break
    sleep 0.1
  done
  bench_stop_game
  sed -n '61,661p' "$log" | awk 'NR > 1 { printf "%.3f\n", ($1 - last) / 1e6 } { last = $1 }' |
    sort -n | awk -v mode="$mode" -v cpu="$((t1 - t0))" -v tick="$tick" '
      { d[NR] = $1; sum += $1 }
      END {
        n = NR
        if (n < 600) { printf "%s: only %d frame periods\n", mode, n; exit 1 }
        printf "%-13s frame period median %6.2f ms, p99 %6.2f ms, max %6.2f ms over %d frames (%.1f fps); CPU %5.1f %% of a core\n",
               mode ":", d[int((n + 1) / 2)], d[int(n * 0.99 + 0.5)], d[n], n, 1000 * n / sum, 100 * cpu / tick / 10
      }'
}

# A first start writes the .pmap caches, so both runs start warm.
(cd "$work" && exec "$build/vekotra" >/dev/null 2>&1) &
game=$!
bench_wait_first_frame
bench_stop_game
# The window of the killed game may linger a moment; measure() waits for a new one.
sleep 0.5

measure paced
measure free-running --free-running
