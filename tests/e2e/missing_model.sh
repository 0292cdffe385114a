# A model file that cannot be opened ends the game: a message box captioned
# "ERROR" appears, and once it is closed the game exits with status 0. The
# statistics of the models loaded before the missing one are in the captured
# output while the box is still up. A FIFO in place of a model counts as
# missing: it is not opened, so start-up does not wait for a writer.
source "${E2E_LIB:?the end-to-end library, set by CTest}"

# Little-endian hex of 16- and 32-bit numbers, and a 3DS chunk around a hex payload.
le16() { printf '%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { printf '%s%s' "$(le16 $(($1 & 65535)))" "$(le16 $(($1 >> 16)))"; }
chunk() { printf '%s%s%s' "$(le16 "$1")" "$(le32 $((6 + ${#2} / 2)))" "$2"; }
text() { printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n'; printf '00'; }
write_hex() { mkdir -p "$(dirname "$1")"; printf "$(sed 's/../\\x&/g' <<<"$2")" >"$1"; }

# The fighter: one object of 4 vertices and 2 faces with a colour material.
zero=00000000 one=0000803f
fighter_model() {
  local verts faces mesh object material
  verts=$(chunk $((0x4110)) "$(le16 4)$zero$zero$zero$one$zero$zero$one$one$zero$zero$one$zero")
  faces=$(chunk $((0x4120)) "$(le16 2)$(le16 0)$(le16 1)$(le16 2)$(le16 0)$(le16 0)$(le16 2)$(le16 3)$(le16 0)$(chunk $((0x4130)) "$(text Hull)$(le16 2)$(le16 0)$(le16 1)")")
  mesh=$(chunk $((0x4100)) "$verts$faces")
  object=$(chunk $((0x4000)) "$(text Fighter)$mesh")
  material=$(chunk $((0xAFFF)) "$(chunk $((0xA000)) "$(text Hull)")$(chunk $((0xA020)) "$(chunk $((0x11)) c08040)")")
  chunk $((0x4D4D)) "$(chunk $((0x3D3D)) "$material$object")"
}

# Runs the game in the working folder until its "ERROR" box; checks that the
# output file already holds the text given, if any; closes the box and checks
# the exit status.
run_until_error_box() {
  e2e_launch
  e2e_wait_named_window ERROR 30
  local box=$E2E_WINDOW
  # The game's own window stays open behind the box while it waits.
  kill -0 "$E2E_PID" 2>/dev/null || fail "the game ended before the box was closed"
  if [ -n "${1:-}" ]; then
    grep -qF -- "$1" "$E2E_OUT" || fail "'$1' not in the output while the box is shown"
  fi
  xdotool key --window "$box" Return
  e2e_expect_exit_zero "after the box was closed"
}

e2e_start_xvfb
mkdir -p "$E2E_TMP/work"

# 1. No data at all: the very first model, the fighter, is missing.
run_until_error_box
if grep -qF "modelname" "$E2E_OUT"; then fail "statistics printed though no model could be loaded"; fi
grep -qF "file 'data//Tolvar2//TolvarFight2_mini.3ds' not found" "$E2E_ERR" "$E2E_OUT" && \
  fail "the message went to the console although a display was there for the box" || true

# 2. Only the fighter: its statistics come first, then the planet is missing.
write_hex "$E2E_TMP/work/data/Tolvar2/TolvarFight2_mini.3ds" "$(fighter_model)"
run_until_error_box "totalFaces :               2"
expected=$(printf '%s\n' \
  "****************************" \
  "modelname  : data//Tolvar2//TolvarFight2_mini.3ds" \
  "nb_obj     :               1" \
  "tot_verts  :               4" \
  "tot_faces  :               2" \
  "----------------------------" \
  "totalVerts :               4" \
  "totalFaces :               2" \
  "****************************")
output=$(e2e_lines "$E2E_OUT")
[[ "$output" == *"$expected"* ]] || fail "the fighter's statistics are not printed as expected"
[ "$(grep -c '^modelname' "$E2E_OUT")" = 1 ] || fail "statistics of more than the fighter printed"
grep -q "earth3" "$E2E_OUT" && fail "the missing planet's statistics were printed" || true

# 3. A FIFO in place of the planet: missing too, and the box comes at once.
mkdir -p "$E2E_TMP/work/data/map"
mkfifo "$E2E_TMP/work/data/map/earth3.3DS"
run_until_error_box "totalFaces :               2"
grep -q "earth3" "$E2E_OUT" && fail "statistics printed for the FIFO" || true
echo "missing_model: ok"
