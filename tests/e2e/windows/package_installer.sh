# The installer: installed silently (/S) into Program Files, with a Start
# menu entry and an entry in Apps & features; the game started as the Start
# menu entry starts it plays and writes nothing into Program Files; the
# silent uninstall leaves nothing behind: no file, no folder, no menu entry,
# no Apps & features entry.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"

installer=$(package_file exe)
drive_c=$WINEPREFIX/drive_c
installed="$drive_c/Program Files/Vekotra"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vekotra"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vekotra'
# What a failed run before may have left in the test run's prefix.
rm -rf "$installed" "$menu"
wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true

e2e_start_xvfb
wine "$installer" /S
wineserver --wait
[ -f "$installed/vekotra.exe" ] || fail "no vekotra.exe in Program Files after the silent install"
[ -f "$installed/data/map/earth3.3DS.pmap" ] || fail "the .pmap files were not installed"
expect_imports_shipped "$installed"
[ -f "$menu/Vekotra.lnk" ] || fail "no Start menu entry: $(ls -R "$drive_c/ProgramData/Microsoft/Windows/Start Menu" 2>&1)"
wine reg query "$uninstall_key" /v UninstallString >"$E2E_TMP/reg.txt" 2>&1 ||
  fail "no Apps & features entry: $(cat "$E2E_TMP/reg.txt")"
grep -qi 'DisplayIcon\|UninstallString' "$E2E_TMP/reg.txt" || fail "Apps & features entry without an uninstaller"
echo "install: ok"

# The Start menu entry's target (its link's local base path, in ASCII) and
# working folder (its last UTF-16 string), started as the shell starts them.
link=$menu/Vekotra.lnk
target=$(LC_ALL=C tr -c '[:print:]' '\n' <"$link" | grep -i -m1 '^[a-z]:\\.*\\vekotra\.exe$' || true)
[[ "${target,,}" == 'c:\program files\vekotra\vekotra.exe' ]] || fail "the Start menu entry starts '$target'"
folder=$(strings -el "$link" | tail -n 1)
[[ "${folder,,}" == 'c:\program files\vekotra' ]] || fail "the Start menu entry starts in '$folder'"
snapshot_folder "$installed" >"$E2E_TMP/before.txt"
(cd "$(winepath -u "$folder")" && exec wine "$target" >"$E2E_OUT" 2>"$E2E_ERR") &
E2E_PID=$!
e2e_wait_window '^fps\[' 60
e2e_wait_output "Speed = 0 km/h  Altitude = 50.000000 Pitch = 0  Yaw = 0 "
e2e_close_window "$E2E_WINDOW"
e2e_expect_exit_zero "after closing the window"
snapshot_folder "$installed" >"$E2E_TMP/after.txt"
diff "$E2E_TMP/before.txt" "$E2E_TMP/after.txt" >&2 || fail "the game wrote into Program Files"
echo "installed game: ok"

# The uninstaller copies itself elsewhere and returns at once: wait for it.
wine "$installed/Uninstall.exe" /S
for _ in $(seq 100); do
  [ -e "$installed" ] || break
  sleep 0.2
done
wineserver --wait
[ ! -e "$installed" ] || fail "left behind in Program Files: $(cd "$installed" && find . | head)"
[ ! -e "$menu" ] || fail "the Start menu entry is left behind"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then fail "the Apps & features entry is left behind"; fi
echo "uninstall: ok"
