#!/usr/bin/env bash
# Time from launch to the first frame (the window's "fps[" title), with the
# .pmap caches absent (first start: both are computed and written) and
# present (later starts), five runs each, under a private Xvfb.
#   bench/startup_time.sh [BUILD_DIR]      (default build/check)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
bench_start "${1:-build/check}" startup

first_frame_ms() {
  local start
  start=$(date +%s%N)
  (cd "$work" && exec "$build/vekotra" >/dev/null 2>&1) &
  game=$!
  bench_wait_first_frame
  echo $((($(date +%s%N) - start) / 1000000))
  bench_stop_game
}

for mode in without with; do
  times=()
  for _ in 1 2 3 4 5; do
    [ "$mode" = without ] && find "$work" -iname '*.pmap' -delete
    times+=("$(first_frame_ms)")
  done
  echo "$mode .pmap cache: ${times[*]} ms (median $(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p))"
done
