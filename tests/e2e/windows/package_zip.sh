# The portable zip: one folder holding the game, every DLL it and its DLLs
# import that Windows does not have, the generated data with its .pmap files,
# the README and the licences. Unpacked and started from another working
# folder, the game finds its data beside itself, plays, and writes nothing
# into its own folder.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"

zip=$(package_file zip)
unzip -q "$zip" -d "$E2E_TMP/unpacked"
top=$E2E_TMP/unpacked/$(basename "$zip" .zip)
[ -d "$top" ] || fail "the zip does not unpack into $(basename "$top")"

for file in vekotra.exe README.txt licences/vekotra.txt licences/SDL2.txt \
  data/map/earth3.3DS data/map/earth3.bmp data/Tolvar2/TolvarFight2_mini.3ds \
  data/Tolvar2/TolvarFight2_mini.3ds.pmap data/map/earth3.3DS.pmap data/Les_Sons/vekotra.wav; do
  [ -f "$top/$file" ] || fail "the zip lacks $file"
done
# The shipped .pmap files are the native build's, byte for byte.
cmp -s "$top/data/map/earth3.3DS.pmap" "$VEKOTRA_GAME_DIR/data/map/earth3.3DS.pmap" ||
  fail "the planet's .pmap differs from the build's"
expect_imports_shipped "$top"
echo "zip contents: ok"

# Started from elsewhere (the Start menu starts it in some other folder), it
# enters its own folder for the data.
e2e_start_xvfb
snapshot_folder "$top" >"$E2E_TMP/before.txt"
mkdir -p "$E2E_TMP/elsewhere"
(cd "$E2E_TMP/elsewhere" && exec wine "$top/vekotra.exe" >"$E2E_OUT" 2>"$E2E_ERR") &
E2E_PID=$!
e2e_wait_window '^fps\[' 60
e2e_wait_output "Speed = 0 km/h  Altitude = 50.000000 Pitch = 0  Yaw = 0 "
grep -qF "modelname" "$E2E_OUT" || fail "no model statistics"
e2e_close_window "$E2E_WINDOW"
e2e_expect_exit_zero "after closing the window"
snapshot_folder "$top" >"$E2E_TMP/after.txt"
diff "$E2E_TMP/before.txt" "$E2E_TMP/after.txt" >&2 || fail "the game changed its own folder"
echo "zip game: ok"
