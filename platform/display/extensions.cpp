#include <cstring>

#include "platform/display/display.h"

bool offersExtension(const char* extensions, const char* name) {
  size_t length = strlen(name);
  for (const char* at = extensions; (at = strstr(at, name)) != nullptr; at += length) {
    bool starts = at == extensions || at[-1] == ' ';
    bool ends = at[length] == ' ' || at[length] == '\0';
    if (starts && ends) return true;
  }
  return false;
}
