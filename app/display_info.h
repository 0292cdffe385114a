// Whether the display's OpenGL is drawn in software, and what the window
// asks for because of it.
#pragma once

#include <string>

// Whether an OpenGL renderer name is one of Mesa's software renderers:
// llvmpipe, softpipe or swrast.
bool isSoftwareRenderer(const std::string& renderer);

// Whether the game's window asks for multisampling. `option` is the command
// line's choice: 1 on, 0 off, -1 left to the game, which asks for it on
// hardware only: Mesa's software renderers draw every sample, so four
// samples a pixel halve their frame rate. Says so on standard error when it
// goes without.
bool chooseMultisample(int option, const char* displayName);
