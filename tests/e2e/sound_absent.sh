# With the sound folder absent the game says "sound error" twice on one line,
# plays nothing, and otherwise runs: it flies, fires and ends normally.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
source "$(dirname "${BASH_SOURCE[0]}")/../sound/e2e_sound.sh"
e2e_start_xvfb
e2e_prepare_data
sound_remove_folder
sound_capture_mix
e2e_launch

e2e_wait_window '^fps\[' 30
id=$E2E_WINDOW
e2e_wait_output "Speed = 0 km/h"
grep -qF "sound errorsound error" "$E2E_OUT" || fail "no 'sound errorsound error' on the console"
e2e_expect_printed "sound error" 2 "at start-up"
grep -qF "Erreur" "$E2E_OUT" && fail "the sound device did not open"

# Firing and flying make no sound and do not disturb the game.
e2e_focus "$id"
xdotool key g z z g
e2e_wait_output "Speed = 4 km/h"
sound_wait_frames 44100
peak=$("$SOUND_TOOL" peak "$SOUND_MIX" 0)
[ "$peak" = 0 ] || fail "sound in the mix with no sound files (peak $peak)"
e2e_expect_printed "sound error" 2 "after firing"

e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"
echo "sound_absent: ok"
