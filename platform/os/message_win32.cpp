// The message box the game was written against: MessageBoxA, no owner
// window, one OK button.
#include <windows.h>

#include "platform/os/os_internal.h"

bool showMessageBox(const char* caption, const char* text) {
  // Zero only when the box could not be made (no desktop, as in a service).
  return MessageBoxA(nullptr, text, caption, MB_OK) != 0;
}
