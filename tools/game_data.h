// Everything the game loads from its working directory, generated: the six
// models, their three textures, the three sounds and the window's icon; and
// the game's icons for the desktop's icon theme.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DataFile {
  std::string path;  // relative to the game's working directory, '/' separated
  std::vector<uint8_t> bytes;
};

// Every data file, in a fixed order, with the same bytes on every call: the
// models, textures and sounds, and the window's icon at 16, 32, 48 and 128
// pixels ("data/icons/vekotra_<size>.png").
// Texture files are stored under lower-case names; the models name them in
// upper case, and the game's file lookup ignores case.
std::vector<DataFile> makeGameData();

// One line per model, in the order the game loads them: its path as the
// game names it ("data//map//earth3.3DS"), the number of objects, the total
// vertices and faces, then each object's vertices and faces. These are the
// numbers the game's statistics print shows for the generated data.
std::string modelCounts();

// Writes the files of makeGameData under `directory`, creating folders as
// needed. A file whose bytes are already on disk is not rewritten. Returns
// false with a message in `error` when a file cannot be written.
bool writeGameData(const std::string& directory, std::string* error);

// The application icon in the hicolor theme's layout, one PNG per size:
// "hicolor/<size>x<size>/apps/vekotra.png" for 48, 128 and 256 pixels.
std::vector<DataFile> makeIcons();

// "vekotra.ico": the application icon at 16, 24, 32, 48 and 256 pixels, the
// sizes Windows shows in its menus, task bar and Explorer.
DataFile makeWindowsIcon();

// Writes the files under `directory` as writeGameData does.
bool writeDataFiles(const std::string& directory, const std::vector<DataFile>& files, std::string* error);
