#!/usr/bin/env bash
# Builds the Windows x86-64 DLLs of freeglut, SDL2, SDL2_image and SDL2_mixer
# that the Windows build of the game links, from Debian's own source packages,
# with the MinGW-w64 toolchain (cmake/mingw-w64-x86_64.cmake).
#
#   scripts/windows-libs.sh [PREFIX]      (default: build/windows-libs)
#
# PREFIX ends up holding include/, lib/ (import libraries, CMake and
# pkg-config files), bin/ (the DLLs), share/licenses/<library>/ (what the
# Windows zip has to carry beside the DLLs) and versions.txt. It is a cache:
# a stamp records the pinned versions, the toolchain's and this script's own
# hash, and while it matches a second run does nothing. A failed build never
# leaves a matching stamp.
#
# Sources come from Debian 12's archive through a source list of the
# script's own (the machine's apt configuration is left alone), pinned to one
# version each; apt checks them against the signed Release file, the script
# against the .dsc hashes below, and dpkg-source the tarballs against the .dsc.
set -euo pipefail

self=$(realpath "${BASH_SOURCE[0]}")
repo=$(dirname "$(dirname "$self")")
toolchain=$repo/cmake/mingw-w64-x86_64.cmake
prefix=$(realpath -m "${1:-$repo/build/windows-libs}")
work=$prefix.work
stamp=$prefix/.stamp
# Marks PREFIX as this script's to empty: it deletes no other folder.
mark=$prefix/.windows-libs-cache

# Debian source package, version, and the SHA-256 of its .dsc.
freeglut_src=(freeglut 3.4.0-1 74bbbf431dd96a8984603a6d9b1cac8ccfdfe9e2f57fee46924579f3e1a3ca78)
sdl2_src=(libsdl2 2.26.5+dfsg-1 95b9a18130d98164e7856eca8ac1a2eb65d822ac4872ef8862ceed2cb1662136)
sdl2_image_src=(libsdl2-image 2.6.3+dfsg-1 185eaaba97a90b71f2c951a60c61b7ea400129b0fefe5b9272cabd709ec0c7ed)
sdl2_mixer_src=(libsdl2-mixer 2.6.2+dfsg-2 ef16e515917151751644bc9413383864527bbb58707803deb683e0c91b0aacc0)

toolchain_packages=(
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libz-mingw-w64-dev
)

# shellcheck source=scripts/deps.sh
source "$repo/scripts/deps.sh"
# dpkg-dev: dpkg-source; xz-utils: the .tar.xz parts; debian-archive-keyring:
# the key apt checks bookworm's Release file with.
install_missing "${toolchain_packages[@]}" cmake ninja-build dpkg-dev xz-utils \
  debian-archive-keyring

# What the build depends on besides the pins: the toolchain's and CMake's
# Debian versions, compiler flags from the environment, this script and the
# toolchain file.
expected_stamp() {
  echo "sources: ${freeglut_src[*]:0:2} ${sdl2_src[*]:0:2} ${sdl2_image_src[*]:0:2} ${sdl2_mixer_src[*]:0:2}"
  echo "flags: CFLAGS=${CFLAGS:-} CXXFLAGS=${CXXFLAGS:-} LDFLAGS=${LDFLAGS:-}"
  dpkg-query -W -f='${Package} ${Version}\n' "${toolchain_packages[@]}" cmake
  sha256sum "$self" "$toolchain" | sed "s|$repo/||"
}
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(expected_stamp)" ]; then
  echo "Windows libraries: reusing the cache in $prefix"
  exit 0
fi

if [ -e "$prefix" ] && [ -n "$(ls -A "$prefix")" ] && [ ! -e "$mark" ]; then
  echo "$prefix is not empty and was not made by $0: choose another folder" >&2
  exit 2
fi
echo "Windows libraries: building into $prefix"
rm -rf "$prefix" "$work"
mkdir -p "$prefix" "$work"
touch "$mark"
jobs=$(nproc)
TIMEFORMAT='%R s wall, %U s user, %S s sys'

# logged NAME COMMAND...: runs the command with its output in $work/NAME.log
# and its times in $work/NAME.time; on failure shows the log's end. The
# command runs as a job of its own so that set -e holds inside it: bash
# ignores set -e in anything run on the left of || or in an if's test,
# functions and subshells included, so never call logged there either.
logged() {
  local name=$1
  shift
  local status=0
  "$@" > "$work/$name.log" 2>&1 &
  { time wait $!; } 2> "$work/$name.time" || status=$?
  if [ $status -ne 0 ]; then
    echo "$name failed (exit $status); the end of $work/$name.log:" >&2
    tail -n 40 "$work/$name.log" >&2
    return $status
  fi
  echo "  $name: $(cat "$work/$name.time")"
}

# --- Sources ---------------------------------------------------------------

fetch_sources() {
  local apt=$work/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$work/src"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    > "$apt/sources.list"
  local opts=(
    -o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
  )
  # apt downloads as the unprivileged _apt user, who may not write here.
  if [ "$(id -u)" -eq 0 ]; then
    opts+=(-o APT::Sandbox::User=root)
  fi
  apt-get "${opts[@]}" update
  local src ref s
  for src in freeglut_src sdl2_src sdl2_image_src sdl2_mixer_src; do
    ref="${src}[@]"
    s=("${!ref}")
    (cd "$work/src" && apt-get "${opts[@]}" source --download-only "${s[0]}=${s[1]}")
    local dsc=$work/src/${s[0]}_${s[1]#*:}.dsc
    echo "${s[2]}  $dsc" | sha256sum --check --strict
    # Unpacks and applies Debian's patches; checks the tarballs against the .dsc.
    (cd "$work/src" && dpkg-source -x "$dsc" "${s[0]}")
  done
}

# --- The builds ------------------------------------------------------------

cmake_common=(
  -G Ninja
  -DCMAKE_TOOLCHAIN_FILE="$toolchain"
  -DWINDOWS_LIBS_DIR="$prefix"
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$prefix"
  -DBUILD_SHARED_LIBS=ON
)

# configure_build_install NAME CMAKE-OPTION...: the Debian source tree NAME,
# built in $work/build-NAME and installed stripped into $prefix.
configure_build_install() {
  local name=$1
  shift
  cmake -S "$work/src/$name" -B "$work/build-$name" "${cmake_common[@]}" "$@"
  cmake --build "$work/build-$name" -j "$jobs"
  cmake --install "$work/build-$name" --strip
}

# As a GLUT replacement (on Windows freeglut's default is not to be one):
# GL/glut.h, which the game includes and CMake's FindGLUT looks for, and a
# library named glut (libglut.dll), as on Debian.
build_freeglut() {
  configure_build_install freeglut \
    -DFREEGLUT_BUILD_SHARED_LIBS=ON -DFREEGLUT_BUILD_STATIC_LIBS=OFF \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF -DFREEGLUT_REPLACE_GLUT=ON \
    -DINSTALL_PDB=OFF \
    -DCMAKE_POLICY_VERSION_MINIMUM=3.5  # CMake 4 no longer takes its 3.0 minimum
}

# SDL2's configure asks some 150 questions about the C library (headers,
# string and math functions), each a try_compile of its own: a minute of
# configure. For MinGW-w64's C runtime the answers are fixed, so they are
# handed in instead (taken from a full configure with Debian 12's MinGW-w64;
# a newer one only adds functions, and a "no" for one it has just means SDL
# uses its own). d3d9.h, d3d11_1.h and d3d12.h only feed the Direct3D
# renderers, which are off: "no" spares compiling those big headers.
sdl2_checks_yes="HAVE_ABS HAVE_ACOS HAVE_ACOSF HAVE_ALLOCA2 HAVE_ALLOCA3 HAVE_ASIN
  HAVE_ASINF HAVE_ATAN HAVE_ATAN2 HAVE_ATAN2F HAVE_ATANF HAVE_ATOF HAVE_ATOI
  HAVE_BSEARCH HAVE_CALLOC HAVE_CEIL HAVE_CEILF HAVE_COPYSIGN HAVE_COPYSIGNF
  HAVE_COS HAVE_COSF HAVE_CTYPE_H HAVE_EXP HAVE_EXPF HAVE_FABS HAVE_FABSF
  HAVE_FLOAT_H HAVE_FLOOR HAVE_FLOORF HAVE_FMOD HAVE_FMODF HAVE_FOPEN64
  HAVE_FREE HAVE_FSEEKO HAVE_FSEEKO64 HAVE_GETENV HAVE_INTTYPES_H HAVE_ITOA
  HAVE_LIBM HAVE_LIMITS_H HAVE_LOG HAVE_LOG10 HAVE_LOG10F HAVE_LOGF
  HAVE_LROUND HAVE_LROUNDF HAVE_MALLOC HAVE_MALLOC_H HAVE_MATH_H HAVE_MEMCMP
  HAVE_MEMCPY HAVE_MEMMOVE HAVE_MEMORY_H HAVE_MEMSET HAVE_M_PI HAVE_NANOSLEEP
  HAVE_POW HAVE_POWF HAVE_PUTENV HAVE_QSORT HAVE_REALLOC HAVE_ROUND
  HAVE_ROUNDF HAVE_SCALBN HAVE_SCALBNF HAVE_SETJMP HAVE_SIGNAL_H HAVE_SIN
  HAVE_SINF HAVE_SQRT HAVE_SQRTF HAVE_SSCANF HAVE_STDARG_H HAVE_STDDEF_H
  HAVE_STDINT_H HAVE_STDIO_H HAVE_STDLIB_H HAVE_STRCASECMP HAVE_STRCHR
  HAVE_STRCMP HAVE_STRINGS_H HAVE_STRING_H HAVE_STRLEN HAVE_STRNCASECMP
  HAVE_STRNCMP HAVE_STRRCHR HAVE_STRSTR HAVE_STRTOD HAVE_STRTOK_R HAVE_STRTOL
  HAVE_STRTOLL HAVE_STRTOUL HAVE_STRTOULL HAVE_SYS_TYPES_H HAVE_TAN HAVE_TANF
  HAVE_TRUNC HAVE_TRUNCF HAVE_VSNPRINTF HAVE_VSSCANF HAVE_WCHAR_H HAVE_WCSCMP
  HAVE_WCSDUP HAVE_WCSLEN HAVE_WCSNCMP HAVE_WCSSTR HAVE__EXIT HAVE__I64TOA
  HAVE__LTOA HAVE__STRICMP HAVE__STRLWR HAVE__STRNICMP HAVE__STRREV
  HAVE__STRUPR HAVE__UI64TOA HAVE__ULTOA HAVE__WCSDUP HAVE__WCSICMP
  HAVE__WCSNICMP STDC_HEADERS"
sdl2_checks_no="HAVE_ALLOCA1 HAVE_ALLOCA_H HAVE_BCOPY HAVE_BUILTIN_ICONV HAVE_ELF_AUX_INFO
  HAVE_GETAUXVAL HAVE_ICONV_H HAVE_INDEX HAVE_LIBICONV HAVE_LIBUNWIND_H
  HAVE_LINUX_INPUT_H HAVE_MPROTECT HAVE_POLL HAVE_RINDEX HAVE_SA_SIGACTION
  HAVE_SETENV HAVE_SIGACTION HAVE_STRCASESTR HAVE_STRLCAT HAVE_STRLCPY
  HAVE_SYSCONF HAVE_SYSCTLBYNAME HAVE_UNSETENV HAVE_WCSCASECMP HAVE_WCSLCAT
  HAVE_WCSLCPY HAVE_WCSNCASECMP HAVE__UITOA
  HAVE_D3D_H HAVE_D3D11_H HAVE_D3D12_H"

# The game uses SDL for sound, events, joysticks and game controllers
# (HIDAPI, virtual joysticks in its tests) and sensors; freeglut and OpenGL
# draw. Off, then: the 2D renderer (Direct3D 9/11/12, OpenGL, software: a
# quarter of the compile), haptic, power, locale, misc (SDL_OpenURL), OpenGL ES,
# Vulkan and the offscreen video driver. Video stays: the DirectInput
# joystick driver and haptics borrow the Windows video driver's helper window,
# and SDL_image works on SDL's surfaces. The functions of what is off are still
# exported and fail with "not supported".
build_sdl2() {
  local seed=$work/sdl2-checks.cmake v
  : > "$seed"
  for v in $sdl2_checks_yes; do echo "set($v 1 CACHE INTERNAL \"\")" >> "$seed"; done
  for v in $sdl2_checks_no; do echo "set($v \"\" CACHE INTERNAL \"\")" >> "$seed"; done
  configure_build_install libsdl2 -C "$seed" \
    -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_TESTS=OFF \
    -DSDL2_DISABLE_UNINSTALL=ON -DSDL_CCACHE=OFF \
    -DSDL_RENDER=OFF -DSDL_RENDER_D3D=OFF -DSDL_HAPTIC=OFF -DSDL_POWER=OFF \
    -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
    -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF -DSDL_OFFSCREEN=OFF
}

# stb_image (bundled: stb_image.h) reads PNG and JPEG, SDL_image's own code
# the rest; no libpng, libjpeg or zlib, no WIC. Only the formats the game
# reads; no saving.
build_sdl2_image() {
  # The CMake config file it installs asks for libjpeg and libpng whenever
  # JPG and PNG are on, stb_image or not, and so fails any project's
  # find_package(SDL2_image) here: it asks only when they were linked.
  local config=$work/src/libsdl2-image/SDL2_imageConfig.cmake.in
  sed -i -E 's/^if\(SDL2IMAGE_(JPG|PNG) AND NOT SDL2IMAGE_VENDORED /&AND NOT SDL2IMAGE_BACKEND_STB /' "$config"
  [ "$(grep -c 'AND NOT SDL2IMAGE_BACKEND_STB' "$config")" -eq 2 ]

  local format formats=()
  for format in AVIF BMP GIF JPG JXL LBM PCX PNG PNM QOI SVG TGA TIF WEBP XCF XPM XV; do
    case $format in
      PNG|JPG|BMP|TGA|GIF|PCX) formats+=("-DSDL2IMAGE_$format=ON") ;;
      *) formats+=("-DSDL2IMAGE_$format=OFF") ;;
    esac
  done
  configure_build_install libsdl2-image \
    -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_BACKEND_WIC=OFF \
    -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
    -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_TESTS=OFF \
    -DSDL2IMAGE_PNG_SAVE=OFF -DSDL2IMAGE_JPG_SAVE=OFF \
    "${formats[@]}"
}

# WAV only (with its AIFF and VOC siblings, which are built in); every codec
# that needs another library, or bundles one, is off.
build_sdl2_mixer() {
  configure_build_install libsdl2-mixer \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
    -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_WAVE=ON \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF
}

# --- Licences and versions -------------------------------------------------

# The upstream licence, and Debian's copyright file, which also lists the
# code each library bundles (stb_image, hidapi, the math library...).
collect_licenses() {
  local name dir src file
  for name in freeglut:freeglut:COPYING SDL2:libsdl2:LICENSE.txt \
      SDL2_image:libsdl2-image:LICENSE.txt SDL2_mixer:libsdl2-mixer:LICENSE.txt; do
    IFS=: read -r dir src file <<< "$name"
    mkdir -p "$prefix/share/licenses/$dir"
    cp "$work/src/$src/$file" "$prefix/share/licenses/$dir/"
    cp "$work/src/$src/debian/copyright" "$prefix/share/licenses/$dir/debian-copyright"
  done
}

write_versions() {
  {
    echo "freeglut $(upstream "${freeglut_src[1]}") (Debian source package ${freeglut_src[0]} ${freeglut_src[1]})"
    echo "SDL2 $(upstream "${sdl2_src[1]}") (Debian source package ${sdl2_src[0]} ${sdl2_src[1]})"
    echo "SDL2_image $(upstream "${sdl2_image_src[1]}") (Debian source package ${sdl2_image_src[0]} ${sdl2_image_src[1]})"
    echo "SDL2_mixer $(upstream "${sdl2_mixer_src[1]}") (Debian source package ${sdl2_mixer_src[0]} ${sdl2_mixer_src[1]})"
    echo "built with $(dpkg-query -W -f='${Package} ${Version}' g++-mingw-w64-x86-64-posix)"
  } > "$prefix/versions.txt"
}

# 2.26.5+dfsg-1 -> 2.26.5
upstream() {
  local v=${1%-*}
  echo "${v%+dfsg}"
}

# side_by_side NAME FUNCTION NAME FUNCTION: both builds at once, logged;
# fails, once both are over, if either did.
side_by_side() {
  local status=0 first second
  logged "$1" "$2" &
  first=$!
  logged "$3" "$4" &
  second=$!
  wait $first || status=1
  wait $second || status=1
  return $status
}

logged sources fetch_sources
# freeglut does not need SDL: it builds while SDL2's configure, which runs
# its checks one at a time, leaves a core idle. SDL2_image and SDL2_mixer
# then build side by side.
side_by_side freeglut build_freeglut SDL2 build_sdl2
side_by_side SDL2_image build_sdl2_image SDL2_mixer build_sdl2_mixer
collect_licenses
write_versions
# bin/ holds the DLLs alone; the CMake and pkg-config files stand in for
# SDL2's shell script.
rm -f "$prefix/bin/sdl2-config"

expected_stamp > "$stamp.new"
mv "$stamp.new" "$stamp"
# The logs stay, for a look at what was configured.
rm -rf "$work/apt" "$work/src" "$work"/build-*
echo "Windows libraries: done, in $prefix (logs in $work)"
