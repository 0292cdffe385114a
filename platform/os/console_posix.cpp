#include "platform/os/os.h"

#include <unistd.h>

void clearConsole() {
  if (isatty(STDOUT_FILENO)) {
    // Cursor home, erase the screen, then erase the scrollback as clear(1)
    // does: terminals that save an erased screen into their scrollback would
    // otherwise keep a copy of it at every clear.
    fputs("\x1b[H\x1b[2J\x1b[3J", stdout);
  }
}
