#include "sound/sound.h"

FSOUND_SAMPLE* alarmSample = nullptr;
FSOUND_SAMPLE* missileSample = nullptr;
FSOUND_STREAM* musicStream = nullptr;

void initSound() {}
