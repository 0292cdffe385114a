// The walkers of material chunks: name, colour and texture map.
#include <cmath>
#include <cstring>
#include <string>

#include "model/chunk_io.h"
#include "model/model_3ds.h"

void Model_3DS::readMaterialChunk(uint32_t length, long start, int material) {
  long end = start + length - 6;
  ChunkHeader chunk;
  for (long pos = start; nextChunk(stream, pos, end, chunk, &damage); pos += chunk.length) {
    if (chunk.id == MATERIAL_NAME) readMaterialName(chunk.length, chunk.data, material);
    if (chunk.id == COLOR) readColorChunk(chunk.length, chunk.data, material);
    if (chunk.id == TEXTURE_MAP || chunk.id == SPECULAR) readTextureMapChunk(chunk.length, chunk.data, material);
  }
  fseek(stream, start, SEEK_SET);
}

void Model_3DS::readMaterialName(uint32_t length, long start, int material) {
  readName(stream, start, start + length - 6, materials[material].name, &damage);
  fseek(stream, start, SEEK_SET);
}

// The last colour sub-chunk read wins.
void Model_3DS::readColorChunk(uint32_t length, long start, int material) {
  long end = start + length - 6;
  ChunkHeader chunk;
  for (long pos = start; nextChunk(stream, pos, end, chunk, &damage); pos += chunk.length) {
    if (chunk.id == COLOR_FLOAT || chunk.id == COLOR_FLOAT_GAMMA) {
      readFloatColor(chunk.length, chunk.data, material);
    }
    if (chunk.id == COLOR_BYTE || chunk.id == COLOR_BYTE_GAMMA) {
      readByteColor(chunk.length, chunk.data, material);
    }
  }
  fseek(stream, start, SEEK_SET);
}

// The low 8 bits of the integer part, toward zero, of `component` x 255;
// 1.5 gives 382, stored as 126. Values no integer can hold (NaN, infinities)
// give 0 rather than an undefined conversion.
static unsigned char colorByte(float component) {
  float scaled = component * 255.0f;
  if (!std::isfinite(scaled)) return 0;
  double low = std::fmod(std::trunc(static_cast<double>(scaled)), 256.0);
  if (low < 0) low += 256.0;
  return static_cast<unsigned char>(low);
}

// A colour chunk too short for its three values leaves the colour as it was.
void Model_3DS::readFloatColor(uint32_t length, long start, int material) {
  float rgb[3];
  if (length - 6 < sizeof rgb || fseek(stream, start, SEEK_SET) != 0 || fread(rgb, sizeof rgb, 1, stream) != 1) {
    ++damage;
  } else {
    unsigned char* color = materials[material].color;
    for (int c = 0; c < 3; ++c) color[c] = colorByte(rgb[c]);
    color[3] = 255;
  }
  fseek(stream, start, SEEK_SET);
}

void Model_3DS::readByteColor(uint32_t length, long start, int material) {
  unsigned char rgb[3];
  if (length - 6 < sizeof rgb || fseek(stream, start, SEEK_SET) != 0 || fread(rgb, sizeof rgb, 1, stream) != 1) {
    ++damage;
  } else {
    unsigned char* color = materials[material].color;
    memcpy(color, rgb, 3);
    color[3] = 255;
  }
  fseek(stream, start, SEEK_SET);
}

void Model_3DS::readTextureMapChunk(uint32_t length, long start, int material) {
  long end = start + length - 6;
  ChunkHeader chunk;
  for (long pos = start; nextChunk(stream, pos, end, chunk, &damage); pos += chunk.length) {
    if (chunk.id == MAP_FILE) readMapFileName(chunk.length, chunk.data, material);
  }
  fseek(stream, start, SEEK_SET);
}

// The texture path is the model's folder followed by the map file name, kept
// whole however long (no 80-byte cut that would name another file). The
// material counts as textured whether or not the image loads.
void Model_3DS::readMapFileName(uint32_t length, long start, int material) {
  char fileName[80];
  readName(stream, start, start + length - 6, fileName, &damage);
  std::string path = std::string(folder ? folder : "") + fileName;
  ModelMaterial& mat = materials[material];
  delete[] mat.texture.name;  // a second map of the same material replaces the first
  mat.texture.name = nullptr;
  mat.texture.load(path.c_str());
  mat.textured = true;
  fseek(stream, start, SEEK_SET);
}
