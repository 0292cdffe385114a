# Helpers for end-to-end tests: the built game in a temporary working
# directory with the generated data, on an Xvfb display of its own, driven by
# xdotool. Source this file; the test sets VEKOTRA_BIN, VEKOTRA_GAME_DIR and
# WM_CLOSE through CTest's environment.
set -euo pipefail

E2E_TMP=$(mktemp -d /tmp/vekotra-e2e.XXXXXX)
E2E_OUT=$E2E_TMP/stdout.txt
E2E_ERR=$E2E_TMP/stderr.txt
E2E_PID=
XVFB_PID=

e2e_cleanup() {
  [ -n "$E2E_PID" ] && kill -9 "$E2E_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  if [ "${E2E_KEEP:-0}" = 1 ]; then echo "kept $E2E_TMP"; else rm -rf "$E2E_TMP"; fi
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- game stdout (tail) ---" >&2; tail -c 3000 "$E2E_OUT" >&2 2>/dev/null || true
  echo "--- game stderr (tail) ---" >&2; tail -c 3000 "$E2E_ERR" >&2 2>/dev/null || true
  exit 1
}

# Starts a private Xvfb and exports its DISPLAY. -noreset keeps it from
# resetting whenever its last client (an xdotool call) leaves, which would
# refuse a game connecting at that moment.
e2e_start_xvfb() {
  local fifo=$E2E_TMP/displayfd
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" 2>"$E2E_TMP/xvfb.log" &
  XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=":$number"
}

# Copies the generated data into a fresh working directory, laid out as the
# platform's file system holds it.
e2e_prepare_data() {
  mkdir -p "$E2E_TMP/work"
  if [ -d "$VEKOTRA_GAME_DIR" ]; then cp -r "$VEKOTRA_GAME_DIR/." "$E2E_TMP/work/"; fi
  if [ "${VEKOTRA_PLATFORM:-}" = windows ]; then e2e_merge_case_folders "$E2E_TMP/work"; fi
}

# Merges the folders under DIR whose names differ only in case into the first
# of them (in C order), as Windows holds them: there "data" and "Data" are one
# folder, where Linux keeps two. Wine looks a name up ignoring case but never
# in the second of two such folders, so the game would not see half its data.
e2e_merge_case_folders() {
  local dir=$1 names child lower previous= keep=
  names=$(cd "$dir" && find . -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | LC_ALL=C sort)
  while IFS= read -r child; do
    [ -n "$child" ] || continue
    lower=${child,,}
    if [ "$lower" = "$previous" ]; then
      cp -r "$dir/$child/." "$dir/$keep/"
      rm -rf "${dir:?}/$child"
    else
      previous=$lower keep=$child
    fi
  done < <(LC_ALL=C sort -f -s <<<"$names")
  for child in "$dir"/*/; do
    [ -d "$child" ] && e2e_merge_case_folders "${child%/}"
  done
  return 0
}

# Launches the game in the working directory, console captured.
e2e_launch() {
  (cd "$E2E_TMP/work" && exec "$VEKOTRA_BIN" "$@" >"$E2E_OUT" 2>"$E2E_ERR") &
  E2E_PID=$!
}

# Launches a command (the rest of the arguments) in DIR as an ordinary player,
# uid and gid 65534 with no groups: the tests run as root, which writes into
# any folder whatever its permission bits say. Console captured. The player's
# HOME is E2E_PLAYER_HOME and its XDG_CACHE_HOME E2E_PLAYER_HOME/cache, made
# on the first launch and kept for the next; $E2E_TMP is opened to all so the
# player reaches them.
E2E_PLAYER_HOME=$E2E_TMP/player
e2e_launch_as_player() {
  local dir=$1
  shift
  chmod 755 "$E2E_TMP"
  mkdir -p "$E2E_PLAYER_HOME/cache"
  chown -R 65534:65534 "$E2E_PLAYER_HOME"
  (cd "$dir" && exec setpriv --reuid=65534 --regid=65534 --clear-groups \
    env HOME="$E2E_PLAYER_HOME" XDG_CACHE_HOME="$E2E_PLAYER_HOME/cache" "$@" >"$E2E_OUT" 2>"$E2E_ERR") &
  E2E_PID=$!
}

E2E_WINDOW=

# The first window whose title matches an extended regular expression.
find_window_matching() {
  LC_ALL=C xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true
}

# The top-level window titled exactly NAME. Found through xwininfo, which
# reads every title, where xdotool misses the UTF-8 titles SDL gives its
# message boxes.
find_window_named() {
  xwininfo -root -children 2>/dev/null | grep -F "\"$1\": (" | awk '{print $1; exit}' || true
}

# Polls FINDER with TITLE until it names a window; sets E2E_WINDOW.
poll_window() {
  local finder=$1 title=$2 timeout=$3 id=
  for _ in $(seq $((timeout * 10))); do
    id=$("$finder" "$title")
    [ -n "$id" ] && { E2E_WINDOW=$id; return 0; }
    kill -0 "$E2E_PID" 2>/dev/null || fail "the game exited before a window '$title' appeared"
    sleep 0.1
  done
  fail "no window '$title' within ${timeout}s"
}

# Waits for a window whose title matches the pattern; sets E2E_WINDOW.
e2e_wait_window() { poll_window find_window_matching "$1" "${2:-30}"; }

# Waits for a top-level window titled exactly NAME; sets E2E_WINDOW.
e2e_wait_named_window() { poll_window find_window_named "$1" "${2:-30}"; }

# Waits until the console output contains a fixed string.
e2e_wait_output() {
  local text=$1 timeout=${2:-30}
  for _ in $(seq $((timeout * 10))); do
    grep -qF -- "$text" "$E2E_OUT" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "console never showed '$text'"
}

# Waits up to 20 s for the game to end and fails unless it ended with status
# 0; the argument says what ended it, for the message.
e2e_expect_exit_zero() {
  local status
  for _ in $(seq 200); do
    if ! kill -0 "$E2E_PID" 2>/dev/null; then
      status=0
      wait "$E2E_PID" || status=$?
      E2E_PID=
      [ "$status" = 0 ] || fail "exit status $status $1"
      return 0
    fi
    sleep 0.1
  done
  fail "the game did not end within 20s $1"
}

# Fails unless the game's console holds the text exactly the given number of
# times; the third argument says when, for the message.
e2e_expect_printed() {
  local count
  count=$( (grep -oF -- "$1" "$E2E_OUT" || true) | wc -l)
  [ "$count" = "$2" ] || fail "'$1' printed $count times, not $2, $3"
}

# Starts the game with the generated data on a display of its own and waits
# for its first status line; sets E2E_WINDOW.
e2e_start_game() {
  e2e_start_xvfb
  e2e_prepare_data
  e2e_launch
  e2e_wait_window '^fps\['
  e2e_wait_output "Speed = 0 km/h  Altitude = 50.000000 Pitch = 0  Yaw = 0 "
}

# Focuses the window so real key and mouse events reach it.
e2e_focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
}

e2e_close_window() {
  "$WM_CLOSE" "$1"
}

# "X Y WIDTH HEIGHT" of a window, in screen coordinates.
e2e_geometry() {
  local info
  info=$(xwininfo -id "$1")
  local x y w h
  x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  w=$(awk '/Width:/ {print $2}' <<<"$info")
  h=$(awk '/Height:/ {print $2}' <<<"$info")
  echo "$x $y $w $h"
}

# The origin of a window's frame and the size of its client area, "X Y WIDTH
# HEIGHT": where the game asked glutInitWindowPosition and glutReshapeWindow
# to put it. The X window the tests find is the client area. Xvfb runs no
# window manager, so on Linux nothing frames it and the two origins are one.
# Windows places the frame at the position asked, and Wine without a window
# manager shows the client area where Windows would: inside Wine's default
# frame of a WS_OVERLAPPEDWINDOW, a 4-pixel sizing border with a 19-pixel
# caption under its top edge.
e2e_frame_geometry() {
  local x y w h
  read -r x y w h <<<"$(e2e_geometry "$1")"
  if [ "${VEKOTRA_PLATFORM:-}" = windows ]; then
    x=$((x - 4)) y=$((y - 4 - 19))
  fi
  echo "$x $y $w $h"
}

# The game's console text from the files given (or standard input) with
# Linux's line ends: Windows' C runtime writes standard output in text mode,
# "\n" as "\r\n". Only there is the carriage return taken off, so a stray one
# on Linux still fails a check.
e2e_lines() {
  if [ "${VEKOTRA_PLATFORM:-}" = windows ]; then sed 's/\r$//' "$@"; else cat "$@"; fi
}

# Saves a PNG of the window.
e2e_screenshot() {
  import -window "$1" "$2"
}

# The average colour "R G B" (0-255) of a region of a PNG.
e2e_region_colour() {
  local file=$1 geometry=$2
  convert "$file" -crop "$geometry" +repage -resize 1x1\! -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
