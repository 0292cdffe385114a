# Cross-compiles for 64-bit Windows (x86_64-w64-mingw32) with Debian's
# MinGW-w64 toolchain, posix-threads flavour (std::thread and friends need it):
#
#   cmake -S . -B build/windows \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The Windows builds of freeglut and the SDL2 libraries come from
# scripts/windows-libs.sh, which installs them into build/windows-libs/; pass
# -DWINDOWS_LIBS_DIR=/other/prefix when they were built somewhere else.
#
# Runtime DLLs: whatever this toolchain links dynamically has to travel with
# the .exe. Unless a target links them statically (-static-libgcc,
# -static-libstdc++, and winpthread through -static or -Wl,-Bstatic), a C++
# program built with it imports
#   libstdc++-6.dll, libgcc_s_seh-1.dll  from /usr/lib/gcc/x86_64-w64-mingw32/<version>-posix/
#   libwinpthread-1.dll                  from /usr/x86_64-w64-mingw32/lib/
# Which of them to link statically is the business of each project that uses
# this file; the libraries from scripts/windows-libs.sh import none of them.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLET}-windres)
# ar, ranlib, strip, dlltool and the rest: CMake finds the x86_64-w64-mingw32-
# ones from the compilers' names.

# Where the Windows libraries are: the cache scripts/windows-libs.sh fills,
# unless told otherwise. try_compile() projects read this file again, so the
# variable is handed on to them.
if(NOT WINDOWS_LIBS_DIR)
  if(DEFINED ENV{WINDOWS_LIBS_DIR})
    set(WINDOWS_LIBS_DIR "$ENV{WINDOWS_LIBS_DIR}")
  else()
    get_filename_component(WINDOWS_LIBS_DIR "${CMAKE_CURRENT_LIST_DIR}/../build/windows-libs" ABSOLUTE)
  endif()
endif()
set(WINDOWS_LIBS_DIR "${WINDOWS_LIBS_DIR}" CACHE PATH "Prefix holding the Windows builds of freeglut and SDL2")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES WINDOWS_LIBS_DIR)

# find_package, find_library, find_path and find_file look in the target's
# prefixes only, never in the host's /usr/lib or /usr/include, while programs
# (generators, code formatters) still come from the host.
set(CMAKE_FIND_ROOT_PATH "${WINDOWS_LIBS_DIR}" /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config the same way: the target's .pc files, not the host's (the
# host's sdl2.pc would hand the Linux library's flags to a Windows link).
set(ENV{PKG_CONFIG_LIBDIR} "${WINDOWS_LIBS_DIR}/lib/pkgconfig:/usr/${MINGW_TRIPLET}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
