# A hidden window: unmapped as a window manager does when it iconifies one,
# the game draws and ticks nothing (no console text is written) and sleeps,
# using almost no CPU; mapped again, it goes on from where it was, without a
# burst of the ticks it missed.
source "${E2E_LIB:?the end-to-end library, set by CTest}"

status_lines() { grep -ac '^Speed = ' "$E2E_OUT" || true; }
last_altitude() {
  grep -a '^Speed = ' "$E2E_OUT" | tail -n 1 | sed 's/.*Altitude = \([-0-9.]*\).*/\1/'
}
# CPU time of the game, all threads, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$E2E_PID/stat"; }

e2e_start_game
id=$E2E_WINDOW
e2e_focus "$id"
# Nose down at 10 km/h: the altitude falls by about 0.1 a tick.
xdotool key --delay 40 Down z z z z z
e2e_wait_output "Speed = 10 km/h  Altitude = "

xdotool windowunmap --sync "$id"
sleep 0.5
lines=$(status_lines)
before=$(last_altitude)
t0=$(cpu_ticks)
sleep 3
t1=$(cpu_ticks)
[ "$(status_lines)" = "$lines" ] || fail "the hidden game went on ticking: $(( $(status_lines) - lines )) status lines"
hz=$(getconf CLK_TCK)
echo "hidden: $((t1 - t0)) CPU ticks of $((3 * hz)) in 3 s"
# A spinning loop takes all of the 3 s; a tenth of it is far more than the
# sleeping loop needs.
[ $((t1 - t0)) -lt $((3 * hz / 10)) ] || fail "the hidden game used $((t1 - t0)) CPU ticks in 3 s"

xdotool windowmap --sync "$id"
for _ in $(seq 100); do [ "$(status_lines)" -gt $((lines + 1)) ] && break; sleep 0.05; done
[ "$(status_lines)" -gt $((lines + 1)) ] || fail "no console text after the window was shown again"
after=$(grep -a '^Speed = ' "$E2E_OUT" | sed -n "$((lines + 1))p" | sed 's/.*Altitude = \([-0-9.]*\).*/\1/')
echo "altitude $before when hidden, $after at the first status line shown again"
# Four ticks between status lines (0.4) and at most 8 ticks caught up (0.8);
# the 3 s hidden would have been 18 units.
awk -v a="$before" -v b="$after" 'BEGIN { d = a - b; exit !(d > 0 && d < 1.5) }' ||
  fail "the game did not go on from where it was: altitude $before, then $after"
e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"
echo "hidden_window: ok"
