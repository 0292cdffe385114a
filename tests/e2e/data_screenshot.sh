# The game started on the generated data: the console shows the six model
# statistics blocks with the generated counts, and a screenshot of the first
# frames shows, by colour, the starfield dots and open sky (the background
# planets stand above and below the starting view), the textured planet ahead
# and the fighter in the lower half, both drawn through their physics actors.
# VEKOTRA_E2E_SCREENSHOT=FILE keeps a
# copy of the screenshot (docs/screenshot.png is made this way).
source "${E2E_LIB:?the end-to-end library, set by CTest}"
DATAGEN=${DATAGEN:?the data generator path comes from CTest}
[ -x "$DATAGEN" ] || fail "data generator not found at $DATAGEN"

e2e_start_xvfb
e2e_prepare_data
[ -f "$E2E_TMP/work/data/map/earth3.3DS" ] || fail "no generated data in $VEKOTRA_GAME_DIR"
e2e_launch

e2e_wait_window '^fps\['
id=$E2E_WINDOW
# A few frames in: the console is rewritten every fourth frame.
e2e_wait_output "Speed = 0 km/h"
sleep 1
shot=$E2E_TMP/screenshot.png
e2e_screenshot "$id" "$shot"
if [ -n "${VEKOTRA_E2E_SCREENSHOT:-}" ]; then
  # A small PNG: 8 bits per channel, no metadata.
  convert "$shot" -strip -depth 8 "PNG24:$VEKOTRA_E2E_SCREENSHOT"
fi

# --- Statistics: one block per model, in load order, as printf formats them.
expected=$E2E_TMP/stats_expected.txt
: >"$expected"
while read -r path objects verts faces rest; do
  {
    printf '****************************\n'
    printf 'modelname  : %15s\n' "$path"
    printf 'nb_obj     : %15i\n' "$objects"
    printf 'tot_verts  : %15i\n' "$verts"
    printf 'tot_faces  : %15i\n' "$faces"
    printf -- '----------------------------\n'
    set -- $rest
    while [ $# -ge 2 ]; do
      printf 'totalVerts : %15i\n' "$1"
      printf 'totalFaces : %15i\n' "$2"
      shift 2
    done
    printf '****************************\n'
  } >>"$expected"
done < <("$DATAGEN" --counts)
[ "$(grep -c '^modelname' "$expected")" = 6 ] || fail "the generator listed no six models"
# The blocks come before the frame loop's first console text.
actual=$E2E_TMP/stats_actual.txt
sed -n '1,/^Liste des controles/p' "$E2E_OUT" | grep -E '^(\*{28}|-{28}|modelname  :|nb_obj     :|tot_verts  :|tot_faces  :|totalVerts :|totalFaces :)' >"$actual" || true
diff -u "$expected" "$actual" >"$E2E_TMP/stats.diff" || { cat "$E2E_TMP/stats.diff" >&2; fail "model statistics differ from the generated counts"; }

# --- Screenshot regions, judged by colour.
read -r _ _ w h <<<"$(e2e_geometry "$id")"
[ "$w $h" = "640 480" ] || fail "window is ${w}x$h"

# Starfield: scattered bright dots in the upper right, where nothing else is
# drawn: some pixels lit, most of the region black.
stars=$(convert "$shot" -crop 200x140+440+0 +repage -colorspace Gray -threshold 35% -format '%[fx:mean]' info:)
awk -v m="$stars" 'BEGIN { exit !(m > 0.0005 && m < 0.15) }' || fail "starfield region lit fraction $stars, expected scattered dots"

# Open sky below the stars' corner stays dark.
read -r r g b <<<"$(e2e_region_colour "$shot" 60x30+500+200)"
[ $((r + g + b)) -lt 150 ] || fail "open sky at (530, 215) is ($r, $g, $b), expected dark"

# The textured planet ahead, just above the fighter: blue oceans and green
# land, with little red.
read -r r g b <<<"$(e2e_region_colour "$shot" 100x40+270+260)"
[ "$b" -gt $((r + 30)) ] && [ "$g" -gt "$r" ] || fail "planet region is ($r, $g, $b), expected oceans and land"
# The fighter's grey hull in the lower middle of the view.
read -r r g b <<<"$(e2e_region_colour "$shot" 30x30+305+385)"
[ "$r" -gt 60 ] && [ $((r - b)) -lt 40 ] && [ $((b - r)) -lt 40 ] || fail "fighter region is ($r, $g, $b), expected grey hull"
# Its orange engine glow on each side, low in the view.
read -r r g b <<<"$(e2e_region_colour "$shot" 16x16+250+425)"
[ "$r" -gt $((b + 60)) ] || fail "left engine glow is ($r, $g, $b), expected orange"

e2e_close_window "$id"
e2e_expect_exit_zero "after closing the window"
echo "data_screenshot: ok"
