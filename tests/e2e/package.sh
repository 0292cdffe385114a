# The Debian package: cpack on the tested build writes
# vekotra_<version>_<architecture>.deb, with Depends found by dpkg-shlibdeps
# and the X core fonts the error box draws with recommended, holding the
# launcher, the game, its data with the fighter's and the planet's .pmap
# files, icons, desktop entry, metainfo and manual page; lintian finds no
# error in it. Unpacked into a scratch root, its launcher starts the game for
# an ordinary player, its window showing the installed icon.
source "${E2E_LIB:?the end-to-end library, set by CTest}"
cpack --config "$VEKOTRA_BUILD_DIR/CPackConfig.cmake" -B "$E2E_TMP/package" >"$E2E_TMP/cpack.log" 2>&1 ||
  { cat "$E2E_TMP/cpack.log" >&2; fail "cpack failed"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$VEKOTRA_BUILD_DIR/CPackConfig.cmake")
deb=$E2E_TMP/package/vekotra_${version}_$(dpkg --print-architecture).deb
[ -n "$version" ] && [ -f "$deb" ] || fail "no $deb: $(ls "$E2E_TMP/package")"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libglut3.12 libsdl2-mixer-2.0-0 libsdl2-image-2.0-0 libxwiimote2; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[[ "$depends" != *libdevil* ]] || fail "Depends still names DevIL: $depends"
# The error box draws with the X core fonts, which no library pulls in: a
# font package may only be recommended (lintian's error otherwise).
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ ", $recommends," == *", xfonts-base,"* ]] || fail "Recommends lacks xfonts-base: '$recommends'"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "not in section games"

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in usr/games/vekotra usr/lib/games/vekotra/vekotra \
  usr/share/games/vekotra/data/map/earth3.3DS usr/share/games/vekotra/data/map/earth3.bmp \
  usr/share/games/vekotra/data/Tolvar2/TolvarFight2_mini.3ds usr/share/games/vekotra/Data/Les_Sons/vekotra.wav \
  usr/share/games/vekotra/data/Tolvar2/TolvarFight2_mini.3ds.pmap usr/share/games/vekotra/data/map/earth3.3DS.pmap \
  usr/share/icons/hicolor/48x48/apps/vekotra.png usr/share/icons/hicolor/256x256/apps/vekotra.png \
  usr/share/applications/invalid.vekotra.vekotra.desktop \
  usr/share/metainfo/invalid.vekotra.vekotra.metainfo.xml \
  usr/share/man/man6/vekotra.6.gz usr/share/doc/vekotra/copyright; do
  grep -qx "\./$path" <<<"$listing" || fail "the package lacks /$path"
done
[ "$(grep -c '\.pmap$' <<<"$listing")" = 2 ] || fail "the package holds other .pmap files: $(grep '\.pmap$' <<<"$listing")"

lintian --fail-on error "$deb" >"$E2E_TMP/lintian.log" 2>&1 || { cat "$E2E_TMP/lintian.log" >&2; fail "lintian reports errors"; }
grep '^[EW]:' "$E2E_TMP/lintian.log" || true
echo "package: ok"

# Unpacked as dpkg would install it, the launcher found there starts the game.
dpkg-deb -x "$deb" "$E2E_TMP/root"
mkdir -p "$E2E_TMP/elsewhere"
e2e_start_xvfb
e2e_launch_as_player "$E2E_TMP/elsewhere" "$E2E_TMP/root/usr/games/vekotra"
e2e_wait_window '^fps\['
# The window's icon comes from the installed data folder.
icons=$(xprop -id "$E2E_WINDOW" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
[ "$icons" = "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) Icon (128 x 128) " ] ||
  fail "the installed game's window icon: '$icons'"
e2e_close_window "$E2E_WINDOW"
e2e_expect_exit_zero "after closing the window"
echo "unpacked launcher: ok"
