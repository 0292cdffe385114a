#include "tools/tds_writer.h"

#include <cmath>
#include <cstring>

namespace {

// Appends little-endian values and nested chunks to a byte buffer. A chunk's
// length is patched in when the chunk is closed.
struct ChunkBuffer {
  std::vector<uint8_t> bytes;
  std::vector<size_t> open;

  void u8(uint8_t v) { bytes.push_back(v); }
  void u16(uint16_t v) {
    u8(v & 0xff);
    u8(v >> 8);
  }
  void u32(uint32_t v) {
    u16(v & 0xffff);
    u16(v >> 16);
  }
  void f32(float v) {
    uint32_t bits;
    memcpy(&bits, &v, 4);
    u32(bits);
  }
  void text(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    u8(0);
  }
  void begin(uint16_t id) {
    open.push_back(bytes.size());
    u16(id);
    u32(0);
  }
  void end() {
    size_t start = open.back();
    open.pop_back();
    uint32_t length = static_cast<uint32_t>(bytes.size() - start);
    for (int i = 0; i < 4; ++i) bytes[start + 2 + i] = (length >> (8 * i)) & 0xff;
  }
};

bool validName(const std::string& name, const char* what, std::string* error) {
  if (name.size() > 79 || name.find('\0') != std::string::npos) {
    *error = std::string(what) + " name '" + name.c_str() + "' does not fit a 3DS name";
    return false;
  }
  return true;
}

bool validObject(const TdsObject& object, std::string* error) {
  if (!validName(object.name, "object", error)) return false;
  size_t vertexCount = object.vertices.size() / 3;
  size_t faceCount = object.faces.size() / 3;
  if (object.vertices.size() % 3 != 0 || object.faces.size() % 3 != 0) {
    *error = "object '" + object.name + "': vertex or face array not a multiple of 3";
    return false;
  }
  if (vertexCount > 65535 || faceCount > 65535) {
    *error = "object '" + object.name + "': more than 65535 vertices or faces";
    return false;
  }
  if (!object.texCoords.empty() && object.texCoords.size() != 2 * vertexCount) {
    *error = "object '" + object.name + "': texture coordinates are not one pair per vertex";
    return false;
  }
  for (uint16_t index : object.faces) {
    if (index >= vertexCount) {
      *error = "object '" + object.name + "': vertex index out of range";
      return false;
    }
  }
  for (const TdsGroup& group : object.groups) {
    if (!validName(group.material, "material", error)) return false;
    if (group.faces.size() > 65535) {
      *error = "object '" + object.name + "': group with more than 65535 faces";
      return false;
    }
    for (uint16_t face : group.faces) {
      if (face >= faceCount) {
        *error = "object '" + object.name + "': group face number out of range";
        return false;
      }
    }
  }
  return true;
}

void writeMaterial(ChunkBuffer& out, const TdsMaterial& material) {
  out.begin(0xAFFF);
  out.begin(0xA000);
  out.text(material.name);
  out.end();
  out.begin(0xA020);
  if (material.floatColor) {
    out.begin(0x0010);
    for (float c : material.color) out.f32(c);
  } else {
    out.begin(0x0011);
    for (float c : material.color) out.u8(colorByte(c));
  }
  out.end();
  out.end();
  if (!material.mapFile.empty()) {
    out.begin(0xA200);
    out.begin(0xA300);
    out.text(material.mapFile);
    out.end();
    out.end();
  }
  out.end();
}

void writeObject(ChunkBuffer& out, const TdsObject& object) {
  out.begin(0x4000);
  out.text(object.name);
  out.begin(0x4100);

  out.begin(0x4110);
  out.u16(static_cast<uint16_t>(object.vertices.size() / 3));
  for (float v : object.vertices) out.f32(v);
  out.end();

  if (!object.texCoords.empty()) {
    out.begin(0x4140);
    out.u16(static_cast<uint16_t>(object.texCoords.size() / 2));
    for (float t : object.texCoords) out.f32(t);
    out.end();
  }

  out.begin(0x4120);
  out.u16(static_cast<uint16_t>(object.faces.size() / 3));
  for (size_t f = 0; f < object.faces.size(); f += 3) {
    out.u16(object.faces[f]);
    out.u16(object.faces[f + 1]);
    out.u16(object.faces[f + 2]);
    out.u16(0x0007);  // edge visibility flags: all three edges visible
  }
  for (const TdsGroup& group : object.groups) {
    out.begin(0x4130);
    out.text(group.material);
    out.u16(static_cast<uint16_t>(group.faces.size()));
    for (uint16_t face : group.faces) out.u16(face);
    out.end();
  }
  out.end();

  out.end();
  out.end();
}

}  // namespace

uint8_t colorByte(float component) {
  if (!(component > 0.0f)) return 0;
  if (component >= 1.0f) return 255;
  return static_cast<uint8_t>(std::lround(component * 255.0f));
}

std::vector<uint8_t> writeTds(const TdsModel& model, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  for (const TdsMaterial& material : model.materials) {
    if (!validName(material.name, "material", error)) return {};
    if (!validName(material.mapFile, "map file", error)) return {};
  }
  for (const TdsObject& object : model.objects) {
    if (!validObject(object, error)) return {};
  }

  ChunkBuffer out;
  out.begin(0x4D4D);
  out.begin(0x3D3D);
  for (const TdsMaterial& material : model.materials) writeMaterial(out, material);
  for (const TdsObject& object : model.objects) writeObject(out, object);
  out.end();
  out.end();
  return out.bytes;
}
