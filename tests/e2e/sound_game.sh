# The game's sound, captured through SDL's disk audio driver: the music sounds
# from start-up and keeps looping past its own length, and pressing g adds the
# missile sound to the mix.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
source "$(dirname "${BASH_SOURCE[0]}")/../sound/e2e_sound.sh"
e2e_start_xvfb
e2e_prepare_data
sound_write_test_sounds
sound_capture_mix
e2e_launch

e2e_wait_window '^fps\[' 30
id=$E2E_WINDOW

# The mix is captured in real time: wait for 1.5 s of it from the music's
# first sound, three times the music's length.
# Up to 60 s by the clock: each look reads the whole capture, which grows.
sound_wait_frames 1 30
deadline=$((SECONDS + 60))
while :; do
  start=$("$SOUND_TOOL" first "$SOUND_MIX" 0)
  [ "$start" -ge 0 ] || [ "$SECONDS" -ge "$deadline" ] && break
  sleep 0.1
done
[ "$start" -ge 0 ] || fail "no music in the mix"
sound_wait_frames $((start + 66150))
for at in 0 0.4 0.8 1.2; do
  frame=$(awk -v s="$start" -v t="$at" 'BEGIN { printf "%d", s + t * 44100 }')
  rms=$("$SOUND_TOOL" rms "$SOUND_MIX" "$frame" 8820)
  [ "$rms" -ge 2000 ] || fail "music silent $at s after its start (rms $rms)"
done

# Nothing as loud as the missile before g is pressed.
e2e_focus "$id"
before=$(sound_frames)
peak=$("$SOUND_TOOL" peak "$SOUND_MIX" 0 "$before")
[ "$peak" -le 4100 ] || fail "peak $peak before the missile was fired"
xdotool key g
sound_wait_frames $((before + 44100))
peak=$("$SOUND_TOOL" peak "$SOUND_MIX" "$before")
[ "$peak" -ge 20000 ] || fail "no missile sound after g (peak $peak)"
# The music goes on under it.
now=$(sound_frames)
rms=$("$SOUND_TOOL" rms "$SOUND_MIX" $((now - 8820)) 8820)
[ "$rms" -ge 2000 ] || fail "music stopped after the missile (rms $rms)"

grep -qF "sound error" "$E2E_OUT" && fail "sound error printed with every sound present"
grep -qF "Erreur" "$E2E_OUT" && fail "the sound device did not open"

e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"
echo "sound_game: ok"
