# The game opens its window at the top-left corner, 640 x 480, titled with the
# game's name until the first frame and with the frame rate after; the console
# shows the controls and the status line; closing the window ends it with 0.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
e2e_start_xvfb
e2e_prepare_data
e2e_launch

e2e_wait_window 'Vekotra by Ralune & Doskin|^fps\['
id=$E2E_WINDOW
read -r x y w h <<<"$(e2e_frame_geometry "$id")"
[ "$x $y $w $h" = "0 0 640 480" ] || fail "window frame at $x,$y size ${w}x$h, expected 0,0 640x480"

# Frames are drawn: the title turns into the frame rate.
e2e_wait_window '^fps\[[0-9. inf]+\]$' 20
title=$(xdotool getwindowname "$id")
[[ "$title" =~ ^fps\[[0-9]+\.[0-9]\]$|^fps\[inf\]$ ]] || fail "title '$title' is not a frame rate"

e2e_wait_output "Speed = 0 km/h  Altitude = 50.000000 Pitch = 0  Yaw = 0 "
grep -qF "Liste des controles" "$E2E_OUT" || fail "no controls list"
grep -qF "Echap = quitter" "$E2E_OUT" || fail "controls list incomplete"
# Standard output is a file here, so no terminal escape sequence is written.
if grep -q $'\x1b' "$E2E_OUT"; then fail "escape sequence written to a non-terminal"; fi

e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"
echo "startup: ok"

# Before the first frame the title is the game's name. With no data in the
# working directory the first model cannot be loaded, so start-up stops at its
# message box before any frame is drawn: the window keeps its first title.
rm -rf "$E2E_TMP/work" && mkdir -p "$E2E_TMP/work"
e2e_launch
e2e_wait_named_window ERROR
box=$E2E_WINDOW
e2e_wait_named_window "Vekotra by Ralune & Doskin" 5
xdotool key --window "$box" Return
e2e_expect_exit_zero "after the missing-model box"
echo "first title: ok"
