#include "sound/sound.h"

#include <cstdio>

FSOUND_SAMPLE* alarmSample = nullptr;
FSOUND_SAMPLE* missileSample = nullptr;
FSOUND_STREAM* musicStream = nullptr;

// Sound failures are reported with no line end, so they run together on one
// line ahead of the next console text; flushed at once so they show before
// the main loop starts.
static void report(const char* text) {
  fputs(text, stdout);
  fflush(stdout);
}

void initSound() {
  if (!FSOUND_Init(44100, 32, 0)) report("Erreur");

  alarmSample = FSOUND_Sample_Load(FSOUND_FREE, "Data/Les_Sons/Burglar.wav", 8496, 0, 0);
  if (!alarmSample) report("sound error");
  missileSample = FSOUND_Sample_Load(FSOUND_FREE, "Data/Les_Sons/missle.wav", 8496, 0, 0);
  if (!missileSample) report("sound error");

  // A missing music file is not reported: the game plays on without music,
  // and the two calls below do nothing on the null stream.
  musicStream = FSOUND_Stream_Open("Data/Les_Sons/vekotra.wav", FSOUND_LOOP_NORMAL, 0, 0);
  FSOUND_Stream_SetLoopCount(musicStream, -1);
  FSOUND_Stream_Play(FSOUND_FREE, musicStream);
}
