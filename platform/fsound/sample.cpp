#include "platform/fsound/fsound_internal.h"

FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char* name, unsigned int, int offset, int length) {
  if (offset != 0 || length != 0) return nullptr;
  SDL_RWops* rw = openWavFile(name);
  if (!rw) return nullptr;

  if (!fsoundDevice.open) {
    // Decoded only to learn whether it is a readable WAV: with no device
    // there is no format to keep it in.
    SDL_AudioSpec audioFormat;
    Uint8* data;
    Uint32 bytes;
    if (!decodeWav(rw, &audioFormat, &data, &bytes)) return nullptr;
    SDL_FreeWAV(data);
    return new FSOUND_SAMPLE{nullptr, 0};
  }
  // SDL_mixer decodes RIFF files with SDL's loader and converts them to the
  // device's format.
  refuseTruncatedWavs();
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
