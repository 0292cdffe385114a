# The game clock: over two seconds of play the game writes its status line
# (every fourth tick) no more often than 65 ticks a second allow, whether its
# frames are paced or, with --free-running (given beside an X option that
# GLUT takes), drawn as fast as the machine can. With --game-speed=4 game
# time runs faster than real time. At the normal speed the count is pinned
# from both sides, 54 to 65 a second: a clock at 50 ticks a second fails, and
# a loaded machine may lose a few ticks (only in frames over 133 ms). An
# argument the game does not know ends it with its usage and status 2.
source "${E2E_LIB:?the end-to-end library, set by CTest}"

status_lines() { grep -ac '^Speed = ' "$E2E_OUT" || true; }

# Ticks counted from the status lines over about two seconds; prints
# "TICKS SECONDS". Each count is timed at the middle of the grep that makes
# it, which on a loaded machine takes a good part of a tick.
count_frames() {
  local lines0 lines1 a0 b0 a1 b1
  a0=$(date +%s%N)
  lines0=$(status_lines)
  b0=$(date +%s%N)
  sleep 2
  a1=$(date +%s%N)
  lines1=$(status_lines)
  b1=$(date +%s%N)
  echo "$((4 * (lines1 - lines0))) $(awk -v a0="$a0" -v b0="$b0" -v a1="$a1" -v b1="$b1" \
    'BEGIN { print ((a1 + b1) - (a0 + b0)) / 2e9 }')"
}

# Starts the game with ARGS, its console in stdout-NAME.txt, and waits for its
# window and first status line.
#   launch_counted NAME ARGS...
launch_counted() {
  local name=$1
  shift
  E2E_OUT=$E2E_TMP/stdout-$name.txt
  e2e_launch "$@"
  e2e_wait_window '^fps\['
  e2e_wait_output "Speed = 0 km/h  Altitude = 50.000000 Pitch = 0  Yaw = 0 "
}

# Counts the running game's ticks over about two seconds, fails with
# "NAME: ... PROBLEM" unless the awk CONDITION on f (ticks) and s (seconds)
# holds, then closes the game and expects status 0.
#   check_ticks NAME CONDITION PROBLEM
check_ticks() {
  local id=$E2E_WINDOW frames seconds
  read -r frames seconds <<<"$(count_frames)"
  echo "$1: $frames ticks in $seconds s"
  awk -v f="$frames" -v s="$seconds" "BEGIN { exit !($2) }" || fail "$1: $frames ticks in $seconds s, $3"
  e2e_close_window "$id"
  e2e_expect_exit_zero "after closing the $1 game"
}

# Four ticks of slack for the status lines cut at either end: in about two
# seconds 60 a second counts 116 to 124 ticks, 50 a second 96 to 104.
e2e_start_game
check_ticks paced 'f > 54 * s && f <= 65 * s + 4' "not 54 to 65 a second"
launch_counted free -geometry 640x480+0+0 --free-running
check_ticks free-running 'f > 54 * s && f <= 65 * s + 4' "not 54 to 65 a second"
launch_counted fast --free-running --game-speed=4
check_ticks "game speed 4" 'f > 70 * s && f <= 4 * 65 * s + 4' "no faster than real time, or faster than 4 times"

E2E_OUT=$E2E_TMP/stdout-bad.txt
e2e_launch --free-runing
status=0
for _ in $(seq 100); do kill -0 "$E2E_PID" 2>/dev/null || break; sleep 0.1; done
wait "$E2E_PID" || status=$?
E2E_PID=
[ "$status" = 2 ] || fail "an unknown option ended the game with status $status, not 2"
grep -qF "vekotra: unknown option '--free-runing'" "$E2E_ERR" || fail "no message naming the unknown option"
grep -qF -- "--free-running" "$E2E_ERR" || fail "no usage after the unknown option"
echo "frame_pacing: ok"
