// The game's own command-line options, read after GLUT has taken its own
// (-display, -geometry, -iconic and the like).
#pragma once

struct CommandLine {
  // --free-running: frames follow each other as fast as the machine draws
  // them, with no frame pacing and no wait for the vertical blank; the game
  // clock keeps its 60 ticks a second. For measurements.
  bool freeRunning = false;
  // --multisample=on|off: 1 or 0; -1 when not given, and the game asks for
  // multisampling on hardware renderers only.
  int multisample = -1;
  // --game-speed=N: game time runs N times as fast as real time (1 to 8),
  // for tests that fly far without waiting.
  int gameSpeed = 1;
  // The first argument the game does not know, or whose value it does not
  // accept; null when every one is known.
  const char* unknown = nullptr;
};

// The options among argv[1] to argv[argc - 1].
CommandLine readCommandLine(int argc, char** argv);

// The usage text, one line per option, for a command line with an unknown
// argument.
extern const char* const kUsage;
