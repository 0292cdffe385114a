// Standard error silenced for a while.
#pragma once

// While one lives, standard error goes nowhere: on Linux, ALSA prints every
// failed probe of the audio drivers there (a machine with no sound card gets
// a dozen lines), and the console is the game's. On Windows the drivers
// print nothing, and it changes nothing.
struct QuietStderr {
  int saved = -1;
  QuietStderr();
  ~QuietStderr();
};
