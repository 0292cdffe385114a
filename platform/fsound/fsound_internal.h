// What the FSOUND operations share behind the public header: the handle
// records, the state of the audio device, and the opening of WAV files.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/fsound/fsound.h"

struct FSOUND_SAMPLE {
  Mix_Chunk* chunk;  // decoded in the device's format; null when no device was open
  int device;        // number of the device the chunk was made for
};

struct FSOUND_STREAM {
  Mix_Music* music;
  Uint8* file;    // the WAV file the music plays from, rewritten in memory
  int device;     // number of the device the stream was opened on
  int loopCount;  // repeats after the first play; negative loops for ever
};

// The audio device. `number` counts the opens from 1, so a handle made for an
// earlier device can be told apart; 0 before the first open.
struct FsoundDevice {
  bool open;
  int number;
  int channels;  // sample channels allocated
};
extern FsoundDevice fsoundDevice;

// True when the device is open and is the one `device` names.
bool fsoundDeviceIs(int device);

// Opens `name` (found through the case-insensitive lookup) for reading as a
// WAV file: an SDL_RWops over a plain file descriptor, positioned at the start,
// that closes the descriptor when closed. Null, with nothing left open, when
// the file is missing, is not a regular file, or does not begin with a RIFF
// WAVE header. Reading goes through read(2), not stdio.
SDL_RWops* openWavFile(const char* name);

// Decodes a whole WAV file with SDL's loader, which checks every field, and
// closes `rw`. The audio comes back as PCM (8-, 16- or 32-bit integer or
// 32-bit float) in a buffer to release with SDL_FreeWAV. A file whose chunks
// stop short of their stated sizes is refused rather than decoded in part;
// the RIFF size is not checked, since many writers leave it wrong (a user's
// own setting of SDL_WAVE_TRUNCATION still wins).
bool decodeWav(SDL_RWops* rw, SDL_AudioSpec* audioFormat, Uint8** data, Uint32* length);

// Sets the same rule for the loads SDL_mixer makes itself.
void refuseTruncatedWavs();
