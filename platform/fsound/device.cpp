#include <cstdio>

#include "platform/fsound/fsound_internal.h"
#include "platform/fsound/quiet_stderr.h"

FsoundDevice fsoundDevice = {false, 0, 0};

// Frames mixed per device buffer: about 23 ms at 44100 Hz, short enough that
// an effect starts with its key press.
static const int kBufferFrames = 1024;
static const int kMaxChannels = 4096;
static const int kMaxMixRate = 384000;

bool fsoundDeviceIs(int device) {
  return fsoundDevice.open && device == fsoundDevice.number;
}

static bool openDevice(int mixrate) {
  QuietStderr quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // No changes allowed: the mix runs at exactly the asked rate in 16-bit
  // stereo, and SDL converts for the hardware when it differs.
  if (Mix_OpenAudioDevice(mixrate, AUDIO_S16SYS, 2, kBufferFrames, nullptr, 0) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

signed char FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int) {
  if (fsoundDevice.open) return 1;
  if (mixrate <= 0 || mixrate > kMaxMixRate) return 0;
  if (maxsoftwarechannels < 0 || maxsoftwarechannels > kMaxChannels) return 0;

  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Vekotra");
  // SDL would otherwise catch SIGINT and SIGTERM to queue a quit event that
  // the game never reads, and Ctrl+C or kill would no longer end it.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // SDL's list of hints has no lock, and its audio thread reads it: a hint
  // first set while that thread runs is a data race. Loading a sample sets
  // this one again, to the same value, which then changes nothing.
  refuseTruncatedWavs();
  if (!openDevice(mixrate)) return 0;
  fsoundDevice.channels = Mix_AllocateChannels(maxsoftwarechannels);
  fsoundDevice.number += 1;
  fsoundDevice.open = true;
  return 1;
}

void FSOUND_Close() {
  if (!fsoundDevice.open) return;
  Mix_HaltChannel(-1);
  Mix_HaltMusic();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  fsoundDevice.open = false;
  fsoundDevice.channels = 0;
}
