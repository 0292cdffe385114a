#include <climits>

#include "platform/fsound/fsound_internal.h"

FSOUND_STREAM* FSOUND_Stream_Open(const char* name, unsigned int mode, int offset, int length) {
  if (offset != 0 || length != 0 || !fsoundDevice.open) return nullptr;
  SDL_RWops* rw = openWavFile(name);
  if (!rw) return nullptr;
  // The music keeps the file and reads it as it plays; SDL_mixer closes it
  // when the load fails.
  Mix_Music* music = Mix_LoadMUSType_RW(rw, MUS_WAV, 1);
  if (!music) return nullptr;
  int loopCount = (mode & FSOUND_LOOP_NORMAL) ? -1 : 0;
  return new FSOUND_STREAM{music, fsoundDevice.number, loopCount};
}

signed char FSOUND_Stream_SetLoopCount(FSOUND_STREAM* stream, int count) {
  if (!stream) return 0;
  stream->loopCount = count < 0 ? -1 : count;
  return 1;
}

int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream) {
  if (!stream || !fsoundDeviceIs(stream->device)) return -1;
  if (channel != FSOUND_FREE && channel < 0) return -1;
  // SDL_mixer counts plays, not repeats: -1 for ever, n plays n times.
  // A count too large to add one to loops for ever as well.
  int count = stream->loopCount;
  int plays = count < 0 || count == INT_MAX ? -1 : count + 1;
  if (Mix_PlayMusic(stream->music, plays) != 0) return -1;
  return fsoundDevice.channels;
}
