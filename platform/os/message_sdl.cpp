// The message box through SDL, which draws it in a window of its own.
#include <SDL.h>

#include "platform/os/os_internal.h"

bool showMessageBox(const char* caption, const char* text) {
  // Blocks until the box is closed; -1 at once when there is no display.
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) == 0;
}
