#include "platform/os/os.h"

#include <unistd.h>

void clearConsole() {
  if (isatty(STDOUT_FILENO)) {
    // Erase the whole screen, then move the cursor home.
    fputs("\x1b[2J\x1b[H", stdout);
  }
}
