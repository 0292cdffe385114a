#include "app/command_line.h"

#include <cstring>

const char* const kUsage =
    "Usage: vekotra [X window options] [--free-running] [--multisample=on|off] [--game-speed=N]\n"
    "  --free-running        draw frames as fast as the machine can, not at the display's\n"
    "                        rate; the game keeps its speed\n"
    "  --multisample=on|off  smooth edges or not (default: on, but off on a software renderer)\n"
    "  --game-speed=N        run game time N times as fast as real time, 1 to 8 (for tests)\n";

static const int kFastestGame = 8;

// The whole number 1 to kFastestGame that `text` holds exactly, or 0.
static int gameSpeedValue(const char* text) {
  int value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9' || value > kFastestGame) return 0;
    value = value * 10 + (*c - '0');
  }
  return value <= kFastestGame ? value : 0;
}

CommandLine readCommandLine(int argc, char** argv) {
  static const char kSpeed[] = "--game-speed=";
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    bool known = true;
    if (strcmp(arg, "--free-running") == 0) {
      line.freeRunning = true;
    } else if (strcmp(arg, "--multisample=on") == 0) {
      line.multisample = 1;
    } else if (strcmp(arg, "--multisample=off") == 0) {
      line.multisample = 0;
    } else if (strncmp(arg, kSpeed, sizeof kSpeed - 1) == 0 && gameSpeedValue(arg + sizeof kSpeed - 1) > 0) {
      line.gameSpeed = gameSpeedValue(arg + sizeof kSpeed - 1);
    } else {
      known = false;
    }
    if (!known && line.unknown == nullptr) line.unknown = arg;
  }
  return line;
}
