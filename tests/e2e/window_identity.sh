# The desktop knows the game's window: WM_CLASS "vekotra", "Vekotra", the
# class its desktop entry names, and _NET_WM_ICON holding the data folder's
# icon files pixel for pixel (width, height, then 0xAARRGGBB from the top row
# down, for 16, 32, 48 and 128 pixels). Icon files missing or cut short are
# left out, and the game starts all the same.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
grep -qx "StartupWMClass=Vekotra" "$(dirname "$E2E_LIB")/../../dist/vekotra.desktop" || fail "no StartupWMClass"

# Starts the game, checks its class and that its icon holds the given sizes'
# files, then closes it.
expect_identity() {
  local size file
  e2e_launch
  e2e_wait_window '^fps\['
  for size in "$@"; do
    file=$E2E_TMP/work/data/icons/vekotra_$size.png
    identify -format '%w\n%h\n' "$file"
    convert "$file" -depth 8 rgba:- | od -An -v -tu1 | awk '{ for (i = 1; i <= NF; i += 4)
      printf "%.0f\n", (($(i+3) * 256 + $i) * 256 + $(i+1)) * 256 + $(i+2) }'
  done >"$E2E_TMP/expected.txt"
  xprop -id "$E2E_WINDOW" -notype -f _NET_WM_ICON 32c ' $0+\n' _NET_WM_ICON | sed -n 's/^_NET_WM_ICON //p' |
    tr -d ' ' | tr ',' '\n' >"$E2E_TMP/actual.txt"
  cmp -s "$E2E_TMP/expected.txt" "$E2E_TMP/actual.txt" || fail "_NET_WM_ICON is not the icons of sizes $*"
  [ "$(xprop -id "$E2E_WINDOW" WM_CLASS)" = 'WM_CLASS(STRING) = "vekotra", "Vekotra"' ] || fail "no window class"
  e2e_close_window "$E2E_WINDOW"
  e2e_expect_exit_zero "after closing the window"
}

e2e_start_xvfb
e2e_prepare_data
expect_identity 16 32 48 128
echo "class and icon: ok"

rm "$E2E_TMP/work/data/icons/vekotra_128.png"
truncate -s 100 "$E2E_TMP/work/data/icons/vekotra_16.png"
expect_identity 32 48
echo "missing icons: ok"
