#include "input/wiimote.h"

void initWiimote() {}
