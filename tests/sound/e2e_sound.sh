# Helpers for the end-to-end sound tests, sourced after tests/e2e/lib.sh: our
# own test sounds in the game's working directory, and measures of the mix
# SDL's disk audio driver captures.
# The sound tool is the native build's: beside the game on Linux, named by
# SOUND_TOOL where the game is another platform's build.
SOUND_TOOL=${SOUND_TOOL:-$(dirname "$VEKOTRA_BIN")/tests/sound/sound_wav_tool}
[ -x "$SOUND_TOOL" ] || fail "the sound test tool is not built: $SOUND_TOOL"
SOUND_MIX=$E2E_TMP/mix.raw

# Removes the sound folder, whatever the case of its name.
sound_remove_folder() {
  find "$E2E_TMP/work" -mindepth 1 -maxdepth 2 -type d -iname les_sons -exec rm -rf {} +
}

# Puts sounds that are easy to tell apart in the mix: music, a 440 Hz tone of
# amplitude 4000, half a second long; the missile, a constant level of 20000
# for 0.3 s; the alarm, an 880 Hz tone of amplitude 4000.
sound_write_test_sounds() {
  sound_remove_folder
  local data
  data=$(find "$E2E_TMP/work" -mindepth 1 -maxdepth 1 -type d -iname data | head -n 1)
  [ -n "$data" ] || data=$E2E_TMP/work/Data
  local folder=$data/Les_Sons
  mkdir -p "$folder"
  "$SOUND_TOOL" tone "$folder/vekotra.wav" 0.5 440 4000 44100 2
  "$SOUND_TOOL" level "$folder/missle.wav" 0.3 20000 44100 1
  "$SOUND_TOOL" tone "$folder/Burglar.wav" 0.3 880 4000 44100 1
}

# Captures the game's mix into $SOUND_MIX.
sound_capture_mix() {
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$SOUND_MIX
  unset SDL_DISKAUDIODELAY
}

sound_frames() { "$SOUND_TOOL" frames "$SOUND_MIX"; }

# Waits until the capture holds at least the given number of frames.
sound_wait_frames() {
  local frames=$1 timeout=${2:-60}
  for _ in $(seq $((timeout * 10))); do
    [ -f "$SOUND_MIX" ] && [ "$(sound_frames)" -ge "$frames" ] && return 0
    kill -0 "$E2E_PID" 2>/dev/null || fail "the game exited while its sound was captured"
    sleep 0.1
  done
  fail "the capture did not reach $frames frames within ${timeout}s"
}
