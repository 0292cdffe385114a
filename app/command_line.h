// The game's own command-line options, read after GLUT has taken its own
// (-display, -geometry, -iconic and the like).
#pragma once

struct CommandLine {
  // --free-running: frames follow each other as fast as the machine draws
  // them, with no frame pacing and no wait for the vertical blank; for
  // measurements.
  bool freeRunning = false;
  // The first argument the game does not know; null when every one is known.
  const char* unknown = nullptr;
};

// The options among argv[1] to argv[argc - 1].
CommandLine readCommandLine(int argc, char** argv);

// The usage text, one line per option, for a command line with an unknown
// argument.
extern const char* const kUsage;
