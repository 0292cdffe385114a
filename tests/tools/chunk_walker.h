// An independent reading of 3DS bytes for the generator's tests: a strict
// walk of the chunk tree (every length must fit its parent exactly) and the
// model it describes, in the file's own axes. It shares no code with the
// writer or the game's reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WalkedChunk {
  uint16_t id = 0;
  size_t offset = 0;  // of the header
  size_t end = 0;     // one past the chunk's last byte
  std::vector<WalkedChunk> children;
};

struct WalkedMaterial {
  std::string name;
  std::vector<uint16_t> colorChunks;  // ids of the colour sub-chunks, in order
  uint8_t color[3] = {0, 0, 0};       // the last colour read, as bytes
  std::string mapFile;
};

struct WalkedGroup {
  std::string material;
  std::vector<uint16_t> faces;
};

struct WalkedObject {
  std::string name;
  std::vector<float> vertices;  // file axes
  std::vector<float> texCoords;
  std::vector<uint16_t> faces;  // 3 per face, flags dropped
  std::vector<WalkedGroup> groups;
};

struct WalkedModel {
  WalkedChunk root;
  std::vector<WalkedMaterial> materials;
  std::vector<WalkedObject> objects;
};

// Walks `bytes`; returns false with a message when the tree is malformed:
// a length that overruns its parent, a fixed part that overruns its chunk,
// bytes left over after the root chunk.
bool walkTds(const std::vector<uint8_t>& bytes, WalkedModel* model, std::string* error);

// The ids of the chunk tree, depth first, one line per chunk, indented by depth.
std::string describeTree(const WalkedChunk& chunk, int depth = 0);

std::vector<uint8_t> readBytes(const std::string& path);
