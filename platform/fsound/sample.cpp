#include "platform/fsound/fsound_internal.h"

// A complete WAV decodes; one whose chunks stop short of their stated sizes
// is refused rather than played in part. The RIFF size is not checked, since
// many writers leave it wrong. A user's own setting of the hint still wins.
static void refuseTruncatedWavs() {
  SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
}

// Decodes the whole file only to learn whether it is a readable WAV; with no
// device there is no format to keep it in.
static bool decodes(SDL_RWops* rw) {
  SDL_AudioSpec spec;
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(rw, 1, &spec, &data, &length)) return false;
  SDL_FreeWAV(data);
  return true;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char* name, unsigned int, int offset, int length) {
  if (offset != 0 || length != 0) return nullptr;
  SDL_RWops* rw = openWavFile(name);
  if (!rw) return nullptr;
  refuseTruncatedWavs();

  if (!fsoundDevice.open) {
    if (!decodes(rw)) return nullptr;
    return new FSOUND_SAMPLE{nullptr, 0};
  }
  Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
  if (!chunk) return nullptr;
  return new FSOUND_SAMPLE{chunk, fsoundDevice.number};
}

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample) {
  if (!sample || !sample->chunk || !fsoundDeviceIs(sample->device)) return -1;
  if (channel != FSOUND_FREE && (channel < 0 || channel >= fsoundDevice.channels)) return -1;
  // On a fixed channel SDL_mixer cuts the sound playing there first.
  return Mix_PlayChannel(channel, sample->chunk, 0);
}
