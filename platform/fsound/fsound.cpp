#include "platform/fsound/fsound.h"

// Silent until the mixer lands: every handle is null.
signed char FSOUND_Init(int, int, unsigned int) { return 0; }
FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char*, unsigned int, int, int) { return nullptr; }
FSOUND_STREAM* FSOUND_Stream_Open(const char*, unsigned int, int, int) { return nullptr; }
signed char FSOUND_Stream_SetLoopCount(FSOUND_STREAM*, int) { return 0; }
int FSOUND_Stream_Play(int, FSOUND_STREAM*) { return -1; }
int FSOUND_PlaySound(int, FSOUND_SAMPLE*) { return -1; }
