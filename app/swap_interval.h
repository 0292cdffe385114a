// The buffer swap's wait for the vertical blank, asked of the GLX driver.
#pragma once

// Asks the current context's driver to make each buffer swap wait for
// `interval` vertical blanks (0: no wait), through the first of
// GLX_EXT_swap_control, GLX_MESA_swap_control and GLX_SGI_swap_control that
// the context offers. Returns the extension's name, or null when none is
// offered or it refused (SGI's refuses 0). A driver may still not wait:
// under Xvfb there is no vertical blank.
const char* setSwapInterval(int interval);

// Whether the space-separated extension list names `name` as a whole word.
bool offersExtension(const char* extensions, const char* name);
