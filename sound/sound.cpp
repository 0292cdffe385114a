#include "sound/sound.h"

void initSound() {}
