// A tiny builder of 3DS bytes for the model tests: chunks are nested by
// hand, so each test shows exactly the layout (or the damage) it reads.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace bytes3ds {

inline std::string u16(uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }
inline std::string u32(uint32_t v) {
  return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}
inline std::string f32(float f) {
  uint32_t bits;
  memcpy(&bits, &f, 4);
  return u32(bits);
}
inline std::string name(const std::string& text) { return text + std::string(1, '\0'); }

// A chunk with its true length, or with `length` written in its header.
inline std::string chunk(uint16_t id, const std::string& payload) {
  return u16(id) + u32(static_cast<uint32_t>(6 + payload.size())) + payload;
}
inline std::string chunkWithLength(uint16_t id, uint32_t length, const std::string& payload) {
  return u16(id) + u32(length) + payload;
}

struct Vec3 {
  float x, y, z;
};
struct Tri {
  uint16_t a, b, c;
};

inline std::string vertices(const std::vector<Vec3>& points) {
  std::string data = u16(static_cast<uint16_t>(points.size()));
  for (const Vec3& p : points) data += f32(p.x) + f32(p.y) + f32(p.z);
  return chunk(0x4110, data);
}
inline std::string texCoords(const std::vector<std::pair<float, float>>& pairs) {
  std::string data = u16(static_cast<uint16_t>(pairs.size()));
  for (const auto& uv : pairs) data += f32(uv.first) + f32(uv.second);
  return chunk(0x4140, data);
}
inline std::string faces(const std::vector<Tri>& tris, const std::string& groups = "") {
  std::string data = u16(static_cast<uint16_t>(tris.size()));
  for (const Tri& t : tris) data += u16(t.a) + u16(t.b) + u16(t.c) + u16(7);
  return chunk(0x4120, data + groups);
}
inline std::string group(const std::string& material, const std::vector<uint16_t>& faceNumbers) {
  std::string data = name(material) + u16(static_cast<uint16_t>(faceNumbers.size()));
  for (uint16_t f : faceNumbers) data += u16(f);
  return chunk(0x4130, data);
}
inline std::string object(const std::string& objectName, const std::string& meshChunks) {
  return chunk(0x4000, name(objectName) + chunk(0x4100, meshChunks));
}

inline std::string byteColor(uint8_t r, uint8_t g, uint8_t b) {
  return chunk(0x0011, std::string{char(r), char(g), char(b)});
}
inline std::string floatColor(float r, float g, float b) { return chunk(0x0010, f32(r) + f32(g) + f32(b)); }
inline std::string colorChunk(const std::string& colorSubChunks) { return chunk(0xA020, colorSubChunks); }
inline std::string mapChunk(const std::string& fileName, uint16_t id = 0xA200) {
  return chunk(id, chunk(0xA300, name(fileName)));
}
inline std::string material(const std::string& materialName, const std::string& more = "") {
  return chunk(0xAFFF, chunk(0xA000, name(materialName)) + more);
}
inline std::string solidMaterial(const std::string& materialName, uint8_t r, uint8_t g, uint8_t b) {
  return material(materialName, colorChunk(byteColor(r, g, b)));
}

inline std::string editor(const std::string& content) { return chunk(0x3D3D, content); }
inline std::string file3ds(const std::string& editorContent, uint16_t rootId = 0x4D4D) {
  return chunk(rootId, editor(editorContent));
}

// A square of side `size` in the file's x-y plane at height z, as two faces.
inline std::vector<Vec3> square(float x0, float y0, float size, float z = 0) {
  return {{x0, y0, z}, {x0 + size, y0, z}, {x0 + size, y0 + size, z}, {x0, y0 + size, z}};
}
inline std::vector<Tri> squareFaces() { return {{0, 1, 2}, {0, 2, 3}}; }

}  // namespace bytes3ds
