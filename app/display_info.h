// What the display offers the game: the monitor's refresh rate, and whether
// its OpenGL is drawn in software.
#pragma once

#include <string>

// The refresh rate, in Hz, of the monitor showing the current GLX drawable
// (the one holding the drawable's centre, else the first one lit), as
// XRandR reports it; 0 when it reports none, as under Xvfb.
double displayRefreshRate();

// Whether an OpenGL renderer name is one of Mesa's software renderers:
// llvmpipe, softpipe or swrast.
bool isSoftwareRenderer(const std::string& renderer);

// The renderer name of an OpenGL context on the display named (null: the
// DISPLAY variable's), made on a window that is never shown; empty when none
// can be made.
std::string probeRenderer(const char* displayName);

// Whether the game's window asks for multisampling. `option` is the command
// line's choice: 1 on, 0 off, -1 left to the game, which asks for it on
// hardware only: Mesa's software renderers draw every sample, so four
// samples a pixel halve their frame rate. Says so on standard error when it
// goes without.
bool chooseMultisample(int option, const char* displayName);
