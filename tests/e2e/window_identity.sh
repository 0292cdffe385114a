# The desktop knows the game's window: WM_CLASS "vekotra", "Vekotra", the
# class its desktop entry names as StartupWMClass, and _NET_WM_ICON holding
# the data folder's icon images, pixel for pixel, at 16, 32, 48 and 128
# pixels. An icon file that is missing or damaged is left out, and the game
# starts all the same.
source "$E2E_LIB"
desktop_entry=$(dirname "$E2E_LIB")/../../dist/vekotra.desktop

# The numbers _NET_WM_ICON should hold for the given icon files: width,
# height, then each pixel from the top row down as 0xAARRGGBB, one per line.
expected_icon() {
  local file size
  for file in "$@"; do
    size=$(identify -format '%w\n%h\n' "$file") || fail "cannot read $file"
    echo "$size"
    convert "$file" -depth 8 rgba:- | od -An -v -tu1 |
      awk '{ for (i = 1; i <= NF; i++) v[n++] = $i }
           END { for (i = 0; i < n; i += 4) printf "%.0f\n", ((v[i+3] * 256 + v[i]) * 256 + v[i+1]) * 256 + v[i+2] }'
  done
}

# The window's _NET_WM_ICON, one number per line; nothing when it has none.
window_icon() {
  xprop -id "$1" -notype -f _NET_WM_ICON 32c ' $0+\n' _NET_WM_ICON |
    sed -n 's/^_NET_WM_ICON //p' | tr -d ' ' | tr ',' '\n'
}

e2e_start_xvfb
e2e_prepare_data
icons=$E2E_TMP/work/data/icons
e2e_launch
e2e_wait_window '^fps\['
id=$E2E_WINDOW

class=$(xprop -id "$id" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "vekotra", "Vekotra"' ] || fail "window class: $class"
grep -qx "StartupWMClass=Vekotra" "$desktop_entry" || fail "the desktop entry names no StartupWMClass=Vekotra"

expected_icon "$icons/vekotra_16.png" "$icons/vekotra_32.png" "$icons/vekotra_48.png" \
  "$icons/vekotra_128.png" >"$E2E_TMP/icon_expected.txt"
[ "$(wc -l <"$E2E_TMP/icon_expected.txt")" = $((8 + 16 * 16 + 32 * 32 + 48 * 48 + 128 * 128)) ] ||
  fail "the data folder's icons are not the four expected sizes"
window_icon "$id" >"$E2E_TMP/icon_actual.txt"
cmp -s "$E2E_TMP/icon_expected.txt" "$E2E_TMP/icon_actual.txt" ||
  fail "_NET_WM_ICON differs from the icon files: $(xprop -id "$id" _NET_WM_ICON | grep -o 'Icon ([0-9 x]*)' | tr '\n' ' ')"
e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"
echo "class and icon: ok"

# The largest icon missing, the smallest cut short: the window carries the
# other two, and the game plays.
rm "$icons/vekotra_128.png"
head -c 100 "$icons/vekotra_16.png" >"$E2E_TMP/cut.png" && mv "$E2E_TMP/cut.png" "$icons/vekotra_16.png"
e2e_launch
e2e_wait_window '^fps\['
id=$E2E_WINDOW
e2e_wait_output "Speed = 0 km/h  Altitude = 50.000000 Pitch = 0  Yaw = 0 "
expected_icon "$icons/vekotra_32.png" "$icons/vekotra_48.png" >"$E2E_TMP/icon_expected.txt"
window_icon "$id" >"$E2E_TMP/icon_actual.txt"
cmp -s "$E2E_TMP/icon_expected.txt" "$E2E_TMP/icon_actual.txt" ||
  fail "with two icon files unusable, _NET_WM_ICON is not the other two"
[ "$(xprop -id "$id" WM_CLASS)" = 'WM_CLASS(STRING) = "vekotra", "Vekotra"' ] || fail "window class lost"
e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"
echo "missing icons: ok"
