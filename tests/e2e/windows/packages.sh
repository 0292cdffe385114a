# Helpers of the Windows packages' tests; sourced after the end-to-end library.

# The package of the given kind ("zip" or "exe") that cpack made in the
# build folder; fails when there is none, or when it is older than the game
# it should hold.
package_file() {
  local file
  file=$(ls "$VEKOTRA_BUILD_DIR"/vekotra-*-windows-x64."$1" 2>/dev/null | head -n 1)
  [ -n "$file" ] || fail "no .$1 package in $VEKOTRA_BUILD_DIR (cpack -G \"ZIP;NSIS\" makes them)"
  [ "$file" -nt "$VEKOTRA_EXE" ] || fail "$file is older than the game: run cpack again"
  echo "$file"
}

# The DLL names a Windows executable or DLL imports, lower case.
dll_imports() {
  x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'
}

# Fails unless every DLL that FOLDER's executable and DLLs import is in the
# folder or is one of Windows' own (in Wine's system32, where no library of
# ours is).
expect_imports_shipped() {
  local folder=$1 system32=$WINEPREFIX/drive_c/windows/system32 file dll
  [ -d "$system32" ] || fail "no Wine prefix at $WINEPREFIX"
  for file in "$folder"/*.exe "$folder"/*.dll; do
    for dll in $(dll_imports "$file"); do
      [[ "$dll" == api-ms-win-* ]] && continue
      ls "$folder" | tr 'A-Z' 'a-z' | grep -qxF "$dll" && continue
      [ -f "$system32/$dll" ] && continue
      fail "$(basename "$file") imports $dll, which is neither shipped nor Windows' own"
    done
  done
}

# Every file under a folder with its size and time, for comparing before and
# after the game ran.
snapshot_folder() {
  (cd "$1" && find . -printf '%p %s %T@\n' | sort)
}
