#include <cstdlib>

#include "platform/os/os.h"
#include "platform/os/os_internal.h"

void showMessage(bool exitAfter, const char* caption, const char* text) {
  // Whatever the game printed before comes first: when standard output is a
  // pipe or a file it would otherwise wait in its buffer while the box is up.
  fflush(stdout);
  // With no display to show the box on, the message still reaches the user.
  if (!showMessageBox(caption, text)) fprintf(stderr, "%s: %s\n", caption, text);
  if (exitAfter) exit(0);
}
