// vekotra_datagen DIRECTORY: writes the game's models, textures, sounds and
// window icon under DIRECTORY, the game's working directory. Same bytes on
// every run.
// vekotra_datagen --counts: prints the object, vertex and face counts of the
// six models (see modelCounts), for tests that check the game's statistics.
// vekotra_datagen --icons DIRECTORY: writes the game's icons under DIRECTORY
// in the icon theme's layout (DIRECTORY/hicolor/48x48/apps/vekotra.png ...),
// and DIRECTORY/vekotra.ico, the Windows executable's icon.
#include <cstdio>
#include <string>

#include "tools/game_data.h"

int main(int argc, char** argv) {
  bool icons = argc == 3 && std::string(argv[1]) == "--icons";
  if (argc != 2 && !icons) {
    fprintf(stderr, "usage: %s DIRECTORY | --counts | --icons DIRECTORY\n", argc > 0 ? argv[0] : "vekotra_datagen");
    return 2;
  }
  if (std::string(argv[1]) == "--counts") {
    fputs(modelCounts().c_str(), stdout);
    return 0;
  }
  std::string error;
  bool written = icons ? writeDataFiles(argv[2], makeIcons(), &error) &&
                             writeDataFiles(argv[2], {makeWindowsIcon()}, &error)
                       : writeGameData(argv[1], &error);
  if (!written) {
    fprintf(stderr, "vekotra_datagen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
