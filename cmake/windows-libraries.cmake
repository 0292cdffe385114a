# The Windows builds of the libraries the game links (scripts/windows-libs.sh
# makes them), under the target names pkg-config gives them on Linux, so the
# folders' own CMake files read the same on both platforms. Their CMake
# package files are used rather than their pkg-config files: SDL2's .pc adds
# SDL2main and -mwindows, which would make the game a GUI program with no
# console, and the game is a console program.
find_package(SDL2 CONFIG REQUIRED)
find_package(SDL2_image CONFIG REQUIRED)
find_package(SDL2_mixer CONFIG REQUIRED)
find_package(FreeGLUT CONFIG REQUIRED)

add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_link_libraries(PkgConfig::SDL2 INTERFACE SDL2::SDL2)
add_library(PkgConfig::SDL2_MIXER INTERFACE IMPORTED)
target_link_libraries(PkgConfig::SDL2_MIXER INTERFACE SDL2_mixer::SDL2_mixer)
add_library(PkgConfig::SDL2_IMAGE INTERFACE IMPORTED)
target_link_libraries(PkgConfig::SDL2_IMAGE INTERFACE SDL2_image::SDL2_image)
add_library(GLUT::GLUT INTERFACE IMPORTED)
target_link_libraries(GLUT::GLUT INTERFACE FreeGLUT::freeglut)

# The C++ runtime goes into the executable; winpthread, which std::thread
# needs, stays a DLL that ships beside it (see windows-runtime.cmake).
add_link_options(-static-libgcc -static-libstdc++)

# MinGW's GL/gl.h includes all of windows.h: without these its min and max
# macros and its rarely used parts would reach every file that draws. M_PI
# and its kin are not standard C++: MinGW's math.h names them on request.
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _USE_MATH_DEFINES)
