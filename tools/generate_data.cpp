// vekotra_datagen DIRECTORY: writes the game's models, textures and sounds
// under DIRECTORY, the game's working directory. Same bytes on every run.
// vekotra_datagen --counts: prints the object, vertex and face counts of the
// six models (see modelCounts), for tests that check the game's statistics.
#include <cstdio>
#include <string>

#include "tools/game_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s DIRECTORY | --counts\n", argc > 0 ? argv[0] : "vekotra_datagen");
    return 2;
  }
  if (std::string(argv[1]) == "--counts") {
    fputs(modelCounts().c_str(), stdout);
    return 0;
  }
  std::string error;
  if (!writeGameData(argv[1], &error)) {
    fprintf(stderr, "vekotra_datagen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
