#include "app/command_line.h"

#include <cstring>

const char* const kUsage =
    "Usage: vekotra [X window options] [--free-running]\n"
    "  --free-running  draw frames as fast as the machine can, not 60 a second\n";

CommandLine readCommandLine(int argc, char** argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--free-running") == 0) {
      line.freeRunning = true;
    } else if (line.unknown == nullptr) {
      line.unknown = argv[i];
    }
  }
  return line;
}
