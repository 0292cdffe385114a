#include <climits>

#include "platform/fsound/fsound_internal.h"

static void put16(Uint8*& at, Uint32 value) {
  *at++ = value & 0xff;
  *at++ = (value >> 8) & 0xff;
}

static void put32(Uint8*& at, Uint32 value) {
  put16(at, value & 0xffff);
  put16(at, value >> 16);
}

static void putTag(Uint8*& at, const char* tag) {
  for (int i = 0; i < 4; ++i) *at++ = static_cast<Uint8>(tag[i]);
}

// A canonical WAV file (RIFF header, "fmt ", "data") holding decoded PCM, in
// one block that is never released; null if it cannot be made. SDL_mixer's
// own streaming WAV reader trusts the header fields it reads (a zero rate
// divides by zero), so it is given only files written here, from audio that
// SDL's checking loader has already decoded.
static Uint8* canonicalWav(const SDL_AudioSpec& audioFormat, const Uint8* data, Uint32 bytes,
                           int* size) {
  const Uint32 header = 44;
  if (bytes > static_cast<Uint32>(INT_MAX) - header) return nullptr;
  Uint32 bits = SDL_AUDIO_BITSIZE(audioFormat.format);
  Uint32 blockAlign = audioFormat.channels * (bits / 8);
  Uint8* file = static_cast<Uint8*>(SDL_malloc(header + bytes));
  if (!file) return nullptr;
  Uint8* at = file;
  putTag(at, "RIFF");
  put32(at, 36 + bytes);
  putTag(at, "WAVE");
  putTag(at, "fmt ");
  put32(at, 16);
  put16(at, SDL_AUDIO_ISFLOAT(audioFormat.format) ? 3 : 1);  // IEEE float or PCM
  put16(at, audioFormat.channels);
  put32(at, static_cast<Uint32>(audioFormat.freq));
  put32(at, static_cast<Uint32>(audioFormat.freq) * blockAlign);
  put16(at, blockAlign);
  put16(at, bits);
  putTag(at, "data");
  put32(at, bytes);
  SDL_memcpy(at, data, bytes);
  *size = static_cast<int>(header + bytes);
  return file;
}

// The stream is decoded whole when opened and played from memory: no file
// stays open, so nothing is read from disk while the game runs or exits.
FSOUND_STREAM* FSOUND_Stream_Open(const char* name, unsigned int mode, int offset, int length) {
  if (offset != 0 || length != 0 || !fsoundDevice.open) return nullptr;
  SDL_RWops* rw = openWavFile(name);
  if (!rw) return nullptr;
  SDL_AudioSpec audioFormat;
  Uint8* data;
  Uint32 bytes;
  if (!decodeWav(rw, &audioFormat, &data, &bytes)) return nullptr;
  int size = 0;
  Uint8* file = canonicalWav(audioFormat, data, bytes, &size);
  SDL_FreeWAV(data);
  if (!file) return nullptr;

  // The music owns the memory reader and closes it when freed, or at once if
  // the load fails.
  Mix_Music* music = Mix_LoadMUSType_RW(SDL_RWFromConstMem(file, size), MUS_WAV, 1);
  if (!music) {
    SDL_free(file);
    return nullptr;
  }
  int loopCount = (mode & FSOUND_LOOP_NORMAL) ? -1 : 0;
  return new FSOUND_STREAM{music, file, fsoundDevice.number, loopCount};
}

signed char FSOUND_Stream_SetLoopCount(FSOUND_STREAM* stream, int count) {
  if (!stream) return 0;
  stream->loopCount = count < 0 ? -1 : count;
  return 1;
}

int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream) {
  if (!stream || !fsoundDeviceIs(stream->device)) return -1;
  if (channel != FSOUND_FREE && channel < 0) return -1;
  // SDL_mixer counts plays, not repeats: -1 for ever, n plays n times. A
  // count too large to add one to loops for ever as well.
  int count = stream->loopCount;
  int plays = count < 0 || count == INT_MAX ? -1 : count + 1;
  if (Mix_PlayMusic(stream->music, plays) != 0) return -1;
  return fsoundDevice.channels;
}
