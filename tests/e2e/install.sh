# The installed game: `cmake --install` into a scratch DESTDIR under a prefix
# of its own, then the launcher started from another folder by an ordinary
# player, for whom the data folder is read-only. The first start writes the
# collision caches into the player's XDG_CACHE_HOME, the second reads them
# back without computing; the launcher passes its arguments on. The desktop
# entry and the AppStream metainfo pass their validators.
source "$E2E_LIB"
root=$E2E_TMP/root
DESTDIR=$root cmake --install "$VEKOTRA_BUILD_DIR" --prefix /opt/vekotra >"$E2E_TMP/install.log" 2>&1 ||
  { cat "$E2E_TMP/install.log" >&2; fail "cmake --install failed"; }
prefix=$root/opt/vekotra
launcher=$prefix/games/vekotra
data=$prefix/share/games/vekotra
[ -x "$launcher" ] || fail "no launcher in games/"
[ -x "$prefix/lib/games/vekotra/vekotra" ] || fail "no game binary in lib/games/vekotra/"
[ -f "$data/data/map/earth3.3DS" ] && [ -f "$data/Data/Les_Sons/vekotra.wav" ] || fail "no game data in share/games/vekotra"
for size in 48 128 256; do
  [ -s "$prefix/share/icons/hicolor/${size}x$size/apps/vekotra.png" ] || fail "no $size px icon"
done
[ -s "$prefix/share/man/man6/vekotra.6.gz" ] || fail "no manual page"

desktop=$prefix/share/applications/io.github.vekotra.vekotra.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed: $report"
[ -z "$report" ] || fail "desktop-file-validate reports: $report"
grep -qx "Categories=Game;ActionGame;" "$desktop" || fail "desktop entry categories"
grep -qx "Terminal=false" "$desktop" || fail "desktop entry wants a terminal"
metainfo=$prefix/share/metainfo/io.github.vekotra.vekotra.metainfo.xml
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $report"

mkdir -p "$E2E_TMP/elsewhere"
e2e_start_xvfb
e2e_launch_as_player "$E2E_TMP/elsewhere" test -w "$data/data/map"
wait "$E2E_PID" && fail "the player can write into the installed data folder"

e2e_launch_as_player "$E2E_TMP/elsewhere" "$launcher"
e2e_wait_window '^fps\['
e2e_expect_printed "Precomputing [" 2 "on the first start"
cache=$E2E_PLAYER_HOME/cache/vekotra
for model in data//Tolvar2//TolvarFight2_mini.3ds data//map//earth3.3DS; do
  [ -s "$cache/$model.pmap" ] || fail "no $model.pmap under the player's cache folder"
done
[ -z "$(find "$data" "$E2E_TMP/elsewhere" -name '*.pmap')" ] || fail "a .pmap outside the cache folder"
e2e_close_window "$E2E_WINDOW"
e2e_expect_exit_zero "after closing the window"
echo "first start: ok"

# GLUT takes -geometry, so the window's size shows the arguments arrived.
e2e_launch_as_player "$E2E_TMP/elsewhere" "$launcher" -geometry 320x240+0+0
e2e_wait_window '^fps\['
e2e_expect_printed "Precomputing" 0 "on the second start"
read -r _ _ w h <<<"$(e2e_geometry "$E2E_WINDOW")"
[ "${w}x$h" = 320x240 ] || fail "window ${w}x$h: the launcher lost its arguments"
e2e_close_window "$E2E_WINDOW"
e2e_expect_exit_zero "after closing the window"
echo "second start: ok"
