// The console clear through the console API: what the command interpreter's
// "cls" does to the console, without starting a process to do it.
#include <windows.h>

#include <cstdio>

#include "platform/os/os.h"

void clearConsole() {
  HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  // Fails for a file or a pipe: the log is left as it is.
  if (console == INVALID_HANDLE_VALUE || console == nullptr ||
      !GetConsoleScreenBufferInfo(console, &info)) {
    return;
  }
  // What stdio still holds goes out first, so that it lands before the
  // clear as the text of an ANSI sequence would.
  fflush(stdout);
  // The whole buffer, the scrollback included, as "cls" clears it.
  DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  COORD home = {0, 0};
  DWORD written = 0;
  FillConsoleOutputCharacterA(console, ' ', cells, home, &written);
  FillConsoleOutputAttribute(console, info.wAttributes, cells, home, &written);
  SetConsoleCursorPosition(console, home);
}
