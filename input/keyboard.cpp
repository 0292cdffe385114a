#include "input/keyboard.h"

#include <cstdlib>

void onKeyboard(unsigned char key, int, int) {
  if (key == 27) exit(0);
}
void onSpecialKey(int, int, int) {}
