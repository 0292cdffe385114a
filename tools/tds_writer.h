// A small 3DS writer: the chunk tree that the game's model reader interprets,
// and nothing more. Main chunk 0x4D4D holding one editor chunk 0x3D3D with
// every material (0xAFFF: name 0xA000, diffuse colour 0xA020 as byte 0x0011
// or float 0x0010, optional texture map 0xA200 / 0xA300) followed by every
// object (0x4000 name, mesh 0x4100: vertices 0x4110, optional texture
// coordinates 0x4140, faces 0x4120 with one 0x4130 group per material).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TdsMaterial {
  std::string name;
  bool floatColor = false;  // write the colour as 0x0010 (floats) instead of 0x0011 (bytes)
  float color[3] = {1, 1, 1};  // red, green, blue in 0..1
  std::string mapFile;      // texture file name as written in the file; empty: colour only
};

// Faces of an object drawn with one material.
struct TdsGroup {
  std::string material;
  std::vector<uint16_t> faces;  // face numbers into TdsObject::faces / 3
};

// One object in the file's own axes (z up): the writer stores vertices as
// given; the reader turns (f0, f1, f2) into (f0, f2, -f1).
struct TdsObject {
  std::string name;
  std::vector<float> vertices;   // f0, f1, f2 per vertex
  std::vector<float> texCoords;  // u, v per vertex; empty: no 0x4140 chunk
  std::vector<uint16_t> faces;   // i1, i2, i3 per face
  std::vector<TdsGroup> groups;
};

struct TdsModel {
  std::vector<TdsMaterial> materials;
  std::vector<TdsObject> objects;
};

// The bytes of a 3DS file holding `model`. Returns an empty vector and sets
// `error` when the model cannot be written as 3DS: more than 65,535 vertices,
// texture coordinates, faces or group entries in one object, a vertex index or
// face number out of range, texture coordinates not one pair per vertex, a
// name longer than 79 bytes or holding a zero byte.
std::vector<uint8_t> writeTds(const TdsModel& model, std::string* error);

// The byte form of a colour component as the writer stores it in 0x0011.
uint8_t colorByte(float component);
