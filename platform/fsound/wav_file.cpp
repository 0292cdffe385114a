#include <cstdio>
#include <cstring>

#include "platform/fsound/fsound_internal.h"
#include "platform/os/os.h"

// Whether the file starts with a RIFF WAVE header; the file is left at its
// start.
static bool hasWavHeader(FILE* file) {
  unsigned char header[12];
  bool wav = fread(header, 1, sizeof header, file) == sizeof header &&
             memcmp(header, "RIFF", 4) == 0 && memcmp(header + 8, "WAVE", 4) == 0;
  return wav && fseek(file, 0, SEEK_SET) == 0;
}

SDL_RWops* openWavFile(const char* name) {
  if (!name) return nullptr;
  // openFile opens regular files only: a FIFO would wait for a writer.
  FILE* file = openFile(name, "rb");
  if (!file) return nullptr;
  if (!hasWavHeader(file)) {
    fclose(file);
    return nullptr;
  }
  SDL_RWops* rw = SDL_RWFromFP(file, SDL_TRUE);
  if (!rw) fclose(file);
  return rw;
}

void refuseTruncatedWavs() {
  SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
}

bool decodeWav(SDL_RWops* rw, SDL_AudioSpec* audioFormat, Uint8** data, Uint32* length) {
  refuseTruncatedWavs();
  *data = nullptr;
  *length = 0;
  return SDL_LoadWAV_RW(rw, 1, audioFormat, data, length) != nullptr;
}
