// The game's sounds: the looping music and the two effect samples.
#pragma once

#include "platform/fsound/fsound.h"

// Null when loading failed; playing a null handle does nothing.
extern FSOUND_SAMPLE* alarmSample;
extern FSOUND_SAMPLE* missileSample;
extern FSOUND_STREAM* musicStream;

// Opens the sound library, loads the alarm and missile samples and starts the
// music, looping.
void initSound();
