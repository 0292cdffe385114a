#include "input/mouse.h"

void onMouseButton(int, int, int, int) {}
void onMouseMotion(int, int) {}
