# With no audio device the game says "Erreur" once, loads its samples all the
# same (no "sound error") and runs silently: it flies, fires and ends normally.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
source "$(dirname "${BASH_SOURCE[0]}")/../sound/e2e_sound.sh"
e2e_start_xvfb
e2e_prepare_data
sound_write_test_sounds
export SDL_AUDIODRIVER=no-such-driver
e2e_launch

e2e_wait_window '^fps\[' 30
id=$E2E_WINDOW
e2e_wait_output "Speed = 0 km/h"
e2e_expect_printed "Erreur" 1 "at start-up"
grep -qF "sound error" "$E2E_OUT" && fail "a sample that decodes was reported as a sound error"

e2e_focus "$id"
xdotool key g z z g
e2e_wait_output "Speed = 4 km/h"
e2e_expect_printed "Erreur" 1 "after firing"

e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"
echo "sound_no_device: ok"
