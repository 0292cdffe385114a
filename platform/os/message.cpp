#include "platform/os/os.h"

#include <SDL.h>

#include <cstdlib>

void showMessage(bool exitAfter, const char* caption, const char* text) {
  // Whatever the game printed before comes first: when standard output is a
  // pipe or a file it would otherwise wait in its buffer while the box is up.
  fflush(stdout);
  // SDL draws the box in a window of its own and blocks until it is closed.
  // It returns -1 at once when there is no display, and then the message
  // still reaches the user through standard error.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) != 0) {
    fprintf(stderr, "%s: %s\n", caption, text);
  }
  if (exitAfter) exit(0);
}
