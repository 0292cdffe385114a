# Flying the built game from the keyboard: the status and the controls list
# show in the window, the list goes at the first key, F3 hides the status and
# shows it again, the missile pair shows when g is pressed, F2 switches to the
# free camera and back, F1 goes full screen and back to 640 x 480 at the
# top-left corner, z raises the speed by 2 a press, a paused game still flies,
# a mouse drag steers, and Esc ends the game with status 0.
source "${E2E_LIB:?the end-to-end library, set by CTest}"

# How many pixels differ (by more than a little) between two PNGs, over the
# whole picture or a region "WxH+X+Y".
pixels_changed() {
  local a=$1 b=$2 region=${3:-}
  if [ -n "$region" ]; then
    convert "$a" -crop "$region" +repage "$a.crop.png"
    convert "$b" -crop "$region" +repage "$b.crop.png"
    a=$a.crop.png b=$b.crop.png
  fi
  compare -metric AE -fuzz 8% "$a" "$b" null: 2>&1 || true
}

# Console text written from now on: a mark, then a wait for text after it.
OUT_MARK=0
mark_output() { OUT_MARK=$(stat -c %s "$E2E_OUT"); }
wait_new_output() {
  local text=$1 timeout=${2:-20}
  for _ in $(seq $((timeout * 10))); do
    tail -c +$((OUT_MARK + 1)) "$E2E_OUT" | grep -F -- "$text" >/dev/null && return 0
    sleep 0.1
  done
  fail "console never showed '$text' after the last step"
}
# The altitude of the last complete status line written so far.
last_altitude() {
  grep -a 'Speed = .* Altitude = ' "$E2E_OUT" | tail -n 1 | sed 's/.*Altitude = \([-0-9.]*\).*/\1/'
}

keys() { xdotool key --delay 40 "$@"; }
# Counts the pixels of REGION ("" for the whole picture) that differ between
# shots A and B, and fails unless the count passes the test OP LIMIT (-gt or
# -lt); WHAT names it.
expect_region() {
  local a=$1 b=$2 region=$3 op=$4 limit=$5 what=$6 changed
  changed=$(pixels_changed "$shots/$a.png" "$shots/$b.png" "$region")
  echo "$what: $changed pixels changed"
  [ "$changed" "$op" "$limit" ] || fail "$what: $changed pixels changed, expected $op $limit"
}
# Presses KEY, then saves the window as NAME.png until it differs from shot
# BASE in REGION as expect_region tests it (OP LIMIT), for up to 10 s: a
# software renderer on a loaded machine may take a good part of a second for
# the frame that shows the key, more under Wine.
shot_until() {
  local key=$1 name=$2 base=$3 region=$4 op=$5 limit=$6 what=$7 changed
  keys "$key"
  local deadline=$((SECONDS + 10))
  while :; do
    sleep 0.3
    e2e_screenshot "$id" "$shots/$name.png"
    changed=$(pixels_changed "$shots/$base.png" "$shots/$name.png" "$region")
    [ "$changed" "$op" "$limit" ] || [ "$SECONDS" -ge "$deadline" ] && break
  done
  expect_region "$base" "$name" "$region" "$op" "$limit" "$what"
}
# Waits up to 10 s for the game's window, measured by GEOMETRY (e2e_geometry
# for the client area, e2e_frame_geometry for the frame's origin), to stand
# at "X Y WIDTH HEIGHT".
wait_geometry() {
  local geometry=$1
  for _ in $(seq 100); do
    [ "$("$geometry" "$id")" = "$2" ] && return 0
    sleep 0.1
  done
  fail "$3: window at $("$geometry" "$id") by $geometry, expected $2"
}

e2e_start_game
id=$E2E_WINDOW
e2e_focus "$id"
shots=$E2E_TMP

# --- The window shows the status line in its top-left corner and, until the
# first key, the controls list under it; x, a key with no effect, ends the list.
status='460x22+0+0'
list='360x180+0+24'
e2e_screenshot "$id" "$shots/start.png"
shot_until x nolist start "$list" -gt 1000 "controls list at the first key"
expect_region start nolist "$status" -lt 50 "status at a key with no effect"

# --- g: the pair appears ahead of the ship, below the middle of the view.
# The ship stands still, so only the orbiting satellites change by themselves.
missiles='320x200+160+240'
e2e_screenshot "$id" "$shots/still1.png"
sleep 0.3
e2e_screenshot "$id" "$shots/still2.png"
idle=$(pixels_changed "$shots/still1.png" "$shots/still2.png" "$missiles")
# The pair flies for 31 ticks only, about half a second, and a busy machine
# may take the screenshot later than that: fire again if need be.
fired=0
for attempt in $(seq 10); do
  keys g
  e2e_screenshot "$id" "$shots/fired.png"
  fired=$(pixels_changed "$shots/still1.png" "$shots/fired.png" "$missiles")
  [ "$fired" -gt $((idle + 150)) ] && break
  sleep 0.5
done
echo "missile region: $idle pixels changed at rest, $fired after g"
[ "$fired" -gt $((idle + 150)) ] || fail "no missile pair seen after g ($fired pixels changed, $idle at rest)"

# --- F2: the free camera shows another view; F2 again brings the chase view back.
# Wait until the last pair has flown its 31 ticks: about half a second.
sleep 1.5
e2e_screenshot "$id" "$shots/chase.png"
shot_until F2 free chase "" -gt 5000 "F2: the free camera"
switched=$(pixels_changed "$shots/chase.png" "$shots/free.png")
shot_until F2 chase2 chase "" -lt $((switched / 4)) "F2 again: the chase view back"

# --- F3 hides the status line and shows it again.
shot_until F3 nostatus chase2 "$status" -gt 300 "status hidden by F3"
shot_until F3 status chase2 "$status" -lt 50 "status shown again by F3"

# --- F1: full screen, then back to 640 x 480 at (0, 0).
keys F1
wait_geometry e2e_geometry "0 0 1280 1024" "F1 (full screen)"
keys F1
wait_geometry e2e_frame_geometry "0 0 640 480" "F1 again"
e2e_focus "$id"

# --- z ten times: 20 km/h; s ten times: standing again.
mark_output
xdotool key --delay 30 z z z z z z z z z z
wait_new_output "Speed = 20 km/h"
mark_output
xdotool key --delay 30 s s s s s s s s s s
wait_new_output "Speed = 0 km/h"

# --- p: physics stops, flight goes on. Nose up and a little speed: the ship
# climbs while paused.
mark_output
keys p Up z
wait_new_output "Speed = 2 km/h  Altitude = "
wait_new_output "Pitch = -2"
sleep 0.3
first=$(last_altitude)
sleep 0.5
second=$(last_altitude)
echo "paused: altitude $first then $second"
awk -v a="$first" -v b="$second" 'BEGIN { exit !(b > a) }' || fail "the ship did not climb while paused ($first then $second)"

# --- A mouse drag to the left in the chase camera turns the ship left.
mark_output
xdotool mousemove --window "$id" 320 240
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove --window "$id" 280 240
sleep 0.2
xdotool mouseup 1
found=
for _ in $(seq 100); do
  if tail -c +$((OUT_MARK + 1)) "$E2E_OUT" | e2e_lines | grep -aqE 'Yaw = [1-9][0-9]* $'; then found=1; break; fi
  sleep 0.1
done
[ -n "$found" ] || fail "a drag to the left did not turn the ship"

# --- Esc: the game ends at once with status 0.
keys Escape
e2e_expect_exit_zero "after Esc"
echo "flying: ok"
