# With no audio device the game says "Erreur" once, loads its samples all the
# same (no "sound error") and runs silently: it flies, fires and ends normally.
source "$E2E_LIB"
source "$(dirname "${BASH_SOURCE[0]}")/../sound/e2e_sound.sh"
e2e_start_xvfb
e2e_prepare_data
sound_write_test_sounds
export SDL_AUDIODRIVER=no-such-driver
e2e_launch

e2e_wait_window '^fps\[' 30
id=$E2E_WINDOW
e2e_wait_output "Speed = 0 km/h"
count=$(grep -oF "Erreur" "$E2E_OUT" | wc -l)
[ "$count" = 1 ] || fail "'Erreur' printed $count times"
grep -qF "sound error" "$E2E_OUT" && fail "a sample that decodes was reported as a sound error"

e2e_focus "$id"
xdotool key g z z g
e2e_wait_output "Speed = 4 km/h"
count=$(grep -oF "Erreur" "$E2E_OUT" | wc -l)
[ "$count" = 1 ] || fail "'Erreur' printed again when firing"

e2e_close_window "$id"
e2e_wait_exit 20
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS"
echo "sound_no_device: ok"
