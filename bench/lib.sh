# Sourced by the benchmark scripts that run the built game: its generated
# data copied into a fresh working directory, $work, and a private Xvfb whose
# display is exported. Both go at exit, with the game whose pid is in $game.
#   bench_start BUILD_DIR NAME       sets build (absolute), work, DISPLAY
bench_start() {
  build=$(realpath "$1")
  work=$(mktemp -d "/tmp/vekotra-$2.XXXXXX")
  game=
  trap '[ -n "$game" ] && kill "$game" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
  cp -r "$build/game/." "$work/"
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/displayfd" 2>/dev/null &
  xvfb=$!
  local number
  read -r number <"$work/displayfd"
  export DISPLAY=":$number" SDL_AUDIODRIVER=dummy
}

# Ends the game started last and forgets it.
bench_stop_game() {
  kill "$game"
  wait "$game" 2>/dev/null || true
  game=
}

# Waits until a window shows the frame-rate title: the first frame is drawn.
bench_wait_first_frame() {
  until xdotool search --name '^fps\[' >/dev/null 2>&1; do sleep 0.005; done
}
