# The road of a collision with the generated data: the first start computes
# both .pmap files, z flies the ship straight into the planet ahead, the
# contact report prints and throws the ship back, the ship and the status line
# in the window are drawn red while it stays in contact, the alarm sounds, and
# backing out ends the touch. A second start reads the .pmap files back and
# computes nothing.
# VEKOTRA_E2E_SCREENSHOT_TOUCH=FILE keeps the red ship's screenshot
# (docs/touch.png is made this way).
source "${E2E_LIB:?the end-to-end library, set by CTest}"
source "$(dirname "${BASH_SOURCE[0]}")/../sound/e2e_sound.sh"
e2e_start_xvfb
e2e_prepare_data
sound_write_test_sounds
# The alarm as a loud constant level: nothing else in this flight is as loud.
alarm=$(find "$E2E_TMP/work" -ipath '*les_sons/burglar.wav' | head -n 1)
"$SOUND_TOOL" level "$alarm" 0.3 20000 44100 1
find "$E2E_TMP/work" -iname '*.pmap' -delete
sound_capture_mix
# The flight below takes about a thousand ticks: game time runs twice as fast
# as real time. The ship crosses the planet's inside in about 190 ticks, and
# the keys that stop it there must come within them, so no faster.
e2e_launch --game-speed=2

e2e_wait_window '^fps\[' 60
id=$E2E_WINDOW
e2e_expect_printed "Precomputing [" 2 "at the first start"
e2e_expect_printed "]...  OK" 2 "at the first start"
[ "$(find "$E2E_TMP/work" -iname '*.pmap' | wc -l)" = 2 ] || fail "the first start did not write two .pmap files"
grep -qF "touch" "$E2E_OUT" && fail "a touch reported before the ship moved"

e2e_focus "$id"
before=$(sound_frames)
# With the physics paused, nose down 2 degrees and speed 10: each tick the
# ship moves 0.5 units toward the planet and sinks 0.1, on a line through the
# planet's centre, inside it from altitude 19 down to -19. The status line's
# altitude tells where the ship is: once below 0, slow down to a stop there.
xdotool key p
xdotool key Down
for _ in $(seq 5); do xdotool key z; done
e2e_wait_output "Speed = 10 km/h" 30
for _ in $(seq 3000); do
  tail -n 5 "$E2E_OUT" | grep -qE "^Speed = 10 km/h  Altitude = -" && break
  sleep 0.02
done
tail -n 5 "$E2E_OUT" | grep -qE "^Speed = 10 km/h  Altitude = -" || fail "the ship never sank below altitude 0"
for _ in $(seq 5); do xdotool key s; done
e2e_wait_output "Speed = 0 km/h  Altitude = -" 10
grep -qF "touch" "$E2E_OUT" && fail "a touch reported while paused"
# Resumed deep inside: the planet's pmap finds the ship within it.
xdotool key p
e2e_wait_output "Start touch" 30
e2e_wait_output "On touch" 10
started=$(sound_frames)
# The report set the speed to -2: the status line says so. One reader of the
# whole file: grep -q ending a pipe early would kill sed with SIGPIPE, and
# pipefail would take that for "not found" while the game writes fast.
backing_after_touch() {
  awk '/Start touch/ { seen = 1 } seen && /^Speed = -2 km\/h/ { found = 1 } END { exit !found }' "$E2E_OUT"
}
for _ in $(seq 100); do
  backing_after_touch && break
  sleep 0.1
done
backing_after_touch || fail "no status line with speed -2 after the touch"

# Backing out at 0.1 units a tick while sinking 0.1 takes hundreds of
# ticks: the touch goes on, and the ship is drawn red.
red=
for attempt in $(seq 10); do
  e2e_screenshot "$id" "$E2E_TMP/touch.png"
  read -r r g b <<<"$(e2e_region_colour "$E2E_TMP/touch.png" 30x30+305+385)"
  if [ "$r" -gt $((g + 60)) ] && [ "$r" -gt $((b + 60)) ]; then red=yes; break; fi
  sleep 0.2
done
[ -n "$red" ] || fail "the ship region is ($r, $g, $b) while touching, expected red"
# The status line in the top-left corner is red too.
status_red=$(convert "$E2E_TMP/touch.png" -crop 460x22+0+0 +repage -fuzz 15% -fill black +opaque red \
  -fill white -opaque red -format '%[fx:int(mean*w*h)]' info:)
[ "$status_red" -gt 150 ] || fail "the status line has $status_red red pixels while touching"
[ -n "${VEKOTRA_E2E_SCREENSHOT_TOUCH:-}" ] && cp "$E2E_TMP/touch.png" "$VEKOTRA_E2E_SCREENSHOT_TOUCH"

# The alarm: nothing as loud before the touch, the alarm's level after it.
peak=$("$SOUND_TOOL" peak "$SOUND_MIX" 0 "$before")
[ "$peak" -le 4100 ] || fail "peak $peak before the touch"
sound_wait_frames $((started + 22050))
peak=$("$SOUND_TOOL" peak "$SOUND_MIX" "$started")
[ "$peak" -ge 15000 ] || fail "no alarm in the mix after the touch (peak $peak)"

# Full speed backward: the ship leaves the planet and the touch ends.
for _ in $(seq 30); do xdotool key s; done
e2e_wait_output "End touch" 60

e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"

# A second start reads both files back: no progress line, no file written.
sums=$(find "$E2E_TMP/work" -iname '*.pmap' -exec md5sum {} + | sort)
E2E_OUT=$E2E_TMP/stdout-second.txt
e2e_launch
e2e_wait_window '^fps\[' 60
id=$E2E_WINDOW
sleep 0.5
e2e_expect_printed "Precomputing" 0 "at the second start"
[ "$(find "$E2E_TMP/work" -iname '*.pmap' -exec md5sum {} + | sort)" = "$sums" ] || fail "the second start changed a .pmap file"
e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window at the second start"
echo "collision: ok"
