# With no Wii Remote the game says so on one line, stays playable from the
# keyboard, and its polling thread sleeps between polls and lists the devices
# only about once a second: under 0.5 per cent of one core over ten seconds,
# from the thread's own CPU time in /proc.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
e2e_start_game
id=$E2E_WINDOW
grep -qF "No wiimotes found.Failed to connect to any wiimote." "$E2E_OUT" ||
  fail "no line saying no remote was found"
e2e_expect_printed "No wiimotes found." 1 "at start-up"

# The polling thread carries the name "wiimote".
thread=
for task in /proc/"$E2E_PID"/task/*; do
  [ "$(cat "$task/comm" 2>/dev/null)" = wiimote ] && thread=$task
done
[ -n "$thread" ] || fail "no thread named wiimote"
# utime + stime: fields 14 and 15, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "$thread/stat"; }
before=$(cpu_ticks)
sleep 10
after=$(cpu_ticks)
ticks_per_second=$(getconf CLK_TCK)
# 0.5 per cent of ten seconds is a twentieth of a second.
[ $((after - before)) -lt $((ticks_per_second / 20)) ] ||
  fail "the polling thread used $((after - before)) ticks of $((10 * ticks_per_second)) in 10 s"

e2e_focus "$id"
xdotool key --delay 40 z z z
e2e_wait_output "Speed = 6 km/h" 20
xdotool key Escape
e2e_expect_exit_zero "after Esc"
echo "wiimote_absent: ok ($((after - before)) ticks in 10 s)"
