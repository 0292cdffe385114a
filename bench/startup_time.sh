#!/usr/bin/env bash
# Time from launch to the first frame (the window's "fps[" title), with the
# .pmap caches absent (first start: both are computed and written) and
# present (later starts), five runs each, under a private Xvfb.
#   bench/startup_time.sh [BUILD_DIR]      (default build/check)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/check}")
work=$(mktemp -d /tmp/vekotra-startup.XXXXXX)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
cp -r "$build/game/." "$work/"
Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null &
xvfb=$!
export DISPLAY=:97 SDL_AUDIODRIVER=dummy
sleep 1

first_frame_ms() {
  local start pid
  start=$(date +%s%N)
  (cd "$work" && exec "$build/vekotra" >/dev/null 2>&1) &
  pid=$!
  until xdotool search --name '^fps\[' >/dev/null 2>&1; do sleep 0.005; done
  echo $((($(date +%s%N) - start) / 1000000))
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

for mode in without with; do
  times=()
  for _ in 1 2 3 4 5; do
    [ "$mode" = without ] && find "$work" -iname '*.pmap' -delete
    times+=("$(first_frame_ms)")
  done
  echo "$mode .pmap cache: ${times[*]} ms (median $(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p))"
done
