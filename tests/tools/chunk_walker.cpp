#include "tests/tools/chunk_walker.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

// Chunks whose data is only sub-chunks, or a fixed part then sub-chunks.
bool isContainer(uint16_t id) {
  switch (id) {
    case 0x4D4D: case 0x3D3D: case 0x4000: case 0x4100: case 0x4120:
    case 0xAFFF: case 0xA020: case 0xA200:
      return true;
  }
  return false;
}

struct Cursor {
  const std::vector<uint8_t>& bytes;
  size_t at;
  size_t end;
  bool ok = true;

  bool need(size_t n) {
    if (at + n > end) ok = false;
    return ok;
  }
  uint8_t u8() { return need(1) ? bytes[at++] : 0; }
  uint16_t u16() {
    if (!need(2)) return 0;
    uint16_t v = static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
    at += 2;
    return v;
  }
  uint32_t u32() {
    uint32_t lo = u16();
    return lo | static_cast<uint32_t>(u16()) << 16;
  }
  float f32() {
    uint32_t bits = u32();
    float f;
    memcpy(&f, &bits, 4);
    return f;
  }
  std::string text() {
    std::string s;
    while (ok) {
      uint8_t c = u8();
      if (!ok || c == 0) break;
      s += static_cast<char>(c);
    }
    return s;
  }
};

// Length of the fixed part at the start of a container's data.
size_t fixedPart(const std::vector<uint8_t>& bytes, uint16_t id, size_t data, size_t end) {
  Cursor c{bytes, data, end};
  if (id == 0x4000) c.text();
  if (id == 0x4120) {
    uint16_t n = c.u16();
    c.need(8u * n);
    c.at += 8u * n;
  }
  return c.ok ? c.at - data : end - data + 1;
}

bool walkChunk(const std::vector<uint8_t>& bytes, size_t offset, size_t parentEnd, WalkedChunk* chunk,
               std::string* error) {
  Cursor c{bytes, offset, parentEnd};
  chunk->id = c.u16();
  uint32_t length = c.u32();
  chunk->offset = offset;
  if (!c.ok || length < 6 || offset + length > parentEnd) {
    char text[96];
    snprintf(text, sizeof text, "chunk 0x%04X at %zu: length %u does not fit", chunk->id, offset, length);
    *error = text;
    return false;
  }
  chunk->end = offset + length;
  if (!isContainer(chunk->id)) return true;
  size_t fixed = fixedPart(bytes, chunk->id, offset + 6, chunk->end);
  if (offset + 6 + fixed > chunk->end) {
    *error = "fixed part overruns its chunk";
    return false;
  }
  for (size_t at = offset + 6 + fixed; at < chunk->end;) {
    WalkedChunk child;
    if (!walkChunk(bytes, at, chunk->end, &child, error)) return false;
    at = child.end;
    chunk->children.push_back(child);
  }
  return true;
}

void readMaterial(const std::vector<uint8_t>& bytes, const WalkedChunk& chunk, WalkedMaterial* m) {
  for (const WalkedChunk& sub : chunk.children) {
    Cursor c{bytes, sub.offset + 6, sub.end};
    if (sub.id == 0xA000) m->name = c.text();
    if (sub.id == 0xA020) {
      for (const WalkedChunk& colour : sub.children) {
        Cursor cc{bytes, colour.offset + 6, colour.end};
        m->colorChunks.push_back(colour.id);
        for (int k = 0; k < 3; ++k) {
          if (colour.id == 0x0011) m->color[k] = cc.u8();
          if (colour.id == 0x0010) m->color[k] = static_cast<uint8_t>(static_cast<int>(cc.f32() * 255.0f));
        }
      }
    }
    if (sub.id == 0xA200) {
      for (const WalkedChunk& map : sub.children) {
        Cursor cm{bytes, map.offset + 6, map.end};
        if (map.id == 0xA300) m->mapFile = cm.text();
      }
    }
  }
}

void readObject(const std::vector<uint8_t>& bytes, const WalkedChunk& chunk, WalkedObject* o) {
  Cursor name{bytes, chunk.offset + 6, chunk.end};
  o->name = name.text();
  for (const WalkedChunk& mesh : chunk.children) {
    if (mesh.id != 0x4100) continue;
    for (const WalkedChunk& sub : mesh.children) {
      Cursor c{bytes, sub.offset + 6, sub.end};
      if (sub.id == 0x4110) {
        uint16_t n = c.u16();
        for (int i = 0; i < 3 * n; ++i) o->vertices.push_back(c.f32());
      } else if (sub.id == 0x4140) {
        uint16_t n = c.u16();
        for (int i = 0; i < 2 * n; ++i) o->texCoords.push_back(c.f32());
      } else if (sub.id == 0x4120) {
        uint16_t n = c.u16();
        for (int i = 0; i < n; ++i) {
          for (int k = 0; k < 3; ++k) o->faces.push_back(c.u16());
          c.u16();
        }
        for (const WalkedChunk& group : sub.children) {
          if (group.id != 0x4130) continue;
          Cursor g{bytes, group.offset + 6, group.end};
          WalkedGroup wg;
          wg.material = g.text();
          uint16_t count = g.u16();
          for (int i = 0; i < count; ++i) wg.faces.push_back(g.u16());
          o->groups.push_back(wg);
        }
      }
    }
  }
}

}  // namespace

bool walkTds(const std::vector<uint8_t>& bytes, WalkedModel* model, std::string* error) {
  *model = WalkedModel();
  if (!walkChunk(bytes, 0, bytes.size(), &model->root, error)) return false;
  if (model->root.end != bytes.size()) {
    *error = "bytes after the root chunk";
    return false;
  }
  for (const WalkedChunk& editor : model->root.children) {
    if (editor.id != 0x3D3D) continue;
    for (const WalkedChunk& chunk : editor.children) {
      if (chunk.id == 0xAFFF) {
        model->materials.emplace_back();
        readMaterial(bytes, chunk, &model->materials.back());
      } else if (chunk.id == 0x4000) {
        model->objects.emplace_back();
        readObject(bytes, chunk, &model->objects.back());
      }
    }
  }
  return true;
}

std::string describeTree(const WalkedChunk& chunk, int depth) {
  char line[32];
  snprintf(line, sizeof line, "%*s%04X\n", 2 * depth, "", chunk.id);
  std::string s = line;
  for (const WalkedChunk& child : chunk.children) s += describeTree(child, depth + 1);
  return s;
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
